#pragma once

#include <QLabel>

#include <cstdint>

namespace scorewell::gui {

// A colour swatch: a framed square label whose background is its colour. A click opens the
// colour dialog on the colour, and the swatch takes what the dialog gives back (the same colour
// when it was cancelled). A disabled swatch shows its colour faded and cannot be chosen.
class ColorSwatch : public QLabel {
    Q_OBJECT

public:
    ColorSwatch(const QString& objectName, const QString& toolTip, QWidget* parent = nullptr);

    // Colours are 0x00BBGGRR; a caption on the swatch stays readable on any of them.
    void SetColor(std::int32_t color);
    std::int32_t Color() const { return color_; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::int32_t color_ = 0;
};

} // namespace scorewell::gui
