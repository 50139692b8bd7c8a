#include "app/frmRaces.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <filesystem>

#include "app/frmOptions.h"
#include "app/frmSplash.h"
#include "common/Controls.h"
#include "common/Paths.h"
#include "common/ShippedFiles.h"
#include "common/Text.h"
#include "data/League.h"
#include "data/LeagueFileActions.h"
#include "data/Program.h"
#include "data/ProgramOptions.h"
#include "data/RaceList.h"
#include "data/Settings.h"
#include "data/frmSLFProperties.h"
#include "desktop/Desktop.h"

namespace scorewell::gui {

namespace {

const QString kBaseCaption = "Scorewell";

enum Column { kRace, kLaps, kMiles, kStandingsFile, kColumns };

struct ColumnDesign {
    const char* header;
    int widthTwips;
    Qt::Alignment alignment;
};

constexpr ColumnDesign kGridColumns[kColumns] = {
    {"Race", 3000, Qt::AlignLeft | Qt::AlignVCenter},
    {"Laps", 500, Qt::AlignCenter},
    {"Miles", 600, Qt::AlignCenter},
    {"Standings File", 2500, Qt::AlignLeft | Qt::AlignVCenter},
};

// Buttons of the race list: index, caption.
const char* const kButtonCaptions[5] = {"Calculate", "Edit", "Remove", "Import", "HTML..."};

constexpr int kButtonWidth = Twips(1215);

QString FullPath(const QString& path) {
    std::error_code ec;
    auto full = std::filesystem::absolute(NativePath(S(path)), ec).lexically_normal();
    return ec ? path : Q(full.string());
}

} // namespace

frmRaces::frmRaces(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmRaces");
    setWindowTitle(kBaseCaption);
    CreateMenus();
    CreateGrid();
    CloseLeagueFile();
}

frmRaces::~frmRaces() = default;

void frmRaces::CreateMenus() {
    auto item = [this](QMenu* menu, const QString& name, int index, const char* caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString("%1_%2").arg(name).arg(index));
        return action;
    };
    auto separator = [](QMenu* menu, const QString& name, int index) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QString("%1_%2").arg(name).arg(index));
        return action;
    };

    mnuFilePad = menuBar()->addMenu("&File");
    mnuFilePad->setObjectName("mnuFilePad");
    mnuFile[0] = item(mnuFilePad, "mnuFile", 0, "&New");
    mnuFile[1] = item(mnuFilePad, "mnuFile", 1, "&Open...");
    mnuFilePad->addSeparator();
    mnuFile[8] = item(mnuFilePad, "mnuFile", 8, "&Properties");
    mnuFilePad->addSeparator();
    mnuFile[10] = item(mnuFilePad, "mnuFile", 10, "Op&tions");
    mnuFilePad->addSeparator();
    for (int i = 0; i < RecentFiles::kCount; ++i) {
        mnuFile[12 + i] = item(mnuFilePad, "mnuFile", 12 + i,
                               QString("Recent File %1").arg(i + 1).toUtf8().constData());
        mnuFile[12 + i]->setVisible(false);
    }
    mnuFile[16] = separator(mnuFilePad, "mnuFile", 16);
    mnuFile[16]->setVisible(false);
    mnuFile[17] = item(mnuFilePad, "mnuFile", 17, "&Exit");

    mnuRacePad = menuBar()->addMenu("&Race");
    mnuRacePad->setObjectName("mnuRacePad");
    mnuRace[0] = item(mnuRacePad, "mnuRace", 0, "&Import...");
    mnuRace[1] = item(mnuRacePad, "mnuRace", 1, "&Remove");
    mnuRace[2] = item(mnuRacePad, "mnuRace", 2, "&Edit...");
    mnuRace[3] = separator(mnuRacePad, "mnuRace", 3);
    mnuRace[4] = item(mnuRacePad, "mnuRace", 4, "&Calculate...");
    mnuRace[5] = separator(mnuRacePad, "mnuRace", 5);
    mnuRace[6] = item(mnuRacePad, "mnuRace", 6, "&HTML");

    mnuToolsPad = menuBar()->addMenu("&Tools");
    mnuToolsPad->setObjectName("mnuToolsPad");
    mnuTools[0] = item(mnuToolsPad, "mnuTools", 0, "&Driver List");
    mnuTools[1] = item(mnuToolsPad, "mnuTools", 1, "&Point System");
    mnuTools[2] = separator(mnuToolsPad, "mnuTools", 2);
    mnuTools[3] = item(mnuToolsPad, "mnuTools", 3, "Offline Settings");

    mnuHelpPad = menuBar()->addMenu("&Help");
    mnuHelpPad->setObjectName("mnuHelpPad");
    mnuHelp[0] = item(mnuHelpPad, "mnuHelp", 0, "View &ReadMe.htm");
    mnuHelp[1] = item(mnuHelpPad, "mnuHelp", 1, "&About");

    auto wire = [this](auto& actions, void (frmRaces::*handler)(int)) {
        for (int i = 0; i < static_cast<int>(actions.size()); ++i) {
            if (actions[i] && !actions[i]->isSeparator()) {
                connect(actions[i], &QAction::triggered, this,
                        [this, handler, i] { (this->*handler)(i); });
            }
        }
    };
    wire(mnuFile, &frmRaces::mnuFile_Click);
    wire(mnuRace, &frmRaces::mnuRace_Click);
    wire(mnuTools, &frmRaces::mnuTools_Click);
    wire(mnuHelp, &frmRaces::mnuHelp_Click);
}

void frmRaces::CreateGrid() {
    auto* central = new QWidget(this);
    central->setObjectName("frmRacesClient");

    fgRaces = new QTableWidget(1, kColumns, central);
    fgRaces->setObjectName("fgRaces");
    QStringList headers;
    for (const ColumnDesign& c : kGridColumns) {
        headers << c.header;
    }
    fgRaces->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < kColumns; ++c) {
        fgRaces->setColumnWidth(c, Twips(kGridColumns[c].widthTwips));
    }
    fgRaces->verticalHeader()->hide();
    fgRaces->verticalHeader()->setMinimumSectionSize(fgRaces->fontMetrics().height() + 4);
    fgRaces->verticalHeader()->setDefaultSectionSize(fgRaces->fontMetrics().height() + 6);
    fgRaces->horizontalHeader()->setHighlightSections(false);
    fgRaces->setSelectionBehavior(QAbstractItemView::SelectRows);
    fgRaces->setSelectionMode(QAbstractItemView::ContiguousSelection);
    fgRaces->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fgRaces->setWordWrap(false);
    fgRaces->installEventFilter(this);
    connect(fgRaces, &QTableWidget::itemSelectionChanged, this, [this] { fgRaces_SelChange(); });
    connect(fgRaces, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { fgRaces_DblClick(row); });

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(Twips(60));
    for (int i = 0; i < 5; ++i) {
        cmdButton[i] = new QPushButton(kButtonCaptions[i], central);
        cmdButton[i]->setObjectName(QString("cmdButton_%1").arg(i));
        cmdButton[i]->setMinimumWidth(kButtonWidth);
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
    }
    cmdButton[4]->setToolTip("Export results of selected race to HTML");
    // HTML stays at the grid's left edge; the others line up on the right, Calculate last.
    buttons->addWidget(cmdButton[4]);
    buttons->addStretch(1);
    for (int i = 3; i >= 0; --i) {
        buttons->addWidget(cmdButton[i]);
    }

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(Twips(30), Twips(30), Twips(30), Twips(30));
    layout->setSpacing(Twips(90));
    layout->addWidget(fgRaces, 1);
    layout->addLayout(buttons);
    setCentralWidget(central);
}

bool frmRaces::Load(const QString& programFolder, const QString& commandLine) {
    if (showSplash_) {
        (new frmSplash)->ShowSplash();
    }
    decimalSeparator_ = GetDecimalSeparator();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        resize(screen->size() / 2);
    }
    QApplication::setApplicationName(kBaseCaption);
    setWindowTitle(kBaseCaption);

    if (!OpenProgram(programFolder)) {
        return false;
    }
    if (program_->NoSimulationFolder()) {
        ShowMessage(this, "Please locate where a supported version of NASCAR Racing is installed.",
                    "Notice", MessageIcon::Information);
        ShowOptions();
    }
    LoadRecentFiles();
    OpenFromCommandLine(commandLine);
    return true;
}

bool frmRaces::OpenProgram(const QString& programFolder) {
    const std::string folder = S(programFolder);
    for (bool replaced = false;; replaced = true) {
        try {
            program_ = std::make_unique<Program>(folder, S(decimalSeparator_));
            return true;
        } catch (const ProgramDatabaseError& e) {
            if (replaced || !FileExists(e.Path())) {
                ShowMessage(this, Q(e.what()), "Error", MessageIcon::Critical);
                return false;
            }
            const QString question =
                Q(e.what()) +
                "\n\nScorewell can put this file aside and start with a new program database. "
                "Your league files are not affected; the program's own settings (simulation "
                "folders, recent files, report columns) start afresh.\n\nReplace the program "
                "database?";
            if (ShowMessage(this, question, "Error", MessageIcon::Exclamation,
                            MessageButtons::YesNo) != MessageAnswer::Yes) {
                return false;
            }
            try {
                const std::string kept = Program::ReplaceFromSeed(folder);
                ShowMessage(this,
                            "The damaged program database was kept as " + Quoted(Q(kept)) + ".",
                            "Notice", MessageIcon::Information);
            } catch (const std::exception& replaceError) {
                ShowMessage(this,
                            "A new program database could not be made in " + Quoted(programFolder) +
                                ": " + Q(replaceError.what()),
                            "Error", MessageIcon::Critical);
                return false;
            }
        }
    }
}

void frmRaces::OpenFromCommandLine(const QString& commandLine) {
    const QString line = commandLine.trimmed();
    if (line.isEmpty()) {
        if (ReadSettingFlag(program_->Db(), 11)) {
            const std::string last = ReadSetting(program_->Db(), RecentFiles::kFirstSetting);
            if (last != kMissingSetting && !Trim(last).empty()) {
                OpenLeagueFile(Q(last));
            }
        }
        return;
    }
    // The argument is the first word; a whole line naming a file (a name with blanks, as the
    // desktop passes it) is taken as it is.
    QString argument = line.section(' ', 0, 0, QString::SectionSkipEmpty).trimmed();
    if (line != argument && FileExists(S(line))) {
        argument = line;
    }
    const std::string besideProgram = JoinPath(program_->Folder(), S(argument));
    if (FileExists(S(argument))) {
        OpenLeagueFile(argument);
    } else if (FileExists(besideProgram)) {
        OpenLeagueFile(Q(besideProgram));
    } else {
        ShowMessage(this, Quoted(argument) + " does not exist!", "File Not Found",
                    MessageIcon::Exclamation);
    }
}

void frmRaces::OpenLeagueFile(const QString& path) {
    if (!FileExists(S(path))) {
        ShowMessage(this, Quoted(path) + " does not exist!", "Open File Error",
                    MessageIcon::Exclamation);
        return;
    }
    if (league_) {
        CloseLeagueFile();
    }
    const QString full = FullPath(path);
    SetLeagueCaption(full);
    try {
        BusyPointer busy;
        league_ = std::make_unique<League>(*program_, S(full));
    } catch (const LeagueOpenError& e) {
        setWindowTitle(kBaseCaption);
        const QString message = e.GetKind() == LeagueOpenError::Kind::Missing
                                    ? Quoted(path) + " does not exist!"
                                    : Q(e.what());
        ShowMessage(this, message, "Open File Error", MessageIcon::Exclamation);
        return;
    } catch (const std::exception& e) {
        setWindowTitle(kBaseCaption);
        ShowMessage(this, Q(e.what()), "Open File Error", MessageIcon::Exclamation);
        return;
    }

    constexpr int kNascarRacing4 = 3;
    if (league_->Settings().simTitle == kNascarRacing4 && Trim(program_->SimPath()[2]).empty()) {
        ShowMessage(this,
                    "Scorewell needs to know the path of\r\nNASCAR Racing 4 before this file "
                    "can be\r\nopened.",
                    "Missing Path", MessageIcon::Exclamation);
        ShowOptions();
        if (Trim(program_->SimPath()[2]).empty()) {
            CloseLeagueFile();
            return;
        }
    }
    RefreshRaceList();
    AddRecentFile(full);
    // With the league in view: what the user should know about it, in one message.
    if (!league_->Warnings().empty()) {
        QStringList warnings;
        for (const std::string& warning : league_->Warnings()) {
            warnings << Q(warning);
        }
        ShowMessage(this, warnings.join("\r\n\r\n"), "Warning", MessageIcon::Exclamation);
    }
    if (league_->Settings().simTitle == kNascarRacing4) {
        // The import windows take the NASCAR Racing 4 tracks from here.
        try {
            program_->TrackCatalogue();
        } catch (const std::exception& e) {
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        }
    }
}

void frmRaces::CloseLeagueFile() {
    if (league_) {
        try {
            BusyPointer busy;
            league_->Close();
        } catch (const std::exception& e) {
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        }
        league_.reset();
    }
    ClearGrid();
    for (QPushButton* b : cmdButton) {
        b->setEnabled(false);
    }
    for (QAction* a : mnuRace) {
        a->setEnabled(a->isSeparator());
    }
    for (QAction* a : mnuTools) {
        a->setEnabled(a->isSeparator());
    }
    mnuFile[8]->setEnabled(false);
    setWindowTitle(kBaseCaption);
}

void frmRaces::ClearGrid() {
    fgRaces->clearContents();
    fgRaces->setRowCount(1);
    auto* first = new QTableWidgetItem;
    first->setData(Qt::UserRole, 0);
    fgRaces->setItem(0, kRace, first);
    fgRaces->setCurrentCell(0, 0);
    fgRaces->selectRow(0);
}

void frmRaces::RefreshRaceList() {
    if (!league_) {
        return;
    }
    std::vector<RaceListRow> races;
    try {
        races = ReadRaceList(league_->Db());
    } catch (const std::exception& e) {
        ShowMessage(this,
                    "The races of " + Quoted(Q(league_->Path())) +
                        " cannot be listed: " + Q(e.what()),
                    "Error", MessageIcon::Exclamation);
    }
    fgRaces->setUpdatesEnabled(false);
    fgRaces->clearContents();
    fgRaces->setRowCount(static_cast<int>(races.size()));
    for (int r = 0; r < static_cast<int>(races.size()); ++r) {
        const RaceListRow& race = races[static_cast<std::size_t>(r)];
        const std::string* texts[kColumns] = {&race.name, &race.laps, &race.miles, &race.fileName};
        for (int c = 0; c < kColumns; ++c) {
            auto* cell = new QTableWidgetItem(Q(*texts[c]));
            cell->setTextAlignment(kGridColumns[c].alignment);
            fgRaces->setItem(r, c, cell);
        }
        fgRaces->item(r, kRace)->setData(Qt::UserRole, race.raceId);
    }
    if (races.empty()) {
        ClearGrid();
    }
    SetRaceCommands(!races.empty());
    cmdButton[3]->setEnabled(true);
    mnuRace[0]->setEnabled(true);
    mnuFile[8]->setEnabled(true);
    mnuTools[0]->setEnabled(true);
    mnuTools[1]->setEnabled(true);
    mnuTools[3]->setEnabled(league_->Settings().leagueType == 1);
    fgRaces->setCurrentCell(0, 0);
    fgRaces->selectRow(0);
    fgRaces->setUpdatesEnabled(true);
    fgRaces_SelChange();
}

void frmRaces::SetRaceCommands(bool enabled) {
    // Remove, Calculate, Edit and HTML.
    for (int i : {2, 0, 1, 4}) {
        cmdButton[i]->setEnabled(enabled);
    }
    for (int i : {1, 4, 2, 6}) {
        mnuRace[i]->setEnabled(enabled);
    }
}

void frmRaces::SetLeagueCaption(const QString& path) {
    setWindowTitle(kBaseCaption + " - " + Q(FileNameOf(S(path), true)));
}

std::pair<int, int> frmRaces::SelectedRows() const {
    return SelectedRowSpan(fgRaces);
}

std::int32_t frmRaces::RowRaceID(int row) const {
    return RowKey(fgRaces, row, kRace);
}

void frmRaces::fgRaces_SelChange() {
    const auto [top, bottom] = SelectedRows();
    const QTableWidgetItem* first = fgRaces->item(0, kRace);
    const bool enabled = league_ && first && !first->text().isEmpty() && top == bottom;
    cmdButton[1]->setEnabled(enabled);
    cmdButton[4]->setEnabled(enabled);
    mnuRace[2]->setEnabled(enabled);
    mnuRace[6]->setEnabled(enabled);
}

void frmRaces::fgRaces_DblClick(int row) {
    if (league_ && RowRaceID(row) >= 1) {
        RunLeagueCommand(LeagueCommand::Edit);
    }
}

void frmRaces::RemoveRaces() {
    if (!league_) {
        return;
    }
    const auto [top, bottom] = SelectedRows();
    std::vector<std::int32_t> ids;
    for (int row = bottom; row >= top; --row) {
        ids.push_back(RowRaceID(row));
    }
    try {
        BusyPointer busy;
        scorewell::RemoveRaces(league_->Db(), ids);
    } catch (const std::exception& e) {
        ShowMessage(this, "The races could not be removed; nothing was removed.\n\n" + Q(e.what()),
                    "Error", MessageIcon::Exclamation);
        return;
    }
    fgRaces->setUpdatesEnabled(false);
    for (int row = bottom; row >= top; --row) {
        if (fgRaces->rowCount() < 2) {
            ClearGrid();
            SetRaceCommands(false);
        } else {
            fgRaces->removeRow(row);
        }
    }
    const int current = std::min(top, fgRaces->rowCount() - 1);
    fgRaces->setCurrentCell(current, 0);
    fgRaces->selectRow(current);
    fgRaces->setUpdatesEnabled(true);
    fgRaces_SelChange();
}

void frmRaces::LoadRecentFiles() {
    recent_.Load(program_->Db());
    ShowRecentFiles();
}

void frmRaces::AddRecentFile(const QString& path) {
    recent_.Add(S(path));
    ShowRecentFiles();
}

void frmRaces::ShowRecentFiles() {
    for (int k = 0; k < RecentFiles::kCount; ++k) {
        QString entry = Q(recent_.Entry(k));
        QAction* action = mnuFile[12 + k];
        const bool used = !entry.trimmed().isEmpty();
        if (used) {
            action->setText(QString("&%1 ").arg(k + 1) + entry.replace("&", "&&"));
        }
        action->setVisible(used);
    }
    mnuFile[16]->setVisible(recent_.Any());
}

void frmRaces::SaveRecentFiles() {
    if (!program_) {
        return;
    }
    try {
        recent_.Save(program_->Db());
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
    }
}

void frmRaces::closeEvent(QCloseEvent* event) {
    CloseLeagueFile();
    SaveRecentFiles();
    event->accept();
}

bool frmRaces::eventFilter(QObject* watched, QEvent* event) {
    if (watched != fgRaces || event->type() != QEvent::KeyPress) {
        return QMainWindow::eventFilter(watched, event);
    }
    switch (GridKeyOf(static_cast<QKeyEvent*>(event))) {
    case GridKey::SelectAll:
        fgRaces->selectAll();
        fgRaces_SelChange();
        return true;
    case GridKey::Insert:
        if (cmdButton[3]->isEnabled()) {
            RunLeagueCommand(LeagueCommand::Import);
        }
        return true;
    case GridKey::Delete:
        if (cmdButton[2]->isEnabled()) {
            RemoveRaces();
        }
        return true;
    case GridKey::Enter: {
        const auto [top, bottom] = SelectedRows();
        if (top == bottom && cmdButton[1]->isEnabled()) {
            RunLeagueCommand(LeagueCommand::Edit);
        }
        return true;
    }
    case GridKey::None:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmRaces::mnuFile_Click(int index) {
    switch (index) {
    case 0:
        NewFile();
        break;
    case 1:
        OpenFile();
        break;
    case 8:
        ShowProperties();
        break;
    case 10:
        ShowOptions();
        break;
    case 12:
    case 13:
    case 14:
    case 15:
        OpenLeagueFile(Q(recent_.Entry(index - 12)));
        break;
    case 17:
        close();
        break;
    default:
        break;
    }
}

void frmRaces::mnuRace_Click(int index) {
    switch (index) {
    case 0:
        RunLeagueCommand(LeagueCommand::Import);
        break;
    case 1:
        RemoveRaces();
        break;
    case 2:
        RunLeagueCommand(LeagueCommand::Edit);
        break;
    case 4:
        RunLeagueCommand(LeagueCommand::Calculate);
        break;
    case 6:
        RunLeagueCommand(LeagueCommand::RaceHTML);
        break;
    default:
        break;
    }
}

void frmRaces::mnuTools_Click(int index) {
    switch (index) {
    case 0:
        RunLeagueCommand(LeagueCommand::DriverList);
        break;
    case 1:
        RunLeagueCommand(LeagueCommand::PointSystem);
        break;
    case 3:
        RunLeagueCommand(LeagueCommand::OfflineSettings);
        break;
    default:
        break;
    }
}

void frmRaces::mnuHelp_Click(int index) {
    if (index == 0) {
        ViewReadMe();
    } else {
        ShowAbout();
    }
}

void frmRaces::cmdButton_Click(int index) {
    switch (index) {
    case 0:
        RunLeagueCommand(LeagueCommand::Calculate);
        break;
    case 1:
        RunLeagueCommand(LeagueCommand::Edit);
        break;
    case 2:
        RemoveRaces();
        break;
    case 3:
        RunLeagueCommand(LeagueCommand::Import);
        break;
    case 4:
        RunLeagueCommand(LeagueCommand::RaceHTML);
        break;
    default:
        break;
    }
}

void frmRaces::NewFile() {
    frmSLFProperties dialog(this);
    dialog.setNewDialog(true);
    dialog.setWindowTitle("New Scorewell File");
    dialog.setCurrentDB(league_.get());
    dialog.setTabulonDB(program_.get());
    connect(&dialog, &frmSLFProperties::currentDBClosing, this, [this] { CloseLeagueFile(); });
    TheDesktop().ShowModal(&dialog);
    if (!dialog.FileName().trimmed().isEmpty()) {
        OpenLeagueFile(dialog.FileName());
    }
}

void frmRaces::OpenFile() {
    FileDialogRequest request;
    request.filter = "Scorewell File (*.slf)|*.slf";
    request.initialFolder = Q(program_->Folder());
    const QString chosen = TheDesktop().OpenFile(this, request);
    if (!chosen.isEmpty()) {
        OpenLeagueFile(chosen);
    }
}

void frmRaces::ShowProperties() {
    if (!league_) {
        return;
    }
    const WorkingSettings& s = league_->Settings();
    frmSLFProperties dialog(this);
    dialog.setWindowTitle("Properties - " + Q(FileNameOf(league_->Path(), true)));
    dialog.setTabulonDB(program_.get());
    dialog.setCurrentDB(league_.get());
    dialog.setNewDialog(false);
    dialog.setFileName(Q(league_->Path()));
    dialog.setSimTitle(s.simTitle);
    dialog.setDroppedRaces(s.droppedRaces);
    dialog.setLeagueType(s.leagueType);
    dialog.setLapReportingMethod(s.lapReportingMethod);
    TheDesktop().ShowModal(&dialog);
    if (!dialog.Cancelled()) {
        try {
            SaveLeagueProperties(*league_, dialog.DroppedRaces(), dialog.LapReportingMethod());
        } catch (const std::exception& e) {
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        }
    }
}

void frmRaces::ShowOptions() {
    frmOptions dialog(this);
    dialog.setOptions(LoadProgramOptions(*program_));
    TheDesktop().ShowModal(&dialog);
    if (!dialog.Cancelled()) {
        try {
            StoreProgramOptions(*program_, dialog.Options());
        } catch (const std::exception& e) {
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        }
    }
}

void frmRaces::ViewReadMe() {
    // The program folder first, then the shipped copy.
    const QStringList candidates = {
        Q(JoinPath(program_->Folder(), "ReadMe.htm")),
        ShippedFilePath(QApplication::applicationDirPath(), "ReadMe.htm"),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            if (!TheDesktop().ShellOpen(QFileInfo(candidate).absoluteFilePath())) {
                break;
            }
            return;
        }
    }
    ShowMessage(this, "The ReadMe.htm file is missing.", "Error", MessageIcon::Exclamation);
}

void frmRaces::ShowAbout() {
    frmSplash about(this);
    about.ShowAbout();
}

void frmRaces::RunLeagueCommand(LeagueCommand command) {
    if (!league_) {
        return;
    }
    const LeagueCommandHandler* handler = FindLeagueCommand(command);
    if (!handler) {
        ShowMessage(this, "This command is not available yet.", kBaseCaption,
                    MessageIcon::Information);
        return;
    }
    LeagueCommandContext context{this, *program_, *league_, RowRaceID(fgRaces->currentRow())};
    const bool import = command == LeagueCommand::Import;
    if (import) {
        centralWidget()->setEnabled(false);
        menuBar()->setEnabled(false);
    }
    try {
        (*handler)(context);
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
    }
    if (import) {
        centralWidget()->setEnabled(true);
        menuBar()->setEnabled(true);
        RefreshRaceList();
    }
    if (command == LeagueCommand::PointSystem) {
        league_->Settings().useCustomPointSystem = ReadSettingSwitch(league_->Db(), 13);
        league_->Settings().useCustomBonusSystem = ReadSettingSwitch(league_->Db(), 14);
    }
}

} // namespace scorewell::gui
