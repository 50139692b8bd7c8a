#include "common/Controls.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPalette>
#include <QTableWidget>

#include <algorithm>
#include <climits>

namespace scorewell::gui {

int ComboIndexOf(const QComboBox* combo, const QString& text) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == text) {
            return i;
        }
    }
    return -1;
}

std::pair<int, int> SelectedRowSpan(const QTableWidget* grid) {
    const auto ranges = grid->selectedRanges();
    if (ranges.isEmpty()) {
        const int row = std::max(0, grid->currentRow());
        return {row, row};
    }
    int top = INT_MAX;
    int bottom = -1;
    for (const auto& range : ranges) {
        top = std::min(top, range.topRow());
        bottom = std::max(bottom, range.bottomRow());
    }
    return {top, bottom};
}

std::int32_t RowKey(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* cell = row >= 0 ? grid->item(row, column) : nullptr;
    return cell ? cell->data(Qt::UserRole).toInt() : 0;
}

GridKey GridKeyOf(const QKeyEvent* key) {
    if (key->matches(QKeySequence::SelectAll)) {
        return GridKey::SelectAll;
    }
    switch (key->key()) {
    case Qt::Key_Insert:
        return GridKey::Insert;
    case Qt::Key_Delete:
        return GridKey::Delete;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return GridKey::Enter;
    default:
        return GridKey::None;
    }
}

QColor ToQColor(std::int32_t color) {
    if (color < 0) {
        const QPalette palette = QApplication::palette();
        switch (color & 0xff) {
        case 5: // window background
            return palette.color(QPalette::Base);
        case 8:  // window text
        case 18: // button text
            return palette.color(QPalette::Text);
        case 13: // highlight
            return palette.color(QPalette::Highlight);
        case 14: // highlighted text
            return palette.color(QPalette::HighlightedText);
        default: // button face and the rest
            return palette.color(QPalette::Button);
        }
    }
    return QColor(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff);
}

std::int32_t FromQColor(const QColor& color) {
    return static_cast<std::int32_t>(color.red() | (color.green() << 8) | (color.blue() << 16));
}

} // namespace scorewell::gui
