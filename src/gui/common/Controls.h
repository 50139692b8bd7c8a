#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>

class QComboBox;

namespace scorewell::gui {

// Sizes of the window designs are in twips, 15 to a pixel.
constexpr int Twips(int twips) {
    return (twips + 7) / 15;
}

// The index of the first item equal to text (exact, letter case counts); -1 when none.
int ComboIndexOf(const QComboBox* combo, const QString& text);

// Colours of the settings are 0x00BBGGRR; values with the top bit set are the desktop's own
// colours (window background, button face...), shown as the palette has them.
QColor ToQColor(std::int32_t color);
std::int32_t FromQColor(const QColor& color);

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string S(const QString& text) {
    return text.toStdString();
}
// A path in double quotes, as messages name files.
inline QString Quoted(const QString& path) {
    return "\"" + path + "\"";
}

} // namespace scorewell::gui
