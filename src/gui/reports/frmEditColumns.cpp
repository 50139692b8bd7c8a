#include "reports/frmEditColumns.h"

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

enum Button { kSave, kCancel, kSelectAll, kDeselectAll, kUp, kDown };

const char* const kCaptions[6] = {"Save", "Cancel", "Select All", "Deselect All", "Up", "Down"};
const char* const kTips[6] = {"",
                              "",
                              "Select all columns to be seen",
                              "Select all columns to not be seen",
                              "Move column up (Ctrl-Up)",
                              "Move column down (Ctrl-Down))"};

} // namespace

frmEditColumns::frmEditColumns(QWidget* parent) : QDialog(parent) {
    setObjectName("frmEditColumns");
    setWindowTitle("Columns");

    Label1 = new QLabel("Select the columns you want to see:");
    Label1->setObjectName("Label1");
    lstColumns = new QListWidget;
    lstColumns->setObjectName("lstColumns");
    lstColumns->setMinimumSize(Twips(3300), Twips(3600));
    connect(lstColumns, &QListWidget::currentRowChanged, this, [this] { lstColumns_Click(); });
    connect(lstColumns, &QListWidget::itemChanged, this, [this] { lstColumns_ItemCheck(); });

    for (int i = 0; i < 6; ++i) {
        cmdButton[i] = new QPushButton(kCaptions[i]);
        cmdButton[i]->setObjectName(QString("cmdButton_%1").arg(i));
        cmdButton[i]->setToolTip(kTips[i]);
        cmdButton[i]->setAutoDefault(false);
        cmdButton[i]->setMinimumWidth(Twips(1200));
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
    }
    cmdButton[kSave]->setDefault(true);

    // The window takes these before the list, whose own Ctrl+arrows would move the current
    // entry without the column.
    auto* up = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up), this);
    connect(up, &QShortcut::activated, this, [this] {
        if (lstColumns->currentRow() > 0) {
            Move(-1);
        }
    });
    auto* down = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down), this);
    connect(down, &QShortcut::activated, this, [this] {
        const int row = lstColumns->currentRow();
        if (row >= 0 && row < lstColumns->count() - 1) {
            Move(1);
        }
    });

    auto* side = new QVBoxLayout;
    side->addWidget(cmdButton[kSave]);
    side->addWidget(cmdButton[kCancel]);
    side->addSpacing(Twips(240));
    side->addWidget(cmdButton[kSelectAll]);
    side->addWidget(cmdButton[kDeselectAll]);
    side->addSpacing(Twips(240));
    side->addWidget(cmdButton[kUp]);
    side->addWidget(cmdButton[kDown]);
    side->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(lstColumns, 1, 0);
    layout->addLayout(side, 1, 1);
    layout->setHorizontalSpacing(Twips(120));
}

void frmEditColumns::Load() {
    filling_ = true;
    setWindowTitle("Columns for \"" + reportName_ + "\"");
    lstColumns->clear();
    for (const ReportColumn& column : LoadReportDefinition(*database_, reportId_).columns) {
        auto* entry = new QListWidgetItem(Q(column.caption));
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        entry->setData(Qt::UserRole, column.reportFieldId);
        entry->setCheckState(column.hidden ? Qt::Unchecked : Qt::Checked);
        lstColumns->addItem(entry);
    }
    lstColumns->setCurrentRow(0);
    filling_ = false;
    lstColumns_Click();
    lstColumns_ItemCheck();
}

void frmEditColumns::cmdButton_Click(int index) {
    switch (index) {
    case kSave:
        Save();
        break;
    case kCancel:
        reject();
        break;
    case kSelectAll:
    case kDeselectAll:
        SetAll(index == kSelectAll);
        break;
    case kUp:
        Move(-1);
        break;
    case kDown:
        Move(1);
        break;
    default:
        break;
    }
}

void frmEditColumns::lstColumns_Click() {
    if (filling_) {
        return;
    }
    const int row = lstColumns->currentRow();
    cmdButton[kUp]->setEnabled(row >= 1);
    cmdButton[kDown]->setEnabled(row >= 0 && row < lstColumns->count() - 1);
}

void frmEditColumns::lstColumns_ItemCheck() {
    if (filling_) {
        return;
    }
    bool any = false;
    for (int i = 0; i < lstColumns->count() && !any; ++i) {
        any = lstColumns->item(i)->checkState() == Qt::Checked;
    }
    cmdButton[kSave]->setEnabled(any);
}

void frmEditColumns::SetAll(bool checked) {
    const int current = lstColumns->currentRow();
    for (int i = 0; i < lstColumns->count(); ++i) {
        lstColumns->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
    lstColumns->setCurrentRow(current);
}

void frmEditColumns::Move(int step) {
    const int from = lstColumns->currentRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= lstColumns->count()) {
        return;
    }
    // The entry itself moves, with its column and check mark, and stays current so the next
    // press moves it on.
    QListWidgetItem* entry = lstColumns->takeItem(from);
    lstColumns->insertItem(to, entry);
    lstColumns->setCurrentRow(to);
    lstColumns->scrollToItem(entry);
}

void frmEditColumns::Save() {
    std::vector<ColumnChoice> columns;
    for (int i = 0; i < lstColumns->count(); ++i) {
        const QListWidgetItem* entry = lstColumns->item(i);
        columns.push_back({entry->data(Qt::UserRole).toInt(), entry->checkState() == Qt::Checked});
    }
    try {
        SaveReportColumns(*database_, columns);
    } catch (const std::exception& e) {
        ShowMessage(this, "The columns could not be saved: " + Q(e.what()), "Error",
                    MessageIcon::Exclamation);
        return;
    }
    cancelled_ = false;
    done(QDialog::Accepted);
}

void frmEditColumns::reject() {
    cancelled_ = true;
    done(QDialog::Rejected);
}

} // namespace scorewell::gui
