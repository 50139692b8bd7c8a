#include "editing/AdjustmentsWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/LeagueCommands.h"
#include "common/Controls.h"
#include "data/League.h"
#include "desktop/Desktop.h"
#include "editing/AdjustmentEditor.h"
#include "editing/Adjustments.h"

namespace scorewell::gui {

namespace {

enum Column { kDriver, kRace, kPoints, kReason, kEntered, kColumns };

constexpr ColumnDesign kGridColumns[kColumns] = {
    {"Driver", 2500, Qt::AlignLeft | Qt::AlignVCenter},
    {"Race", 2500, Qt::AlignLeft | Qt::AlignVCenter},
    {"Points", 700, Qt::AlignCenter},
    {"Reason", 4500, Qt::AlignLeft | Qt::AlignVCenter},
    {"Date", 1200, Qt::AlignCenter},
};

constexpr ButtonDesign kButtons[4] = {{"&Add..."}, {"&Edit..."}, {"&Remove"}, {"Close"}};

} // namespace

AdjustmentsWindow::AdjustmentsWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAdjustments");
    setWindowTitle("Penalties and Adjustments");

    ListGridKeys keys;
    keys.insert = [this] {
        AddAdjustment();
    };
    keys.remove = [this] {
        if (buttons_[Remove]->isEnabled()) {
            RemoveAdjustment();
        }
    };
    keys.open = [this] {
        if (buttons_[Edit]->isEnabled()) {
            EditAdjustment();
        }
    };
    grid_ = NewListGrid("fgAdjustments", kGridColumns, keys, this);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->horizontalHeader()->setStretchLastSection(false);
    grid_->setMinimumSize(Twips(11800), Twips(3600));
    connect(grid_, &QTableWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int, int) {
        if (buttons_[Edit]->isEnabled()) {
            EditAdjustment();
        }
    });

    buttons_ = NewIndexedButtons(nullptr, kButtons, Twips(1095),
                                 {[this] { AddAdjustment(); }, [this] { EditAdjustment(); },
                                  [this] { RemoveAdjustment(); },
                                  [this] {
                                      accept();
                                  }});

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(Twips(60));
    for (Button b : {Add, Edit, Remove}) {
        buttonRow->addWidget(buttons_[b]);
    }
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons_[Close]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttonRow);
}

void AdjustmentsWindow::Load() {
    FillGrid();
}

void AdjustmentsWindow::FillGrid(std::int32_t current) {
    rows_ = ReadAdjustments(league_->Db());
    grid_->setUpdatesEnabled(false);
    grid_->clearContents();
    grid_->setRowCount(static_cast<int>(rows_.size()));
    int currentRow = 0;
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const AdjustmentRow& row = rows_[static_cast<std::size_t>(r)];
        const QString texts[kColumns] = {Q(row.driver), Q(row.race), Q(SignedPoints(row.points)),
                                         Q(row.reason), Q(row.entered)};
        for (int c = 0; c < kColumns; ++c) {
            auto* cell = new QTableWidgetItem(texts[c]);
            cell->setTextAlignment(kGridColumns[c].alignment);
            grid_->setItem(r, c, cell);
        }
        grid_->item(r, kDriver)->setData(Qt::UserRole, row.adjustmentId);
        if (row.adjustmentId == current) {
            currentRow = r;
        }
    }
    if (!rows_.empty()) {
        grid_->setCurrentCell(currentRow, 0);
        grid_->selectRow(currentRow);
    }
    grid_->setUpdatesEnabled(true);
    SelectionChanged();
}

const AdjustmentRow* AdjustmentsWindow::CurrentRow() const {
    const std::int32_t id = RowKey(grid_, grid_->currentRow(), kDriver);
    for (const AdjustmentRow& row : rows_) {
        if (row.adjustmentId == id) {
            return &row;
        }
    }
    return nullptr;
}

void AdjustmentsWindow::SelectionChanged() {
    const bool any = CurrentRow() != nullptr && !grid_->selectedItems().isEmpty();
    buttons_[Edit]->setEnabled(any);
    buttons_[Remove]->setEnabled(any);
}

void AdjustmentsWindow::AddAdjustment() {
    AdjustmentEditor editor(this);
    editor.setWindowTitle("Add Adjustment");
    std::int32_t added = 0;
    try {
        editor.SetLeague(*league_);
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return;
    }
    editor.SetSave([&](const AdjustmentEntry& entry) {
        added = scorewell::AddAdjustment(league_->Db(), entry);
    });
    TheDesktop().ShowModal(&editor);
    if (!editor.Cancelled()) {
        changed_ = true;
        FillGrid(added);
    }
}

void AdjustmentsWindow::EditAdjustment() {
    const AdjustmentRow* row = CurrentRow();
    if (!row) {
        return;
    }
    const std::int32_t id = row->adjustmentId;
    AdjustmentEditor editor(this);
    editor.setWindowTitle("Edit Adjustment");
    try {
        editor.SetLeague(*league_);
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return;
    }
    editor.SetEntry({row->driver, row->raceId, std::to_string(row->points), row->reason});
    editor.SetSave(
        [&](const AdjustmentEntry& entry) { scorewell::EditAdjustment(league_->Db(), id, entry); });
    TheDesktop().ShowModal(&editor);
    if (!editor.Cancelled()) {
        changed_ = true;
        FillGrid(id);
    }
}

void AdjustmentsWindow::RemoveAdjustment() {
    const AdjustmentRow* row = CurrentRow();
    if (!row) {
        return;
    }
    const QString question = QString("Remove the adjustment of %1 points for %2?")
                                 .arg(Q(SignedPoints(row->points)), Quoted(Q(row->driver)));
    if (ShowMessage(this, question, "Remove Adjustment", MessageIcon::Question,
                    MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    const int at = grid_->currentRow();
    try {
        scorewell::RemoveAdjustment(league_->Db(), row->adjustmentId);
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return;
    }
    changed_ = true;
    FillGrid();
    if (grid_->rowCount() > 0) {
        const int next = std::min(at, grid_->rowCount() - 1);
        grid_->setCurrentCell(next, 0);
        grid_->selectRow(next);
    }
}

void ShowAdjustmentsWindow(LeagueCommandContext& context) {
    AdjustmentsWindow window(context.owner);
    window.SetLeague(context.league);
    window.Load();
    TheDesktop().ShowModal(&window);
}

} // namespace scorewell::gui
