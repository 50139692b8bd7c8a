#include "common/ColorSwatch.h"

#include <QMouseEvent>

#include "common/Controls.h"
#include "desktop/Desktop.h"

namespace scorewell::gui {

namespace {

constexpr int kSwatch = Twips(375);

} // namespace

ColorSwatch::ColorSwatch(const QString& objectName, const QString& toolTip, QWidget* parent)
    : QLabel(parent) {
    setObjectName(objectName);
    setFixedSize(kSwatch, kSwatch);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setAlignment(Qt::AlignCenter);
    setToolTip(toolTip);
    setCursor(Qt::PointingHandCursor);
    SetColor(0);
}

void ColorSwatch::SetColor(std::int32_t color) {
    color_ = color;
    const QColor background = ToQColor(color);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    const QColor face = colours.color(QPalette::Button);
    colours.setColor(QPalette::Disabled, QPalette::Window,
                     QColor((background.red() + face.red()) / 2,
                            (background.green() + face.green()) / 2,
                            (background.blue() + face.blue()) / 2));
    if (!text().isEmpty()) {
        colours.setColor(QPalette::WindowText,
                         background.lightness() > 140 ? QColor(Qt::black) : QColor(Qt::white));
    }
    setPalette(colours);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
    SetColor(TheDesktop().ChooseColor(this, color_));
    event->accept();
}

} // namespace scorewell::gui
