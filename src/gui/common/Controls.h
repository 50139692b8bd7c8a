#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace scorewell::gui {

// Sizes of the window designs are in twips, 15 to a pixel.
constexpr int Twips(int twips) {
    return (twips + 7) / 15;
}

// The index of the first item equal to text (exact, letter case counts); -1 when none.
int ComboIndexOf(const QComboBox* combo, const QString& text);

// A button of a window's indexed row of buttons.
struct ButtonDesign {
    const char* caption;
    const char* toolTip = nullptr;
};

// The button cmdButton_<index>, which runs run when clicked. It is not the window's default
// button; the window makes one so where it has one. Its place in the focus order is taken when
// it gets its parent: here, or (parent nullptr) when the window's layout places it.
QPushButton* NewIndexedButton(QWidget* parent, int index, const ButtonDesign& design,
                              int minimumWidth, std::function<void()> run);

// The buttons cmdButton_0 to cmdButton_<N - 1>, as NewIndexedButton makes them, each running
// its command.
template <std::size_t N>
std::array<QPushButton*, N> NewIndexedButtons(QWidget* parent, const ButtonDesign (&designs)[N],
                                              int minimumWidth,
                                              const std::array<std::function<void()>, N>& runs) {
    std::array<QPushButton*, N> buttons{};
    for (std::size_t i = 0; i < N; ++i) {
        buttons[i] =
            NewIndexedButton(parent, static_cast<int>(i), designs[i], minimumWidth, runs[i]);
    }
    return buttons;
}

// A column of a list grid: its header, width and alignment as the window lays it out.
struct ColumnDesign {
    const char* header;
    int widthTwips;
    Qt::Alignment alignment;
};

// What the keys of a list grid do, each only while the grid has the focus: Insert adds a
// record, Delete removes the selected ones, Enter opens the selected one. Ctrl+A selects every
// row.
struct ListGridKeys {
    std::function<void()> insert;
    std::function<void()> remove;
    std::function<void()> open;
};

// A list grid: one record a row, whole rows selected in one contiguous run, nothing edited in
// place, the record's key in its first cell (RowKey); headers and widths as the columns give them.
QTableWidget* NewListGrid(const QString& objectName, std::span<const ColumnDesign> columns,
                          const ListGridKeys& keys, QWidget* parent);

// The first and last row of a grid's selection; the current row when nothing is selected.
std::pair<int, int> SelectedRowSpan(const QTableWidget* grid);

// The record key a grid row keeps in its cell of column (Qt::UserRole); 0 for the empty row.
std::int32_t RowKey(const QTableWidget* grid, int row, int column);

// The box selects its whole text whenever it receives the focus.
void SelectAllOnFocus(QLineEdit* box);

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
