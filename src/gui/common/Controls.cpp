#include "common/Controls.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace scorewell::gui {

namespace {

// The keys of a list grid, answered before the grid's own (Enter would move the current row).
class ListGridKeyFilter : public QObject {
public:
    ListGridKeyFilter(QTableWidget* grid, const ListGridKeys& keys)
        : QObject(grid), grid_(grid), keys_(keys) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const std::function<void()>* run = nullptr;
        if (key->matches(QKeySequence::SelectAll)) {
            grid_->selectAll();
            return true;
        }
        switch (key->key()) {
        case Qt::Key_Insert:
            run = &keys_.insert;
            break;
        case Qt::Key_Delete:
            run = &keys_.remove;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            run = &keys_.open;
            break;
        default:
            return QObject::eventFilter(watched, event);
        }
        if (*run) {
            (*run)();
        }
        return true;
    }

private:
    QTableWidget* grid_;
    ListGridKeys keys_;
};

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

int ComboIndexOf(const QComboBox* combo, const QString& text) {
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i) == text) {
            return i;
        }
    }
    return -1;
}

QPushButton* NewIndexedButton(QWidget* parent, int index, const ButtonDesign& design,
                              int minimumWidth, std::function<void()> run) {
    auto* button = new QPushButton(design.caption, parent);
    button->setObjectName(QString("cmdButton_%1").arg(index));
    if (design.toolTip) {
        button->setToolTip(design.toolTip);
    }
    if (minimumWidth > 0) {
        button->setMinimumWidth(minimumWidth);
    }
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, std::move(run));
    return button;
}

QTableWidget* NewListGrid(const QString& objectName, std::span<const ColumnDesign> columns,
                          const ListGridKeys& keys, QWidget* parent) {
    auto* grid = new QTableWidget(1, static_cast<int>(columns.size()), parent);
    grid->setObjectName(objectName);
    QStringList headers;
    for (const ColumnDesign& column : columns) {
        headers << column.header;
    }
    grid->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < grid->columnCount(); ++c) {
        grid->setColumnWidth(c, Twips(columns[static_cast<std::size_t>(c)].widthTwips));
    }
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setMinimumSectionSize(grid->fontMetrics().height() + 4);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->installEventFilter(new ListGridKeyFilter(grid, keys));
    return grid;
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

void SelectAllOnFocus(QLineEdit* box) {
    box->installEventFilter(new SelectAllFilter(box));
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
