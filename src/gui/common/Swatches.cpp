#include "common/Swatches.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "common/Controls.h"
#include "common/Paths.h"
#include "desktop/Desktop.h"

namespace scorewell::gui {

namespace {

constexpr int kSwatch = Twips(375);

class SelectAllFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            // After the click that brought the focus, which would place the cursor instead.
            auto* box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
        }
        return false;
    }
};

} // namespace

QLabel* NewColorSwatch(const QString& objectName, const QString& toolTip, QObject* clickWatcher) {
    auto* swatch = new QLabel;
    swatch->setObjectName(objectName);
    swatch->setFixedSize(kSwatch, kSwatch);
    swatch->setFrameShape(QFrame::Box);
    swatch->setAutoFillBackground(true);
    swatch->setAlignment(Qt::AlignCenter);
    swatch->setToolTip(toolTip);
    swatch->setCursor(Qt::PointingHandCursor);
    swatch->installEventFilter(clickWatcher);
    return swatch;
}

void ShowSwatchColor(QLabel* swatch, std::int32_t color) {
    const QColor background = ToQColor(color);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, background);
    // A swatch that cannot be chosen now shows its colour faded.
    const QColor face = palette.color(QPalette::Button);
    palette.setColor(QPalette::Disabled, QPalette::Window,
                     QColor((background.red() + face.red()) / 2,
                            (background.green() + face.green()) / 2,
                            (background.blue() + face.blue()) / 2));
    if (!swatch->text().isEmpty()) {
        palette.setColor(QPalette::WindowText,
                         background.lightness() > 140 ? QColor(Qt::black) : QColor(Qt::white));
    }
    swatch->setPalette(palette);
}

QString ChooseBackgroundImage(QWidget* owner, const QString& current) {
    FileDialogRequest request;
    request.filter = "All Files (*.*)|*.*|GIF and JPEG (*.gif, *.jpg)|*.gif;*.jpg|Bitmap "
                     "(*.bmp)|*.bmp|TIFF (*.tif)|*.tif|Windows Metafile (*.wmf)|*.wmf|PCX "
                     "(*.pcx)|*.pcx|Targa (*.tga)|*.tga";
    request.filterIndex = 1;
    request.title = "Select Background Image";
    request.initialFolder = Q(FolderOf(S(current)));
    const QString chosen = TheDesktop().OpenFile(owner, request);
    return chosen.trimmed().isEmpty() ? QString() : chosen;
}

void SelectAllOnFocus(QLineEdit* box) {
    box->installEventFilter(new SelectAllFilter(box));
}

} // namespace scorewell::gui
