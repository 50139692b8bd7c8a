#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace scorewell::gui {

class ColorSwatch;

// The page style both the Options dialog and the export dialog edit: the five page colours
// (lblColor_0 to lblColor_4: background, text, hyperlink, visited and active hyperlink) and the
// background image (chkBGImage, txtBGImage, cmdBGImage).
class PageStyleEditor : public QWidget {
    Q_OBJECT

public:
    // Options shows the defaults for new leagues: small swatches captioned beside them, under the
    // image. Export shows a page's style: wide swatches that carry their names, above the image.
    enum class Look { Options, Export };

    explicit PageStyleEditor(Look look, QWidget* parent = nullptr);

    void SetBackgroundImage(bool use, const QString& file);
    bool UsesBackgroundImage() const;
    QString BackgroundImage() const;
    // Colours are 0x00BBGGRR.
    void SetPageColors(const std::array<std::int32_t, 5>& colors);
    std::array<std::int32_t, 5> PageColors() const;

private:
    void UseImageChanged();
    void ChooseImage();

    QCheckBox* useImage_ = nullptr;
    QLineEdit* image_ = nullptr;
    QPushButton* browse_ = nullptr;
    std::array<ColorSwatch*, 5> swatches_{};
};

} // namespace scorewell::gui
