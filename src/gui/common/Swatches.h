#pragma once

#include <QString>

#include <cstdint>

class QLabel;
class QLineEdit;
class QObject;
class QWidget;

namespace scorewell::gui {

// A colour swatch: a framed square label whose background is the colour. The window watching
// clicks gets the label's mouse events through its event filter.
QLabel* NewColorSwatch(const QString& objectName, const QString& toolTip, QObject* clickWatcher);
// Colours are 0x00BBGGRR; a caption on the swatch stays readable on any of them.
void ShowSwatchColor(QLabel* swatch, std::int32_t color);

// The file dialog of the background image boxes, starting in the folder of the current image.
// The chosen file, or empty when none was chosen.
QString ChooseBackgroundImage(QWidget* owner, const QString& current);

// The box selects its whole text whenever it receives the focus.
void SelectAllOnFocus(QLineEdit* box);

} // namespace scorewell::gui
