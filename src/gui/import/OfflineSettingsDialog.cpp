#include "import/OfflineSettingsDialog.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/LeagueCommands.h"
#include "common/Controls.h"
#include "data/League.h"
#include "desktop/Desktop.h"

namespace scorewell::gui {

namespace {

constexpr ColumnDesign kColumns[] = {
    {"", 300, Qt::AlignCenter},
    {"", 2200, Qt::AlignLeft | Qt::AlignVCenter},
};

constexpr ButtonDesign kButtons[2] = {{"Cancel"}, {"Save"}};

struct MoveDesign {
    QStyle::StandardPixmap arrow;
    const char* toolTip;
};

constexpr MoveDesign kMoves[2] = {
    {QStyle::SP_ArrowUp, "Make item(s) a higher priority"},
    {QStyle::SP_ArrowDown, "Make item(s) a lower priority"},
};

} // namespace

OfflineSettingsDialog::OfflineSettingsDialog(QWidget* parent) : ModalDialog(parent) {
    setObjectName("frmOfflineSettings");
    setWindowTitle("Offline League Settings");

    auto* note = new QLabel("When merging STNs for offline leagues, the finishing position of "
                            "drivers will be determined by the following order of criteria.",
                            this);
    note->setObjectName("Label1");
    note->setWordWrap(true);

    grid_ = NewListGrid("fgPriorities", kColumns, {}, this);
    grid_->setRowCount(0);
    grid_->horizontalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setMinimumSize(Twips(2560), Twips(1500));
    connect(grid_, &QTableWidget::itemSelectionChanged, this, [this] { UpdateMoveButtons(); });

    auto* moves = new QVBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString("cmdMove_%1").arg(i));
        button->setIcon(style()->standardIcon(kMoves[i].arrow));
        button->setToolTip(kMoves[i].toolTip);
        button->setAutoDefault(false);
        button->setFixedSize(Twips(480), Twips(480));
        const MoveDirection direction = i == 0 ? MoveDirection::Up : MoveDirection::Down;
        connect(button, &QPushButton::clicked, this, [this, direction] { Move(direction); });
        moves->addWidget(button);
        moves_[static_cast<std::size_t>(i)] = button;
    }
    moves->addStretch(1);

    buttons_ = NewIndexedButtons(this, kButtons, Twips(1095),
                                 {[this] { reject(); },
                                  [this] {
                                      SaveAndClose();
                                  }});
    buttons_[Save]->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(buttons_[Save]);
    buttons->addWidget(buttons_[Cancel]);

    auto* layout = new QGridLayout(this);
    layout->addWidget(note, 0, 0, 1, 2);
    layout->addWidget(grid_, 1, 0);
    layout->addLayout(moves, 1, 1);
    layout->addLayout(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(1, 1);
    note->setMinimumWidth(Twips(3400));
}

bool OfflineSettingsDialog::Load() {
    try {
        criteria_ = LoadRankCriteria(league_->Db());
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return false;
    }
    ShowCriteria(0, 0);
    adjustSize();
    return true;
}

void OfflineSettingsDialog::ShowCriteria(int first, int last) {
    const QSignalBlocker quiet(grid_);
    grid_->clearSelection();
    grid_->setRowCount(static_cast<int>(criteria_.size()));
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const RankCriterion& criterion = criteria_[static_cast<std::size_t>(row)];
        auto* number = new QTableWidgetItem(QString::number(row + 1));
        number->setTextAlignment(kColumns[0].alignment);
        number->setData(Qt::UserRole, criterion.id);
        // The priority number stands in a column of its own, drawn as the grid's fixed one.
        number->setBackground(palette().button());
        grid_->setItem(row, 0, number);
        auto* name = new QTableWidgetItem(Q(criterion.name));
        name->setTextAlignment(kColumns[1].alignment);
        grid_->setItem(row, 1, name);
    }
    if (grid_->rowCount() > 0) {
        grid_->setCurrentCell(first, 1, QItemSelectionModel::NoUpdate);
        grid_->setRangeSelected(QTableWidgetSelectionRange(first, 0, last, 1), true);
    }
    UpdateMoveButtons();
}

void OfflineSettingsDialog::UpdateMoveButtons() {
    // The whole block must be able to move.
    const int rows = grid_->rowCount();
    const auto [first, last] = SelectedRowSpan(grid_);
    moves_[0]->setEnabled(rows > 0 && first > 0);
    moves_[1]->setEnabled(rows > 0 && last < rows - 1);
}

void OfflineSettingsDialog::Move(MoveDirection direction) {
    if (grid_->rowCount() == 0) {
        return;
    }
    const auto [first, last] = SelectedRowSpan(grid_);
    if (!MoveBlock(criteria_, static_cast<std::size_t>(first), static_cast<std::size_t>(last),
                   direction)) {
        return;
    }
    const int step = direction == MoveDirection::Up ? -1 : 1;
    ShowCriteria(first + step, last + step);
    changed_ = true;
    buttons_[Save]->setEnabled(true);
}

void OfflineSettingsDialog::SaveAndClose() {
    if (changed_) {
        try {
            SaveRankCriteria(*league_, criteria_);
        } catch (const std::exception& e) {
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
            return;
        }
        changed_ = false;
    }
    Finish();
}

void OfflineSettingsDialog::reject() {
    if (changed_) {
        switch (ShowMessage(this, "Do you want to save the changes you've made?",
                            "Unsaved Information", MessageIcon::Question,
                            MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            SaveAndClose();
            return;
        case MessageAnswer::No:
            break;
        default:
            return;
        }
    }
    ModalDialog::reject();
}

void ShowOfflineSettings(LeagueCommandContext& context) {
    OfflineSettingsDialog dialog(context.owner);
    dialog.SetLeague(context.league);
    if (dialog.Load()) {
        TheDesktop().ShowModal(&dialog);
    }
}

} // namespace scorewell::gui
