#include "editing/frmEditRace.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/LeagueCommands.h"
#include "common/Controls.h"
#include "data/League.h"
#include "data/Program.h"
#include "desktop/Desktop.h"
#include "editing/frmEditDriver2.h"

namespace scorewell::gui {

namespace {

struct ColumnDesign {
    const char* header;
    int widthTwips;
    Qt::Alignment alignment;
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

constexpr ColumnDesign kGridColumns[frmEditRace::kColumns] = {
    {"Finish", 500, Qt::AlignCenter},  {"Start", 500, Qt::AlignCenter},
    {"Driver", 2115, kLeft},           {"Laps", 450, Qt::AlignCenter},
    {"Led", 400, Qt::AlignCenter},     {"Points", 550, Qt::AlignCenter},
    {"Bonus", 550, Qt::AlignCenter},   {"Avg Speed", 900, Qt::AlignCenter},
    {"Qualify", 700, Qt::AlignCenter}, {"Reason Out", 1100, kLeft},
    {"Excluded", 0, Qt::AlignCenter},
};

struct ButtonDesign {
    const char* caption;
    const char* toolTip;
};

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

frmEditRace::frmEditRace(QWidget* parent) : QDialog(parent) {
    setObjectName("frmEditRace");
    setWindowTitle("Race Results");

    fraRace = new QGroupBox(this);
    fraRace->setObjectName("fraRace");
    Label1 = Caption("Track:", "Label1", fraRace);
    Label2 = Caption("Track Length:", "Label2", fraRace);
    Label3 = Caption("Laps:", "Label3", fraRace);
    Label5 = Caption("Race Time:", "Label5", fraRace);
    Label7 = Caption("Average Speed:", "Label7", fraRace);
    Label8 = Caption("Margin of Victory:", "Label8", fraRace);
    Label9 = Caption("Cautions:", "Label9", fraRace);
    Label10 = Caption("Lead Changes:", "Label10", fraRace);
    Label11 = Caption("Weather:", "Label11", fraRace);
    lblLRMDesc = Caption("Qualifying shown as:", "lblLRMDesc", fraRace);
    lblTrackName = Shown("lblTrackName", fraRace);
    lblTrackLength = Shown("lblTrackLength", fraRace);
    lblLaps = Shown("lblLaps", fraRace);
    lblRaceTime = Shown("lblRaceTime", fraRace);
    lblAvgSpeed = Shown("lblAvgSpeed", fraRace);
    lblMargin = Shown("lblMargin", fraRace);
    lblCautions = Shown("lblCautions", fraRace);
    lblLeadChanges = Shown("lblLeadChanges", fraRace);
    lblWeather = Shown("lblWeather", fraRace);
    lblLRM = Shown("lblLRM", fraRace);
    lblLRM->setMinimumWidth(0);
    lblLRM->setAutoFillBackground(true);
    lblLRM->setContentsMargins(Twips(45), 0, Twips(45), 0);

    // The track on the left, the race's statistics on the right.
    auto* info = new QGridLayout(fraRace);
    info->setHorizontalSpacing(Twips(120));
    const std::pair<QLabel*, QLabel*> left[] = {
        {Label1, lblTrackName}, {Label2, lblTrackLength}, {Label3, lblLaps}, {Label11, lblWeather}};
    const std::pair<QLabel*, QLabel*> right[] = {{Label5, lblRaceTime},
                                                 {Label7, lblAvgSpeed},
                                                 {Label8, lblMargin},
                                                 {Label9, lblCautions},
                                                 {Label10, lblLeadChanges}};
    int row = 0;
    for (const auto& [caption, value] : left) {
        info->addWidget(caption, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        info->addWidget(value, row++, 1);
    }
    auto* method = new QHBoxLayout;
    method->addWidget(lblLRM);
    method->addStretch(1);
    info->addWidget(lblLRMDesc, row, 0, Qt::AlignRight | Qt::AlignVCenter);
    info->addLayout(method, row, 1);
    row = 0;
    for (const auto& [caption, value] : right) {
        info->addWidget(caption, row, 3, Qt::AlignRight | Qt::AlignVCenter);
        info->addWidget(value, row++, 4);
    }
    info->setColumnMinimumWidth(2, Twips(240));
    info->setColumnStretch(1, 3);
    info->setColumnStretch(4, 2);

    fgDrivers = new QTableWidget(1, kColumns, this);
    fgDrivers->setObjectName("fgDrivers");
    QStringList headers;
    for (const ColumnDesign& c : kGridColumns) {
        headers << c.header;
    }
    fgDrivers->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < kColumns; ++c) {
        fgDrivers->setColumnWidth(c, Twips(kGridColumns[c].widthTwips));
        fgDrivers->horizontalHeaderItem(c)->setTextAlignment(kGridColumns[c].alignment);
    }
    fgDrivers->setColumnHidden(kExcluded, true);
    fgDrivers->verticalHeader()->hide();
    fgDrivers->verticalHeader()->setMinimumSectionSize(fgDrivers->fontMetrics().height() + 4);
    fgDrivers->verticalHeader()->setDefaultSectionSize(fgDrivers->fontMetrics().height() + 6);
    fgDrivers->horizontalHeader()->setHighlightSections(false);
    fgDrivers->horizontalHeader()->setMinimumSectionSize(Twips(300));
    fgDrivers->setSelectionBehavior(QAbstractItemView::SelectRows);
    fgDrivers->setSelectionMode(QAbstractItemView::ContiguousSelection);
    fgDrivers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fgDrivers->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fgDrivers->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    fgDrivers->setWordWrap(false);
    fgDrivers->setMinimumHeight(Twips(3600));
    fgDrivers->installEventFilter(this);
    connect(fgDrivers, &QTableWidget::itemSelectionChanged, this,
            [this] { fgDrivers_SelChange(); });
    connect(fgDrivers, &QTableWidget::cellDoubleClicked, this, [this](int r, int) {
        if (RowID(r) >= 1) {
            EditResult(r);
        }
    });

    for (int i = 0; i < 5; ++i) {
        cmdButton[i] = new QPushButton(kButtons[i].caption, this);
        cmdButton[i]->setObjectName(QString("cmdButton_%1").arg(i));
        cmdButton[i]->setToolTip(kButtons[i].toolTip);
        cmdButton[i]->setMinimumWidth(Twips(1095));
        cmdButton[i]->setAutoDefault(false);
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdButton[4]);
    buttons->addStretch(1);
    for (int i : {3, 1, 2, 0}) {
        buttons->addWidget(cmdButton[i]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraRace);
    layout->addWidget(fgDrivers, 1);
    layout->addLayout(buttons);
}

bool frmEditRace::Online() const {
    return !league_ || league_->Settings().leagueType == 0;
}

bool frmEditRace::Load() {
    std::optional<RaceSummary> race;
    try {
        race = LoadRaceSummary(league_->Db(), Source(), raceId_);
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
    fgDrivers->setColumnHidden(kAvgSpeed, Online());

    const RaceLabels labels =
        RaceLabelTexts(*race, !Online(), league_->GetProgram().DecimalSeparator());
    setWindowTitle(Q(labels.caption));
    lblTrackName->setText(Q(labels.trackName));
    lblTrackLength->setText(Q(labels.trackLength));
    lblLaps->setText(Q(labels.laps));
    lblRaceTime->setText(Q(labels.raceTime));
    lblAvgSpeed->setText(Q(labels.avgSpeed));
    lblMargin->setText(Q(labels.margin));
    lblCautions->setText(Q(labels.cautions));
    lblLeadChanges->setText(Q(labels.leadChanges));
    lblWeather->setText(Q(labels.weather));

    const bool time = league_->Settings().lapReportingMethod == 1;
    lblLRM->setText(time ? "Time" : "Speed");
    QPalette colours = palette();
    if (time) {
        colours.setColor(QPalette::WindowText, palette().color(QPalette::Window));
        colours.setColor(QPalette::Window, palette().color(QPalette::WindowText));
    }
    lblLRM->setPalette(colours);

    trackLength_ = static_cast<float>(race->length.AsDouble());
    FillGrid();
    adjustSize();
    return true;
}

void frmEditRace::FillGrid() {
    std::vector<ResultLine> lines;
    try {
        lines = LoadResultLines(league_->Db(), Source(), raceId_);
    } catch (const std::exception& e) {
        ShowError(e);
    }
    fgDrivers->setUpdatesEnabled(false);
    fgDrivers->clearContents();
    fgDrivers->setRowCount(std::max<int>(1, static_cast<int>(lines.size())));
    for (int r = 0; r < static_cast<int>(lines.size()); ++r) {
        SetRow(r, lines[static_cast<std::size_t>(r)]);
    }
    if (lines.empty()) {
        SetEmptyRow(0);
    }
    FitColumns();
    fgDrivers->setUpdatesEnabled(true);
    SelectRow(0);
}

void frmEditRace::FitColumns() {
    // The designed widths were made for a smaller font than the desktop's: a column grows to
    // show its heading and its texts whole.
    const QFontMetrics metrics(fgDrivers->font());
    const int margin =
        2 * (fgDrivers->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, fgDrivers) +
             1) +
        2;
    int total = 2 * fgDrivers->frameWidth() + fgDrivers->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < kColumns; ++c) {
        if (fgDrivers->isColumnHidden(c)) {
            continue;
        }
        int width = std::max(Twips(kGridColumns[c].widthTwips),
                             fgDrivers->horizontalHeader()->sectionSizeHint(c));
        for (int r = 0; r < fgDrivers->rowCount(); ++r) {
            if (const QTableWidgetItem* cell = fgDrivers->item(r, c)) {
                width = std::max(width, metrics.horizontalAdvance(cell->text()) + margin);
            }
        }
        fgDrivers->setColumnWidth(c, width);
        total += width;
    }
    fgDrivers->setMinimumWidth(total);
}

void frmEditRace::SetRow(int row, const ResultLine& line) {
    const auto cells = ResultCells(line, trackLength_, league_->Settings().lapReportingMethod,
                                   league_->GetProgram().DecimalSeparator());
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (int c = 0; c < kColumns; ++c) {
        auto* cell = new QTableWidgetItem(Q(cells[static_cast<std::size_t>(c)]));
        cell->setTextAlignment(kGridColumns[c].alignment);
        if (line.excluded) {
            cell->setForeground(grey);
        }
        fgDrivers->setItem(row, c, cell);
    }
    fgDrivers->item(row, kFinish)->setData(Qt::UserRole, line.id);
}

void frmEditRace::SetEmptyRow(int row) {
    for (int c = 0; c < kColumns; ++c) {
        fgDrivers->setItem(row, c, new QTableWidgetItem);
    }
    fgDrivers->item(row, kFinish)->setData(Qt::UserRole, 0);
}

std::int32_t frmEditRace::RowID(int row) const {
    return RowKey(fgDrivers, row, kFinish);
}

std::pair<int, int> frmEditRace::SelectedRows() const {
    return SelectedRowSpan(fgDrivers);
}

void frmEditRace::SelectRow(int row) {
    fgDrivers->setCurrentCell(row, kFinish);
    fgDrivers->selectRow(row);
    fgDrivers_SelChange();
}

void frmEditRace::fgDrivers_SelChange() {
    const auto [top, bottom] = SelectedRows();
    cmdButton[1]->setEnabled(top == bottom);
}

void frmEditRace::cmdButton_Click(int index) {
    switch (index) {
    case 0:
        accept();
        break;
    case 1: {
        const auto [top, bottom] = SelectedRows();
        if (top == bottom) {
            EditResult(top);
        }
        break;
    }
    case 2:
        RemoveResults();
        break;
    case 3:
        AddResult();
        break;
    case 4:
        Recalc();
        break;
    default:
        break;
    }
}

std::optional<ResultEntry> frmEditRace::AskForResult(const QString& caption, ResultEntry entry) {
    frmEditDriver2 dialog(this);
    dialog.setWindowTitle(caption);
    dialog.setDatabase(league_);
    if (Online()) {
        entry.avgSpeed = "0";
    }
    dialog.setEntry(entry);
    TheDesktop().ShowModal(&dialog);
    if (dialog.Cancelled()) {
        return std::nullopt;
    }
    return dialog.Entry();
}

void frmEditRace::AddResult() {
    ResultEntry entry;
    entry.reasonOut = "Running";
    const auto typed = AskForResult("Add Driver Race Result", entry);
    if (!typed) {
        return;
    }
    std::optional<ResultLine> line;
    try {
        const std::int32_t id = scorewell::AddResult(*league_, Source(), raceId_, *typed);
        line = LoadResultLine(league_->Db(), Source(), id);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    if (!line) {
        return;
    }
    // The new result goes last, unordered; it takes the place of the empty row of a race
    // that had none.
    int row = fgDrivers->rowCount();
    if (row == 1 && RowID(0) == 0) {
        row = 0;
    } else {
        fgDrivers->insertRow(row);
    }
    SetRow(row, *line);
    FitColumns();
    SelectRow(row);
}

void frmEditRace::EditResult(int row) {
    const std::int32_t id = RowID(row);
    // The empty row has no result to edit.
    if (id == 0) {
        return;
    }
    std::optional<ResultLine> line;
    try {
        line = LoadResultLine(league_->Db(), Source(), id);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    if (!line) {
        return;
    }
    const auto typed = AskForResult("Edit Driver Race Result", EntryOf(*line));
    if (!typed) {
        return;
    }
    try {
        UpdateResult(*league_, Source(), id, *typed);
        line = LoadResultLine(league_->Db(), Source(), id);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    if (line) {
        SetRow(row, *line);
        FitColumns();
        SelectRow(row);
    }
}

void frmEditRace::RemoveResults() {
    const auto [top, bottom] = SelectedRows();
    std::vector<std::int32_t> ids;
    for (int row = bottom; row >= top; --row) {
        ids.push_back(RowID(row));
    }
    try {
        scorewell::RemoveResults(*league_, Source(), ids);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    fgDrivers->setUpdatesEnabled(false);
    for (int row = bottom; row >= top; --row) {
        if (fgDrivers->rowCount() < 2) {
            SetEmptyRow(row);
        } else {
            fgDrivers->removeRow(row);
        }
    }
    fgDrivers->setUpdatesEnabled(true);
    SelectRow(std::min(top, fgDrivers->rowCount() - 1));
}

void frmEditRace::Recalc() {
    if (ShowMessage(this, kRecalcWarning, "Warning", MessageIcon::Exclamation,
                    MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    try {
        BusyPointer busy;
        RecalculateEditedRace(*league_, Source(), raceId_);
    } catch (const std::exception& e) {
        ShowError(e);
    }
    FillGrid();
}

void frmEditRace::ShowError(const std::exception& e) {
    ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
}

bool frmEditRace::eventFilter(QObject* watched, QEvent* event) {
    if (watched != fgDrivers || event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    switch (GridKeyOf(static_cast<QKeyEvent*>(event))) {
    case GridKey::SelectAll:
        fgDrivers->selectAll();
        fgDrivers_SelChange();
        return true;
    case GridKey::Insert:
        AddResult();
        return true;
    case GridKey::Delete:
        RemoveResults();
        return true;
    case GridKey::Enter: {
        const auto [top, bottom] = SelectedRows();
        if (top == bottom) {
            EditResult(top);
        }
        return true;
    }
    case GridKey::None:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void ShowEditRace(LeagueCommandContext& context) {
    frmEditRace window(context.owner);
    window.setMode(0);
    window.setDatabase(&context.league);
    window.setTBDatabase(&context.program);
    window.setRaceID(context.raceId);
    if (window.Load()) {
        TheDesktop().ShowModal(&window);
    }
}

} // namespace scorewell::gui
