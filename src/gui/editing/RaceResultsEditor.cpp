#include "editing/RaceResultsEditor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/LeagueCommands.h"
#include "common/Controls.h"
#include "common/Domain.h"
#include "common/Formatting.h"
#include "common/Numbers.h"
#include "common/Text.h"
#include "data/League.h"
#include "data/Program.h"
#include "desktop/Desktop.h"
#include "editing/RaceResultsEditing.h"
#include "editing/ResultEditor.h"

namespace scorewell::gui {

namespace {

enum Column {
    kFinish,
    kStart,
    kDriver,
    kLaps,
    kLed,
    kPoints,
    kBonus,
    kAvgSpeed,
    kQualify,
    kReasonOut,
    kExcluded,
    kColumns
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

constexpr ColumnDesign kGridColumns[kColumns] = {
    {"Finish", 500, Qt::AlignCenter},  {"Start", 500, Qt::AlignCenter},
    {"Driver", 2115, kLeft},           {"Laps", 450, Qt::AlignCenter},
    {"Led", 400, Qt::AlignCenter},     {"Points", 550, Qt::AlignCenter},
    {"Bonus", 550, Qt::AlignCenter},   {"Avg Speed", 900, Qt::AlignCenter},
    {"Qualify", 700, Qt::AlignCenter}, {"Reason Out", 1100, kLeft},
    {"Excluded", 0, Qt::AlignCenter},
};

enum Figure {
    TrackName,
    TrackLength,
    Laps,
    RaceTime,
    AvgSpeed,
    Margin,
    Cautions,
    LeadChanges,
    Weather
};

struct FigureDesign {
    const char* captionName;
    const char* caption;
    const char* name;
};

constexpr FigureDesign kFigureDesigns[] = {
    {"Label1", "Track:", "lblTrackName"},
    {"Label2", "Track Length:", "lblTrackLength"},
    {"Label3", "Laps:", "lblLaps"},
    {"Label5", "Race Time:", "lblRaceTime"},
    {"Label7", "Average Speed:", "lblAvgSpeed"},
    {"Label8", "Margin of Victory:", "lblMargin"},
    {"Label9", "Cautions:", "lblCautions"},
    {"Label10", "Lead Changes:", "lblLeadChanges"},
    {"Label11", "Weather:", "lblWeather"},
};

// The track down the left, the race's statistics down the right.
constexpr Figure kLeftFigures[] = {TrackName, TrackLength, Laps, Weather};
constexpr Figure kRightFigures[] = {RaceTime, AvgSpeed, Margin, Cautions, LeadChanges};

constexpr ButtonDesign kButtons[5] = {
    {"Close", "Close this dialog"},
    {"&Edit", "Edit this driver's results"},
    {"&Remove", "Remove this driver's results"},
    {"&Add", "Add a new driver's results"},
    {"Re&calc", "Recalculate points and bonuses"},
};

const char* const kRecalcWarning =
    "Recalculating this race will calculate points according to the currently selected\r\n"
    "point and bonus system.  Any point or bonus changes you've make to this race\r\n"
    "will be lost.  Also, any gaps in finishing position will be eliminated.\r\n"
    "Do you want to continue?";

QLabel* Caption(const char* text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLabel* Shown(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(Twips(1500));
    return label;
}

} // namespace

RaceResultsEditor::RaceResultsEditor(QWidget* parent) : QDialog(parent) {
    static_assert(std::size(kFigureDesigns) == kFigures);
    setObjectName("frmEditRace");
    setWindowTitle("Race Results");

    auto* race = new QGroupBox(this);
    race->setObjectName("fraRace");
    auto* info = new QGridLayout(race);
    info->setHorizontalSpacing(Twips(120));
    std::array<QLabel*, kFigures> captions{};
    for (int i = 0; i < kFigures; ++i) {
        const FigureDesign& design = kFigureDesigns[i];
        captions[i] = Caption(design.caption, design.captionName, race);
        figures_[i] = Shown(design.name, race);
    }
    auto* lapMethodCaption = Caption("Qualifying shown as:", "lblLRMDesc", race);
    lapMethod_ = Shown("lblLRM", race);
    lapMethod_->setMinimumWidth(0);
    lapMethod_->setAutoFillBackground(true);
    lapMethod_->setContentsMargins(Twips(45), 0, Twips(45), 0);

    int row = 0;
    for (Figure f : kLeftFigures) {
        info->addWidget(captions[f], row, 0, Qt::AlignRight | Qt::AlignVCenter);
        info->addWidget(figures_[f], row++, 1);
    }
    auto* method = new QHBoxLayout;
    method->addWidget(lapMethod_);
    method->addStretch(1);
    info->addWidget(lapMethodCaption, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    info->addLayout(method, row, 1);
    row = 0;
    for (Figure f : kRightFigures) {
        info->addWidget(captions[f], row, 3, Qt::AlignRight | Qt::AlignVCenter);
        info->addWidget(figures_[f], row++, 4);
    }
    info->setColumnMinimumWidth(2, Twips(240));
    info->setColumnStretch(1, 3);
    info->setColumnStretch(4, 2);

    grid_ = NewListGrid("fgDrivers", kGridColumns,
                        {[this] { AddResult(); }, [this] { RemoveResults(); },
                         [this] {
                             EditSelected();
                         }},
                        this);
    for (int c = 0; c < kColumns; ++c) {
        grid_->horizontalHeaderItem(c)->setTextAlignment(kGridColumns[c].alignment);
    }
    grid_->setColumnHidden(kExcluded, true);
    grid_->horizontalHeader()->setMinimumSectionSize(Twips(300));
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid_->setMinimumHeight(Twips(3600));
    connect(grid_, &QTableWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int r, int) {
        if (RowID(r) >= 1) {
            EditResult(r);
        }
    });

    buttons_ = NewIndexedButtons(this, kButtons, Twips(1095),
                                 {[this] { accept(); }, [this] { EditSelected(); },
                                  [this] { RemoveResults(); }, [this] { AddResult(); },
                                  [this] {
                                      Recalculate();
                                  }});
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(buttons_[Recalc]);
    buttons->addStretch(1);
    for (Button b : {Add, Edit, Remove, Close}) {
        buttons->addWidget(buttons_[b]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(race);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
}

void RaceResultsEditor::SetRace(RaceSource source, std::int32_t raceId) {
    source_ = source;
    raceId_ = raceId;
}

bool RaceResultsEditor::Online() const {
    return !league_ || league_->Settings().leagueType == LeagueType::Online;
}

bool RaceResultsEditor::Load() {
    std::optional<RaceSummary> race;
    try {
        race = LoadRaceSummary(league_->Db(), source_, raceId_);
    } catch (const std::exception& e) {
        ShowError(e);
        return false;
    }
    if (!race) {
        ShowMessage(this, "This race is no longer in the league.", "Error",
                    MessageIcon::Exclamation);
        return false;
    }

    // On-line races keep no average speed of a driver: the column gives its room back.
    grid_->setColumnHidden(kAvgSpeed, Online());

    const RaceLabels labels =
        RaceLabelTexts(*race, !Online(), league_->GetProgram().DecimalSeparator());
    setWindowTitle(Q(labels.caption));
    const std::string* texts[kFigures] = {&labels.trackName, &labels.trackLength, &labels.laps,
                                          &labels.raceTime,  &labels.avgSpeed,    &labels.margin,
                                          &labels.cautions,  &labels.leadChanges, &labels.weather};
    for (int i = 0; i < kFigures; ++i) {
        figures_[i]->setText(Q(*texts[i]));
    }

    const bool time = league_->Settings().lapReportingMethod == LapReportingMethod::LapTime;
    lapMethod_->setText(time ? "Time" : "Speed");
    QPalette colours = palette();
    if (time) {
        colours.setColor(QPalette::WindowText, palette().color(QPalette::Window));
        colours.setColor(QPalette::Window, palette().color(QPalette::WindowText));
    }
    lapMethod_->setPalette(colours);

    trackLength_ = static_cast<float>(race->length.AsDouble());
    FillGrid();
    // Wide enough for the results as they stand, but within the screen and the main window;
    // texts added later scroll the grid instead of widening the window.
    const QMargins margins = layout()->contentsMargins();
    grid_->setMinimumWidth(std::min(fittedWidth_, WidthLimit() - margins.left() - margins.right()));
    adjustSize();
    grid_->setMinimumWidth(Twips(3000));
    return true;
}

void RaceResultsEditor::FillGrid() {
    std::vector<ResultLine> lines;
    try {
        lines = LoadResultLines(league_->Db(), source_, raceId_);
    } catch (const std::exception& e) {
        ShowError(e);
    }
    grid_->setUpdatesEnabled(false);
    grid_->clearContents();
    grid_->setRowCount(std::max<int>(1, static_cast<int>(lines.size())));
    for (int r = 0; r < static_cast<int>(lines.size()); ++r) {
        SetRow(r, lines[static_cast<std::size_t>(r)]);
    }
    if (lines.empty()) {
        SetEmptyRow(0);
    }
    FitColumns();
    grid_->setUpdatesEnabled(true);
    SelectRow(0);
}

void RaceResultsEditor::FitColumns() {
    // The column widths were set for a smaller font than the desktop's: a column grows to
    // show its heading and its texts whole.
    const QFontMetrics metrics(grid_->font());
    const int margin =
        2 * (grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid_) + 1) + 2;
    int total = 2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < kColumns; ++c) {
        if (grid_->isColumnHidden(c)) {
            continue;
        }
        int width = std::max(Twips(kGridColumns[c].widthTwips),
                             grid_->horizontalHeader()->sectionSizeHint(c));
        for (int r = 0; r < grid_->rowCount(); ++r) {
            if (const QTableWidgetItem* cell = grid_->item(r, c)) {
                width = std::max(width, metrics.horizontalAdvance(cell->text()) + margin);
            }
        }
        grid_->setColumnWidth(c, width);
        total += width;
    }
    fittedWidth_ = total;
}

int RaceResultsEditor::WidthLimit() const {
    int limit = QWIDGETSIZE_MAX;
    if (const QScreen* shownOn = screen()) {
        limit = shownOn->availableGeometry().width();
    }
    if (const QWidget* owner = parentWidget()) {
        limit = std::min(limit, owner->window()->width());
    }
    return limit;
}

void RaceResultsEditor::SetRow(int row, const ResultLine& line) {
    const auto cells = ResultCells(line, trackLength_, league_->Settings().lapReportingMethod,
                                   league_->GetProgram().DecimalSeparator());
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (int c = 0; c < kColumns; ++c) {
        auto* cell = new QTableWidgetItem(Q(cells[static_cast<std::size_t>(c)]));
        cell->setTextAlignment(kGridColumns[c].alignment);
        if (line.excluded) {
            cell->setForeground(grey);
        }
        grid_->setItem(row, c, cell);
    }
    grid_->item(row, kFinish)->setData(Qt::UserRole, line.id);
}

void RaceResultsEditor::SetEmptyRow(int row) {
    for (int c = 0; c < kColumns; ++c) {
        grid_->setItem(row, c, new QTableWidgetItem);
    }
    grid_->item(row, kFinish)->setData(Qt::UserRole, 0);
}

std::int32_t RaceResultsEditor::RowID(int row) const {
    return RowKey(grid_, row, kFinish);
}

std::pair<int, int> RaceResultsEditor::SelectedRows() const {
    return SelectedRowSpan(grid_);
}

void RaceResultsEditor::SelectRow(int row) {
    grid_->setCurrentCell(row, kFinish);
    grid_->selectRow(row);
    SelectionChanged();
}

void RaceResultsEditor::SelectionChanged() {
    const auto [top, bottom] = SelectedRows();
    buttons_[Edit]->setEnabled(top == bottom);
}

void RaceResultsEditor::EditSelected() {
    const auto [top, bottom] = SelectedRows();
    if (top == bottom) {
        EditResult(top);
    }
}

std::optional<ResultEntry> RaceResultsEditor::AskForResult(const QString& caption,
                                                           ResultEntry entry) {
    ResultEditor dialog(this);
    dialog.setWindowTitle(caption);
    dialog.SetLeague(*league_);
    if (Online()) {
        entry.avgSpeed = "0";
    }
    // A league that reports lap times shows and takes qualifying as a lap time on this track;
    // a time left as shown keeps the stored speed exactly.
    const bool lapTime = league_->Settings().lapReportingMethod == LapReportingMethod::LapTime;
    const std::string storedSpeed = entry.qualifying;
    std::string shownTime;
    if (lapTime) {
        shownTime = LapTimeEntry(LeadingNumber(storedSpeed), trackLength_);
        entry.qualifying = shownTime;
    }
    dialog.SetQualifyingAsLapTime(lapTime);
    dialog.SetEntry(entry);
    TheDesktop().ShowModal(&dialog);
    if (dialog.Cancelled()) {
        return std::nullopt;
    }
    ResultEntry typed = dialog.Entry();
    if (lapTime) {
        if (Trim(typed.qualifying) == shownTime) {
            typed.qualifying = storedSpeed.empty() ? "0" : storedSpeed;
        } else {
            // The dialog let only a lap time through.
            typed.qualifying =
                NumberText(SpeedOfLapTimeEntry(typed.qualifying, trackLength_).value_or(0), ".");
        }
    }
    return typed;
}

void RaceResultsEditor::AddResult() {
    ResultEntry entry;
    entry.reasonOut = "Running";
    const auto typed = AskForResult("Add Driver Race Result", entry);
    if (!typed) {
        return;
    }
    std::int32_t id = 0;
    try {
        id = scorewell::AddResult(*league_, source_, raceId_, *typed);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    const std::optional<ResultLine> line = ReadResult(id);
    if (!line) {
        return;
    }
    // The new result goes last, unordered; it takes the place of the empty row of a race
    // that had none.
    int row = grid_->rowCount();
    if (row == 1 && RowID(0) == 0) {
        row = 0;
    } else {
        grid_->insertRow(row);
    }
    SetRow(row, *line);
    FitColumns();
    SelectRow(row);
}

void RaceResultsEditor::EditResult(int row) {
    const std::int32_t id = RowID(row);
    // The empty row has no result to edit.
    if (id == 0) {
        return;
    }
    std::optional<ResultLine> line = ReadResult(id);
    if (!line) {
        return;
    }
    const auto typed = AskForResult("Edit Driver Race Result", EntryOf(*line));
    if (!typed) {
        return;
    }
    try {
        UpdateResult(*league_, source_, id, *typed);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    line = ReadResult(id);
    if (line) {
        SetRow(row, *line);
        FitColumns();
        SelectRow(row);
    }
}

void RaceResultsEditor::RemoveResults() {
    const auto [top, bottom] = SelectedRows();
    std::vector<std::int32_t> ids;
    for (int row = bottom; row >= top; --row) {
        ids.push_back(RowID(row));
    }
    try {
        scorewell::RemoveResults(*league_, source_, ids);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    grid_->setUpdatesEnabled(false);
    for (int row = bottom; row >= top; --row) {
        if (grid_->rowCount() < 2) {
            SetEmptyRow(row);
        } else {
            grid_->removeRow(row);
        }
    }
    grid_->setUpdatesEnabled(true);
    SelectRow(std::min(top, grid_->rowCount() - 1));
}

std::optional<ResultLine> RaceResultsEditor::ReadResult(std::int32_t id) {
    try {
        return LoadResultLine(league_->Db(), source_, id);
    } catch (const std::exception& e) {
        ShowError(e);
        return std::nullopt;
    }
}

void RaceResultsEditor::Recalculate() {
    if (ShowMessage(this, kRecalcWarning, "Warning", MessageIcon::Exclamation,
                    MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    try {
        BusyPointer busy;
        RecalculateEditedRace(*league_, source_, raceId_);
    } catch (const std::exception& e) {
        ShowError(e);
    }
    FillGrid();
}

void RaceResultsEditor::ShowError(const std::exception& e) {
    ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
}

void ShowRaceResultsEditor(LeagueCommandContext& context) {
    RaceResultsEditor window(context.owner);
    window.SetLeague(context.league);
    window.SetRace(RaceSource::League, context.raceId);
    if (window.Load()) {
        TheDesktop().ShowModal(&window);
    }
}

} // namespace scorewell::gui
