#include "reports/ColumnEditor.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <vector>

#include "common/Controls.h"
#include "desktop/Desktop.h"
#include "reports/ReportColumns.h"
#include "reports/ReportEngine.h"

namespace scorewell::gui {

namespace {

constexpr ButtonDesign kButtons[6] = {
    {"Save"},
    {"Cancel"},
    {"Select All", "Select all columns to be seen"},
    {"Deselect All", "Select all columns to not be seen"},
    {"Up", "Move column up (Ctrl-Up)"},
    {"Down", "Move column down (Ctrl-Down))"},
};

} // namespace

ColumnEditor::ColumnEditor(QWidget* parent) : ModalDialog(parent) {
    setObjectName("frmEditColumns");
    setWindowTitle("Columns");

    auto* caption = new QLabel("Select the columns you want to see:");
    caption->setObjectName("Label1");
    columns_ = new QListWidget;
    columns_->setObjectName("lstColumns");
    columns_->setMinimumSize(Twips(3300), Twips(3600));
    connect(columns_, &QListWidget::currentRowChanged, this, [this] { CurrentChanged(); });
    connect(columns_, &QListWidget::itemChanged, this, [this] { CheckChanged(); });

    buttons_ = NewIndexedButtons(nullptr, kButtons, Twips(1200),
                                 {[this] { SaveColumns(); }, [this] { reject(); },
                                  [this] { SetAll(true); }, [this] { SetAll(false); },
                                  [this] { Move(-1); },
                                  [this] {
                                      Move(1);
                                  }});
    buttons_[Save]->setDefault(true);

    // The window takes these before the list, whose own Ctrl+arrows would move the current
    // entry without the column.
    auto* up = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up), this);
    connect(up, &QShortcut::activated, this, [this] {
        if (columns_->currentRow() > 0) {
            Move(-1);
        }
    });
    auto* down = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down), this);
    connect(down, &QShortcut::activated, this, [this] {
        const int row = columns_->currentRow();
        if (row >= 0 && row < columns_->count() - 1) {
            Move(1);
        }
    });

    auto* side = new QVBoxLayout;
    side->addWidget(buttons_[Save]);
    side->addWidget(buttons_[Cancel]);
    side->addSpacing(Twips(240));
    side->addWidget(buttons_[SelectAll]);
    side->addWidget(buttons_[DeselectAll]);
    side->addSpacing(Twips(240));
    side->addWidget(buttons_[Up]);
    side->addWidget(buttons_[Down]);
    side->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(caption, 0, 0);
    layout->addWidget(columns_, 1, 0);
    layout->addLayout(side, 1, 1);
    layout->setHorizontalSpacing(Twips(120));
}

void ColumnEditor::SetReport(Database& programDb, std::int32_t reportId, const QString& name) {
    database_ = &programDb;
    reportId_ = reportId;
    reportName_ = name;
}

void ColumnEditor::Load() {
    filling_ = true;
    setWindowTitle("Columns for \"" + reportName_ + "\"");
    columns_->clear();
    for (const ReportColumn& column : LoadReportDefinition(*database_, reportId_).columns) {
        auto* entry = new QListWidgetItem(Q(column.caption));
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        entry->setData(Qt::UserRole, column.reportFieldId);
        entry->setCheckState(column.hidden ? Qt::Unchecked : Qt::Checked);
        columns_->addItem(entry);
    }
    columns_->setCurrentRow(0);
    filling_ = false;
    CurrentChanged();
    CheckChanged();
}

void ColumnEditor::CurrentChanged() {
    if (filling_) {
        return;
    }
    const int row = columns_->currentRow();
    buttons_[Up]->setEnabled(row >= 1);
    buttons_[Down]->setEnabled(row >= 0 && row < columns_->count() - 1);
}

void ColumnEditor::CheckChanged() {
    if (filling_) {
        return;
    }
    // A report shows at least one column.
    bool any = false;
    for (int i = 0; i < columns_->count() && !any; ++i) {
        any = columns_->item(i)->checkState() == Qt::Checked;
    }
    buttons_[Save]->setEnabled(any);
}

void ColumnEditor::SetAll(bool checked) {
    const int current = columns_->currentRow();
    for (int i = 0; i < columns_->count(); ++i) {
        columns_->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    columns_->setCurrentRow(current);
}

void ColumnEditor::Move(int step) {
    const int from = columns_->currentRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= columns_->count()) {
        return;
    }
    // The entry itself moves, with its column and check mark, and stays current so the next
    // press moves it on.
    QListWidgetItem* entry = columns_->takeItem(from);
    columns_->insertItem(to, entry);
    columns_->setCurrentRow(to);
    columns_->scrollToItem(entry);
}

void ColumnEditor::SaveColumns() {
    std::vector<ColumnChoice> columns;
    for (int i = 0; i < columns_->count(); ++i) {
        const QListWidgetItem* entry = columns_->item(i);
        columns.push_back({entry->data(Qt::UserRole).toInt(), entry->checkState() == Qt::Checked});
    }
    try {
        SaveReportColumns(*database_, columns);
    } catch (const std::exception& e) {
        ShowMessage(this, "The columns could not be saved: " + Q(e.what()), "Error",
                    MessageIcon::Exclamation);
        return;
    }
    Finish();
}

} // namespace scorewell::gui
