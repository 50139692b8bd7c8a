#include "scoring/PointSystemEditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include <memory>

#include "app/LeagueCommands.h"
#include "common/Controls.h"
#include "common/Paths.h"
#include "data/League.h"
#include "desktop/Desktop.h"
#include "import/ProgressWindow.h"
#include "scoring/Recalculation.h"

namespace scorewell::gui {

namespace {

enum Column { kPos, kPoints, kPrizeMoney, kColumns };

constexpr ColumnDesign kGridColumns[kColumns] = {
    {"Pos", 400, Qt::AlignCenter},
    {"Points", 850, Qt::AlignCenter},
    {"Prize Money", 1050, Qt::AlignCenter},
};

constexpr ButtonDesign kButtons[2] = {{"Cancel"}, {"Save"}};
enum Button { Cancel, SaveButton };

// The boxes of the positions frame: caption name, caption, box index.
struct BoxDesign {
    const char* captionName;
    const char* caption;
};
constexpr BoxDesign kBoxDesigns[5] = {
    {"Label1", "Total Positions:"},         {"Label2", "Fill positions"},     {"Label3", "through"},
    {"Label4", "with an initial value of"}, {"Label5", "and an interval of"},
};

constexpr int kShortBox = 3;
constexpr int kPrizeBox = 9;
const char* const kCsvFilter = "Point Table (*.csv)|*.csv";

QLabel* Caption(const char* text, const char* name, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

// A box that takes digits only (typed or pasted), at most maxLength of them, and selects its
// whole text when entered.
QLineEdit* NumberBox(const QString& name, int maxLength, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), box));
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(Twips(kPrizeBox * 120 + 180));
    SelectAllOnFocus(box);
    return box;
}

// The numeric value of a box: its digits, 0 when it has none.
std::int64_t Number(const QLineEdit* box) {
    return box->text().toLongLong();
}

QString CellText(const std::optional<std::int32_t>& cell) {
    return cell ? QString::number(*cell) : QString();
}

QString RacesText(int count) {
    return count == 1 ? "1 race" : QString("%1 races").arg(count);
}

} // namespace

PointSystemEditor::PointSystemEditor(QWidget* parent) : QDialog(parent) {
    setObjectName("frmPointSystem");
    setWindowTitle("Point System");

    for (int i = 0; i < 2; ++i) {
        frames_[i] = new QGroupBox(i == 0 ? "Positions:" : "Bonus Points:", this);
        frames_[i]->setObjectName(QString("fraPoints_%1").arg(i));
    }
    usePositions_ = new QCheckBox("Use custom points for positions", frames_[0]);
    usePositions_->setObjectName("chkUsePositions");
    useBonus_ = new QCheckBox("Use custom bonus points", frames_[1]);
    useBonus_->setObjectName("chkUseBonus");
    for (QCheckBox* box : {usePositions_, useBonus_}) {
        connect(box, &QCheckBox::clicked, this, [this] {
            SetEnabling();
            MarkChanged();
        });
    }

    grid_ = new QTableWidget(0, kColumns, frames_[0]);
    grid_->setObjectName("fgPoints");
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    int width = 2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < kColumns; ++c) {
        auto* header = new QTableWidgetItem(kGridColumns[c].header);
        header->setTextAlignment(kGridColumns[c].alignment);
        grid_->setHorizontalHeaderItem(c, header);
        const int columnWidth = std::max(Twips(kGridColumns[c].widthTwips),
                                         grid_->horizontalHeader()->sectionSizeHint(c));
        grid_->setColumnWidth(c, columnWidth);
        width += columnWidth;
    }
    grid_->setFixedWidth(width);
    grid_->setMinimumHeight(Twips(3900));
    connect(grid_, &QTableWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    auto* selectAll =
        new QShortcut(QKeySequence::SelectAll, grid_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(selectAll, &QShortcut::activated, this, [this] { SelectAllPositions(); });

    for (int i = 0; i < kBoxes; ++i) {
        boxes_[i] = NumberBox(QString("txtPoints_%1").arg(i), kShortBox, frames_[0]);
        connect(boxes_[i], &QLineEdit::editingFinished, this,
                [this, i] { BoxLeft(static_cast<Box>(i)); });
    }
    connect(boxes_[TotalPositions], &QLineEdit::textEdited, this, [this] { MarkChanged(); });

    const char* const columnCaptions[2] = {"Points", "Prize Money"};
    for (int i = 0; i < 2; ++i) {
        columns_[i] = new QRadioButton(columnCaptions[i], frames_[0]);
        columns_[i]->setObjectName(QString("optPoints_%1").arg(i));
        connect(columns_[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                ColumnChosen();
            }
        });
    }
    columns_[0]->setChecked(true);
    fill_ = new QPushButton("Fill", frames_[0]);
    fill_->setObjectName("cmdFill");
    fill_->setAutoDefault(false);
    connect(fill_, &QPushButton::clicked, this, [this] { Fill(); });

    // Positions: the grid on the left, the fill controls beside it.
    auto* fillControls = new QGridLayout;
    fillControls->addWidget(
        Caption(kBoxDesigns[0].caption, kBoxDesigns[0].captionName, boxes_[TotalPositions]), 0, 0);
    fillControls->addWidget(boxes_[TotalPositions], 0, 1);
    fillControls->setRowMinimumHeight(1, Twips(240));
    auto* columnLabel = new QLabel("Column to fill:");
    columnLabel->setObjectName("Label6");
    fillControls->addWidget(columnLabel, 2, 0);
    fillControls->addWidget(columns_[0], 2, 1, 1, 2);
    fillControls->addWidget(columns_[1], 3, 1, 1, 2);
    for (int i = FillFrom; i < kBoxes; ++i) {
        fillControls->addWidget(
            Caption(kBoxDesigns[i].caption, kBoxDesigns[i].captionName, boxes_[i]), 3 + i, 0);
        fillControls->addWidget(boxes_[i], 3 + i, 1);
    }
    fillControls->addWidget(fill_, 8, 1);
    fillControls->setRowStretch(9, 1);
    fillControls->setColumnStretch(2, 1);

    auto* positions = new QVBoxLayout(frames_[0]);
    positions->addWidget(usePositions_);
    auto* positionsBody = new QHBoxLayout;
    positionsBody->addWidget(grid_);
    positionsBody->addSpacing(Twips(240));
    positionsBody->addLayout(fillControls, 1);
    positions->addLayout(positionsBody, 1);

    bonusRow_ = new QWidget(frames_[1]);
    bonusRow_->setObjectName("bonusRow");
    new QGridLayout(bonusRow_);
    auto* bonus = new QVBoxLayout(frames_[1]);
    bonus->addWidget(useBonus_);
    bonus->addWidget(bonusRow_);

    auto* importButton = new QPushButton("&Import...", this);
    importButton->setObjectName("cmdImport");
    importButton->setToolTip("Read the positions from a point table file (CSV)");
    connect(importButton, &QPushButton::clicked, this, [this] { ImportTable(); });
    auto* exportButton = new QPushButton("&Export...", this);
    exportButton->setObjectName("cmdExport");
    exportButton->setToolTip("Write the positions to a point table file (CSV)");
    connect(exportButton, &QPushButton::clicked, this, [this] { ExportTable(); });

    buttons_ = NewIndexedButtons(this, kButtons, Twips(1095),
                                 {[this] { Leave(true); },
                                  [this] {
                                      Leave(false);
                                  }});
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(importButton);
    buttons->addWidget(exportButton);
    buttons->addStretch(1);
    buttons->addWidget(buttons_[SaveButton]);
    buttons->addWidget(buttons_[Cancel]);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frames_[0], 1);
    layout->addWidget(frames_[1]);
    layout->addLayout(buttons);
}

bool PointSystemEditor::Load() {
    loading_ = true;
    try {
        system_ = ReadPointSystem(league_->Db());
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        loading_ = false;
        return false;
    }
    ShowTable();
    grid_->setCurrentCell(0, kPoints);
    grid_->setRangeSelected(QTableWidgetSelectionRange(0, kPoints, 0, kPrizeMoney), true);
    SelectionChanged();
    BuildBonusBoxes();
    usePositions_->setChecked(system_.useCustomPoints);
    useBonus_->setChecked(system_.useCustomBonus);
    SetEnabling();
    changed_ = false;
    buttons_[SaveButton]->setEnabled(false);
    loading_ = false;
    adjustSize();
    return true;
}

void PointSystemEditor::ShowTable() {
    const int rows = static_cast<int>(system_.positions.size());
    grid_->setUpdatesEnabled(false);
    grid_->setRowCount(rows);
    const QBrush fixed = palette().brush(QPalette::Button);
    for (int r = 0; r < rows; ++r) {
        const PositionValues& row = system_.positions[static_cast<std::size_t>(r)];
        const QString texts[kColumns] = {QString::number(r + 1), CellText(row.points),
                                         CellText(row.prizeMoney)};
        for (int c = 0; c < kColumns; ++c) {
            QTableWidgetItem* cell = grid_->item(r, c);
            if (!cell) {
                cell = new QTableWidgetItem;
                cell->setTextAlignment(kGridColumns[c].alignment);
                if (c == kPos) {
                    // The fixed column: shown, never selected.
                    cell->setFlags(Qt::ItemIsEnabled);
                    cell->setBackground(fixed);
                }
                grid_->setItem(r, c, cell);
            }
            cell->setText(texts[c]);
        }
    }
    grid_->setUpdatesEnabled(true);
    boxes_[TotalPositions]->setText(QString::number(rows));
}

void PointSystemEditor::BuildBonusBoxes() {
    auto* layout = static_cast<QGridLayout*>(bonusRow_->layout());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(Twips(120));
    // Element k shows the k-th rule in BonusID order and is stored back to that rule's own
    // BonusID, whatever gaps the identifiers have.
    for (std::size_t k = 0; k < system_.bonuses.size(); ++k) {
        const BonusRulePoints& rule = system_.bonuses[k];
        auto* box = NumberBox(QString("txtBonus_%1").arg(k), kShortBox, bonusRow_);
        box->setFixedWidth(Twips(4 * 120 + 180));
        box->setText(CellText(rule.points));
        connect(box, &QLineEdit::textEdited, this, [this] { MarkChanged(); });
        connect(box, &QLineEdit::editingFinished, this,
                [box] { box->setText(QString::number(Number(box))); });
        auto* label = Caption("", "", box);
        label->setObjectName(QString("lblBonus_%1").arg(k));
        label->setText(Q(rule.name) + ":");
        label->setTextFormat(Qt::PlainText);
        const int column = 3 * static_cast<int>(k);
        layout->addWidget(label, 0, column, Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(box, 0, column + 1);
        layout->setColumnMinimumWidth(column + 2, Twips(120));
        bonusLabels_.push_back(label);
        bonusBoxes_.push_back(box);
    }
    layout->setColumnStretch(3 * static_cast<int>(system_.bonuses.size()), 1);
}

void PointSystemEditor::SetEnabling() {
    // Everything in a frame but its check box and the grid follows the check box.
    for (auto [frame, check] : {std::pair{frames_[0], usePositions_}, {frames_[1], useBonus_}}) {
        for (QWidget* w : frame->findChildren<QWidget*>()) {
            if (w != check && w != grid_ && !grid_->isAncestorOf(w) && w != bonusRow_) {
                w->setEnabled(check->isChecked());
            }
        }
    }
}

void PointSystemEditor::MarkChanged() {
    if (loading_) {
        return;
    }
    changed_ = true;
    buttons_[SaveButton]->setEnabled(true);
}

PointColumn PointSystemEditor::ColumnToFill() const {
    return columns_[0]->isChecked() ? PointColumn::Points : PointColumn::PrizeMoney;
}

void PointSystemEditor::ColumnChosen() {
    const int length = ColumnToFill() == PointColumn::Points ? kShortBox : kPrizeBox;
    boxes_[InitialValue]->setMaxLength(length);
    boxes_[Interval]->setMaxLength(length);
    SelectionChanged();
}

void PointSystemEditor::SelectionChanged() {
    if (grid_->rowCount() == 0) {
        return;
    }
    const auto [first, last] = SelectedRowSpan(grid_);
    const int column = ColumnToFill() == PointColumn::Points ? kPoints : kPrizeMoney;
    boxes_[FillFrom]->setText(QString::number(first + 1));
    boxes_[FillThrough]->setText(QString::number(last + 1));
    const QString initial = grid_->item(first, column)->text();
    boxes_[InitialValue]->setText(initial);
    QString interval;
    if (last > first) {
        const std::int64_t gap =
            initial.toLongLong() - grid_->item(first + 1, column)->text().toLongLong();
        if (gap > 0) {
            interval = QString::number(gap);
        }
    }
    boxes_[Interval]->setText(interval);
}

void PointSystemEditor::SelectAllPositions() {
    if (grid_->rowCount() == 0) {
        return;
    }
    grid_->clearSelection();
    grid_->setCurrentCell(0, kPoints, QItemSelectionModel::NoUpdate);
    grid_->setRangeSelected(
        QTableWidgetSelectionRange(0, kPoints, grid_->rowCount() - 1, kPrizeMoney), true);
    SelectionChanged();
}

void PointSystemEditor::SetTotalPositions() {
    scorewell::SetTotalPositions(system_.positions,
                                 static_cast<int>(Number(boxes_[TotalPositions])));
    ShowTable();
    SelectionChanged();
}

void PointSystemEditor::BoxLeft(Box box) {
    if (box == TotalPositions) {
        SetTotalPositions();
        return;
    }
    std::int64_t value = Number(boxes_[box]);
    if ((box == FillFrom || box == FillThrough) && value == 0) {
        value = 1;
    }
    boxes_[box]->setText(QString::number(value));
}

void PointSystemEditor::Fill() {
    const QLineEdit* interval = boxes_[Interval];
    try {
        FillPositions(system_.positions, ColumnToFill(), static_cast<int>(Number(boxes_[FillFrom])),
                      static_cast<int>(Number(boxes_[FillThrough])), Number(boxes_[InitialValue]),
                      interval->text().isEmpty() ? 0 : Number(interval));
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Notice", MessageIcon::Exclamation);
        return;
    }
    ShowTable();
    MarkChanged();
}

void PointSystemEditor::ImportTable() {
    FileDialogRequest request;
    request.filter = kCsvFilter;
    request.title = "Import Point Table";
    request.initialFolder = Q(FolderOf(league_->Path()));
    const QString file = TheDesktop().OpenFile(this, request);
    if (file.isEmpty()) {
        return;
    }
    try {
        system_.positions = ReadPointTableCsv(S(file));
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return;
    }
    ShowTable();
    SelectionChanged();
    MarkChanged();
}

void PointSystemEditor::ExportTable() {
    const QString file =
        TheDesktop().SaveFile(this, kCsvFilter, "Point System.csv", Q(FolderOf(league_->Path())));
    if (file.isEmpty()) {
        return;
    }
    if (FileExists(S(file)) &&
        ShowMessage(this, "The file " + Quoted(file) + " already exists!  Overwrite it?",
                    "File Exists", MessageIcon::None,
                    MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    try {
        WritePointTableCsv(S(file), system_.positions);
    } catch (const std::exception& e) {
        ShowMessage(this,
                    "The point table could not be written to " + Quoted(file) + ": " + Q(e.what()),
                    "Error", MessageIcon::Exclamation);
    }
}

void PointSystemEditor::reject() {
    Leave(true);
}

bool PointSystemEditor::Leave(bool discard) {
    if (changed_ && discard) {
        switch (ShowMessage(this, "Do you want to save the changes you've made?", "Unsaved Changes",
                            MessageIcon::Question, MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            discard = false;
            break;
        case MessageAnswer::No:
            break;
        default:
            return false;
        }
    }
    if (!discard && !Save()) {
        return false;
    }
    done(discard ? QDialog::Rejected : QDialog::Accepted);
    return true;
}

bool PointSystemEditor::Save() {
    for (std::size_t k = 0; k < bonusBoxes_.size(); ++k) {
        const QString text = bonusBoxes_[k]->text();
        system_.bonuses[k].points =
            text.isEmpty() ? std::nullopt
                           : std::optional<std::int32_t>(static_cast<std::int32_t>(text.toInt()));
    }
    system_.useCustomPoints = usePositions_->isChecked();
    system_.useCustomBonus = useBonus_->isChecked();
    try {
        BusyPointer busy;
        SavePointSystem(*league_, system_);
    } catch (const std::exception& e) {
        ShowMessage(this,
                    "The point system was not saved; the league is as it was.\n\n" + Q(e.what()),
                    "Error", MessageIcon::Exclamation);
        return false;
    }
    saved_ = true;
    changed_ = false;
    return true;
}

void ShowPointSystemEditor(LeagueCommandContext& context) {
    League& league = context.league;
    PointSystemEditor editor(context.owner);
    editor.SetLeague(league);
    if (!editor.Load()) {
        return;
    }
    TheDesktop().ShowModal(&editor);
    if (!editor.Saved()) {
        return;
    }
    // Stored races keep the points they were given until they are scored again.
    int changed = 0;
    try {
        BusyPointer busy;
        changed = CountRacesChangedByRescoring(league);
    } catch (const std::exception& e) {
        ShowMessage(context.owner,
                    "The point system was saved, but the races cannot be scored with it:\n\n" +
                        Q(e.what()),
                    "Warning", MessageIcon::Exclamation);
        return;
    }
    if (changed == 0 ||
        ShowMessage(context.owner,
                    "The point system was saved. " + RacesText(changed) +
                        " of this league would score differently with it, and keep their "
                        "old points until they are recalculated.\n\nRecalculate every race now?",
                    "Notice", MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    std::unique_ptr<ProgressWindow> progress;
    try {
        BusyPointer busy;
        RecalculateAllRaces(league, [&](int done, int total) {
            if (!progress) {
                progress =
                    std::make_unique<ProgressWindow>("Recalculating Races", total, context.owner);
                progress->show();
            }
            progress->Step(QString("Race %1 of %2").arg(done).arg(total), done);
        });
    } catch (const std::exception& e) {
        progress.reset();
        ShowMessage(context.owner,
                    "The races could not be recalculated; they are as they were.\n\n" + Q(e.what()),
                    "Error", MessageIcon::Exclamation);
    }
}

} // namespace scorewell::gui
