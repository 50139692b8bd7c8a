#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <string>
#include <utility>

class QComboBox;
class QKeyEvent;
class QTableWidget;

namespace scorewell::gui {

// Sizes of the window designs are in twips, 15 to a pixel.
constexpr int Twips(int twips) {
    return (twips + 7) / 15;
}

// The index of the first item equal to text (exact, letter case counts); -1 when none.
int ComboIndexOf(const QComboBox* combo, const QString& text);

// The first and last row of a grid's selection; the current row when nothing is selected.
std::pair<int, int> SelectedRowSpan(const QTableWidget* grid);

// The record key a grid row keeps in its cell of column (Qt::UserRole); 0 for the empty row.
std::int32_t RowKey(const QTableWidget* grid, int row, int column);

// What a key pressed in a list grid asks for: the lists answer the same keys.
enum class GridKey { None, SelectAll, Insert, Delete, Enter };
GridKey GridKeyOf(const QKeyEvent* key);

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
