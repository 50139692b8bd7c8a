#include "editing/DriverListWindow.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "app/LeagueCommands.h"
#include "common/Controls.h"
#include "data/League.h"
#include "desktop/Desktop.h"
#include "editing/DriverEditor.h"
#include "editing/DriverRoster.h"
#include "scoring/Recalculation.h"

namespace scorewell::gui {

namespace {

enum Column { kDriver, kExcluded };

constexpr ColumnDesign kGridColumns[] = {
    {"Driver", 3130, Qt::AlignLeft | Qt::AlignVCenter},
    {"Excluded?", 850, Qt::AlignCenter},
};

constexpr ButtonDesign kButtonDesigns[] = {
    {"&Edit", "Edit this driver"},
    {"&Add", "Add a new driver"},
    {"&Remove", "Remove this driver"},
    {"&Include", "Include this driver"},
    {"E&xclude", "Exclude this driver"},
    {"Close", "Close this dialog"},
    {"Remove Excluded Results", "Remove the results of all excluded drivers and recalculate"},
};

// Names sort as people read them, without regard to letter case.
class TextItem : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem& other) const override {
        return text().compare(other.text(), Qt::CaseInsensitive) < 0;
    }
};

QString YesNo(bool value) {
    return value ? "Yes" : "No";
}

} // namespace

DriverListWindow::DriverListWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDriverList");
    setWindowTitle("Driver List");

    grid_ = NewListGrid("fgDList", kGridColumns,
                        {[this] { AddDriver(); }, [this] { RemoveSelected(false); },
                         [this] {
                             EditSelected();
                         }},
                        this);
    for (int c = 0; c < 2; ++c) {
        grid_->horizontalHeaderItem(c)->setTextAlignment(kGridColumns[c].alignment);
    }
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid_->setMinimumSize(Twips(3130 + 850 + 400), Twips(4200));
    connect(grid_, &QTableWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (!Empty()) {
            EditDriver(row);
        }
    });
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (QApplication::keyboardModifiers() == Qt::NoModifier) {
            SortBy(column);
        }
    });

    buttons_ = NewIndexedButtons(this, kButtonDesigns, Twips(1095),
                                 {[this] { EditSelected(); }, [this] { AddDriver(); },
                                  [this] { RemoveSelected(false); },
                                  [this] { SetSelectedExcluded(false); },
                                  [this] { SetSelectedExcluded(true); }, [this] { accept(); },
                                  [this] {
                                      RemoveExcludedResults();
                                  }});

    auto* count = new QLabel("Count:", this);
    count->setObjectName("Label1");
    countLabel_ = new QLabel("0", this);
    countLabel_->setObjectName("lblNumDrivers");

    auto* side = new QVBoxLayout;
    for (Button b : {Edit, Add, Remove, Include, Exclude}) {
        side->addWidget(buttons_[b]);
    }
    side->addStretch(1);
    side->addWidget(buttons_[Close]);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(count);
    bottom->addWidget(countLabel_);
    bottom->addStretch(1);
    bottom->addWidget(buttons_[RemoveExcluded]);

    auto* layout = new QGridLayout(this);
    layout->addWidget(grid_, 0, 0);
    layout->addLayout(side, 0, 1);
    layout->addLayout(bottom, 1, 0);
    layout->setColumnStretch(0, 1);
}

bool DriverListWindow::Load(League& league) {
    league_ = &league;
    std::vector<RosterDriver> drivers;
    try {
        drivers = ListRoster(league.Db());
    } catch (const std::exception& e) {
        ShowError(e);
        return false;
    }
    grid_->setSortingEnabled(false);
    grid_->clearContents();
    count_ = static_cast<int>(drivers.size());
    grid_->setRowCount(std::max(1, count_));
    for (int r = 0; r < count_; ++r) {
        const DriverRow& d = drivers[static_cast<std::size_t>(r)].driver;
        SetRow(r, d.driverId, Q(d.name), d.exclude);
    }
    if (count_ == 0) {
        SetEmptyRow(0);
    }
    EnableDriverButtons(count_ > 0);
    ShowCount();
    SelectRow(0);
    return true;
}

void DriverListWindow::SetRow(int row, std::int32_t driverId, const QString& name, bool excluded) {
    auto* nameCell = new TextItem(name);
    nameCell->setData(Qt::UserRole, driverId);
    nameCell->setTextAlignment(kGridColumns[kDriver].alignment);
    grid_->setItem(row, kDriver, nameCell);
    auto* excludedCell = new QTableWidgetItem(YesNo(excluded));
    excludedCell->setTextAlignment(kGridColumns[kExcluded].alignment);
    grid_->setItem(row, kExcluded, excludedCell);
}

void DriverListWindow::SetEmptyRow(int row) {
    grid_->setItem(row, kDriver, new QTableWidgetItem);
    grid_->setItem(row, kExcluded, new QTableWidgetItem);
}

void DriverListWindow::ShowCount() {
    countLabel_->setText(QString::number(count_));
}

void DriverListWindow::EnableDriverButtons(bool enable) {
    for (Button b : {Edit, Remove, Include, Exclude}) {
        buttons_[b]->setEnabled(enable);
    }
}

bool DriverListWindow::Empty() const {
    return count_ == 0;
}

std::int32_t DriverListWindow::RowID(int row) const {
    return RowKey(grid_, row, kDriver);
}

void DriverListWindow::SelectionChanged() {
    const auto [top, bottom] = SelectedRowSpan(grid_);
    buttons_[Edit]->setEnabled(!Empty() && top == bottom);
}

void DriverListWindow::SelectRow(int row) {
    grid_->setCurrentCell(row, kDriver);
    grid_->selectRow(row);
    SelectionChanged();
}

void DriverListWindow::EditSelected() {
    const auto [top, bottom] = SelectedRowSpan(grid_);
    if (!Empty() && top == bottom) {
        EditDriver(top);
    }
}

void DriverListWindow::EditDriver(int row) {
    DriverEditor editor(this);
    editor.SetLeague(*league_);
    editor.PrepareEdit(RowID(row));
    TheDesktop().ShowModal(&editor);
    if (editor.Cancelled()) {
        return;
    }
    if (editor.Merged()) {
        SelectRow(row);
        RemoveSelected(true);
        for (int r = 0; r < grid_->rowCount(); ++r) {
            if (RowID(r) == editor.DriverID()) {
                SelectRow(r);
                break;
            }
        }
        return;
    }
    SetRow(row, editor.DriverID(), editor.DriverName().trimmed(), editor.Excluded());
}

void DriverListWindow::AddDriver() {
    DriverEditor editor(this);
    editor.SetLeague(*league_);
    editor.PrepareAdd();
    TheDesktop().ShowModal(&editor);
    if (editor.Cancelled()) {
        return;
    }
    // The new driver goes last, unsorted; he takes the place of the empty row of an empty list.
    int row = grid_->rowCount();
    if (Empty()) {
        row = 0;
    } else {
        grid_->insertRow(row);
    }
    SetRow(row, editor.DriverID(), editor.DriverName().trimmed(), editor.Excluded());
    ++count_;
    EnableDriverButtons(true);
    ShowCount();
    SelectRow(row);
}

void DriverListWindow::RemoveSelected(bool silent) {
    if (Empty()) {
        return;
    }
    const auto [top, bottom] = SelectedRowSpan(grid_);
    if (!silent) {
        const QString question =
            top == bottom ? "Removing this driver will also remove the points associated with "
                            "the driver."
                          : "Removing these drivers will also remove the points associated "
                            "with these drivers.";
        if (ShowMessage(this, question + "\r\nDo you want to continue?", "Confirm Driver Removal",
                        MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
            return;
        }
        std::vector<std::int32_t> ids;
        for (int row = bottom; row >= top; --row) {
            ids.push_back(RowID(row));
        }
        try {
            BusyPointer busy;
            RemoveDrivers(*league_, ids);
        } catch (const std::exception& e) {
            ShowError(e);
            return;
        }
    }
    for (int row = bottom; row >= top; --row) {
        if (count_ == 1) {
            SetEmptyRow(row);
            EnableDriverButtons(false);
        } else {
            grid_->removeRow(row);
        }
        --count_;
    }
    ShowCount();
    SelectRow(std::min(top, grid_->rowCount() - 1));
}

void DriverListWindow::SetSelectedExcluded(bool exclude) {
    if (Empty()) {
        return;
    }
    const auto [top, bottom] = SelectedRowSpan(grid_);
    std::vector<std::int32_t> ids;
    for (int row = top; row <= bottom; ++row) {
        ids.push_back(RowID(row));
    }
    try {
        SetExcludedById(league_->Db(), ids, exclude);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    for (int row = top; row <= bottom; ++row) {
        grid_->item(row, kExcluded)->setText(YesNo(exclude));
    }
}

void DriverListWindow::RemoveExcludedResults() {
    try {
        BusyPointer busy;
        scorewell::RemoveExcludedResults(*league_);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    ShowMessage(this,
                "The results of excluded drivers have been removed from all races,\r\nand the "
                "remaining results have been recalculated.",
                "Process Completed", MessageIcon::Information);
}

void DriverListWindow::SortBy(int column) {
    if (Empty()) {
        return;
    }
    int& order = sortOrder_[static_cast<std::size_t>(column)];
    order = order == 1 ? 2 : 1;
    grid_->sortItems(column, order == 1 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void DriverListWindow::ShowError(const std::exception& e) {
    ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
}

void ShowDriverListWindow(LeagueCommandContext& context) {
    DriverListWindow window(context.owner);
    if (window.Load(context.league)) {
        TheDesktop().ShowModal(&window);
    }
}

} // namespace scorewell::gui
