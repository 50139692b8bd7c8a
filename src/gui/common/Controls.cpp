#include "common/Controls.h"

#include <QApplication>
#include <QComboBox>
#include <QPalette>

namespace scorewell::gui {

int ComboIndexOf(const QComboBox* combo, const QString& text) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == text) {
            return i;
        }
    }
    return -1;
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
