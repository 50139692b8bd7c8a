#include "common/Resources.h"

#include <QtCore/qglobal.h>

// The resource initialiser lives in this static library; calling it keeps the linker from
// dropping the pictures.
static void InitScorewellResources() {
    Q_INIT_RESOURCE(scorewell);
}

namespace scorewell::gui {

void InitResources() {
    static const bool done = (InitScorewellResources(), true);
    (void)done;
}

} // namespace scorewell::gui
