#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <filesystem>

#include "app/OptionsDialog.h"
#include "app/SplashWindow.h"
#include "common/Controls.h"
#include "common/Domain.h"
#include "common/Paths.h"
#include "common/ShippedFiles.h"
#include "common/Text.h"
#include "data/League.h"
#include "data/LeagueFileActions.h"
#include "data/LeaguePropertiesDialog.h"
#include "data/Program.h"
#include "data/ProgramOptions.h"
#include "data/RaceList.h"
#include "data/Settings.h"
#include "data/SimulationFolders.h"
#include "desktop/Desktop.h"
#include "editing/RaceRemoval.h"
#include "import/Tracks.h"

namespace scorewell::gui {

namespace {

const QString kBaseCaption = "Scorewell";

enum Column { kRace, kLaps, kMiles, kStandingsFile, kColumns };

constexpr ColumnDesign kGridColumns[kColumns] = {
    {"Race", 3000, Qt::AlignLeft | Qt::AlignVCenter},
    {"Laps", 500, Qt::AlignCenter},
    {"Miles", 600, Qt::AlignCenter},
    {"Standings File", 2500, Qt::AlignLeft | Qt::AlignVCenter},
};

// The race list's buttons, by RaceButton.
constexpr ButtonDesign kButtons[5] = {
    {"Calculate"},
    {"Edit"},
    {"Remove"},
    {"Import"},
    {"HTML...", "Export results of selected race to HTML"},
};

constexpr int kButtonWidth = Twips(1215);

QString FullPath(const QString& path) {
    std::error_code ec;
    auto full = std::filesystem::absolute(NativePath(S(path)), ec).lexically_normal();
    return ec ? path : Q(full.string());
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmRaces");
    setWindowTitle(kBaseCaption);
    CreateMenus();
    CreateRaceList();
    CloseLeagueFile();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateMenus() {
    // An item of a menu's control array, named by its index, running what it stands for.
    auto item = [this](QMenu* menu, const char* array, auto index, const QString& caption,
                       auto run) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString("%1_%2").arg(array).arg(static_cast<int>(index)));
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    auto separator = [](QMenu* menu, const char* array, auto index) {
        QAction* action = menu->addSeparator();
        action->setObjectName(QString("%1_%2").arg(array).arg(static_cast<int>(index)));
        return action;
    };
    auto pad = [this](const char* caption, const char* name) {
        QMenu* menu = menuBar()->addMenu(caption);
        menu->setObjectName(name);
        return menu;
    };

    QMenu* file = pad("&File", "mnuFilePad");
    item(file, "mnuFile", FileMenu::New, "&New", [this] { NewFile(); });
    item(file, "mnuFile", FileMenu::Open, "&Open...", [this] { OpenFile(); });
    file->addSeparator();
    Item(FileMenu::Properties) =
        item(file, "mnuFile", FileMenu::Properties, "&Properties", [this] { ShowProperties(); });
    Item(FileMenu::PublishSeason) =
        item(file, "mnuFile", FileMenu::PublishSeason, "Publish &Season...",
             Command(LeagueCommand::PublishSeason));
    file->addSeparator();
    item(file, "mnuFile", FileMenu::Options, "Op&tions", [this] { ShowOptions(); });
    file->addSeparator();
    for (int k = 0; k < RecentFiles::kCount; ++k) {
        const int index = static_cast<int>(FileMenu::FirstRecent) + k;
        QAction* recent = item(file, "mnuFile", index, QString("Recent File %1").arg(k + 1),
                               [this, k] { OpenLeagueFile(Q(recent_.Entry(k))); });
        recent->setVisible(false);
        fileItems_[static_cast<std::size_t>(index)] = recent;
    }
    Item(FileMenu::RecentSeparator) = separator(file, "mnuFile", FileMenu::RecentSeparator);
    Item(FileMenu::RecentSeparator)->setVisible(false);
    item(file, "mnuFile", FileMenu::Exit, "&Exit", [this] { close(); });

    raceMenu_ = pad("&Race", "mnuRacePad");
    Item(RaceMenu::Import) =
        item(raceMenu_, "mnuRace", RaceMenu::Import, "&Import...", Command(LeagueCommand::Import));
    Item(RaceMenu::Remove) =
        item(raceMenu_, "mnuRace", RaceMenu::Remove, "&Remove", [this] { RemoveRaces(); });
    Item(RaceMenu::Edit) =
        item(raceMenu_, "mnuRace", RaceMenu::Edit, "&Edit...", Command(LeagueCommand::Edit));
    separator(raceMenu_, "mnuRace", RaceMenu::Separator1);
    Item(RaceMenu::Calculate) = item(raceMenu_, "mnuRace", RaceMenu::Calculate, "&Calculate...",
                                     Command(LeagueCommand::Calculate));
    separator(raceMenu_, "mnuRace", RaceMenu::Separator2);
    Item(RaceMenu::HTML) =
        item(raceMenu_, "mnuRace", RaceMenu::HTML, "&HTML", Command(LeagueCommand::RaceHTML));

    toolsMenu_ = pad("&Tools", "mnuToolsPad");
    Item(ToolsMenu::DriverList) = item(toolsMenu_, "mnuTools", ToolsMenu::DriverList,
                                       "&Driver List", Command(LeagueCommand::DriverList));
    Item(ToolsMenu::PointSystem) = item(toolsMenu_, "mnuTools", ToolsMenu::PointSystem,
                                        "&Point System", Command(LeagueCommand::PointSystem));
    Item(ToolsMenu::Adjustments) =
        item(toolsMenu_, "mnuTools", ToolsMenu::Adjustments, "Penalties and &Adjustments",
             Command(LeagueCommand::Adjustments));
    separator(toolsMenu_, "mnuTools", ToolsMenu::Separator);
    Item(ToolsMenu::OfflineSettings) =
        item(toolsMenu_, "mnuTools", ToolsMenu::OfflineSettings, "Offline Settings",
             Command(LeagueCommand::OfflineSettings));

    QMenu* help = pad("&Help", "mnuHelpPad");
    item(help, "mnuHelp", HelpMenu::ReadMe, "View &ReadMe.htm", [this] { ViewReadMe(); });
    item(help, "mnuHelp", HelpMenu::About, "&About", [this] { ShowAbout(); });
}

void MainWindow::CreateRaceList() {
    auto* central = new QWidget(this);
    central->setObjectName("frmRacesClient");

    ListGridKeys keys;
    keys.insert = [this] {
        if (Button(RaceButton::Import)->isEnabled()) {
            RunLeagueCommand(LeagueCommand::Import);
        }
    };
    keys.remove = [this] {
        if (Button(RaceButton::Remove)->isEnabled()) {
            RemoveRaces();
        }
    };
    keys.open = [this] {
        const auto [top, bottom] = SelectedRows();
        if (top == bottom && Button(RaceButton::Edit)->isEnabled()) {
            RunLeagueCommand(LeagueCommand::Edit);
        }
    };
    grid_ = NewListGrid("fgRaces", kGridColumns, keys, central);
    connect(grid_, &QTableWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (league_ && RowRaceID(row) >= 1) {
            RunLeagueCommand(LeagueCommand::Edit);
        }
    });

    buttons_ = NewIndexedButtons(central, kButtons, kButtonWidth,
                                 {Command(LeagueCommand::Calculate), Command(LeagueCommand::Edit),
                                  [this] { RemoveRaces(); }, Command(LeagueCommand::Import),
                                  Command(LeagueCommand::RaceHTML)});
    // HTML stays at the grid's left edge; the others line up on the right, Calculate last.
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(Twips(60));
    buttons->addWidget(Button(RaceButton::HTML));
    buttons->addStretch(1);
    for (RaceButton b :
         {RaceButton::Import, RaceButton::Remove, RaceButton::Edit, RaceButton::Calculate}) {
        buttons->addWidget(Button(b));
    }

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(Twips(30), Twips(30), Twips(30), Twips(30));
    layout->setSpacing(Twips(90));
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    setCentralWidget(central);
    // Small enough for any screen, large enough that the buttons stay apart and the grid shows
    // its heading and a few races; set on the window so window managers honour it too.
    setMinimumSize(minimumSizeHint().width(),
                   minimumSizeHint().height() + 5 * grid_->verticalHeader()->defaultSectionSize());
}

bool MainWindow::Load(const QString& programFolder, const QString& commandLine) {
    if (showSplash_) {
        (new SplashWindow)->ShowSplash();
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

bool MainWindow::OpenProgram(const QString& programFolder) {
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
                const std::string kept = Program::ReplaceFromDefaults(folder);
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

void MainWindow::OpenFromCommandLine(const QString& commandLine) {
    const QString line = commandLine.trimmed();
    if (line.isEmpty()) {
        if (ReadSettingFlag(program_->Db(), ProgramSettingId::OpenRecentAtStart)) {
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

void MainWindow::OpenLeagueFile(const QString& path) {
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

    const bool nascar4 = league_->Settings().simTitle == Simulation::NascarRacing4;
    const auto nascar4Folder =
        static_cast<std::size_t>(SimulationFolderIndex(Simulation::NascarRacing4));
    if (nascar4 && Trim(program_->SimPath()[nascar4Folder]).empty()) {
        ShowMessage(this,
                    "Scorewell needs to know the path of\r\nNASCAR Racing 4 before this file "
                    "can be\r\nopened.",
                    "Missing Path", MessageIcon::Exclamation);
        ShowOptions();
        if (Trim(program_->SimPath()[nascar4Folder]).empty()) {
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
    if (nascar4) {
        // The import windows take the NASCAR Racing 4 tracks from here.
        try {
            TrackCatalogue(*program_);
        } catch (const std::exception& e) {
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        }
    }
}

void MainWindow::CloseLeagueFile() {
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
    for (QPushButton* b : buttons_) {
        b->setEnabled(false);
    }
    for (QMenu* menu : {raceMenu_, toolsMenu_}) {
        for (QAction* a : menu->actions()) {
            a->setEnabled(a->isSeparator());
        }
    }
    Item(FileMenu::Properties)->setEnabled(false);
    Item(FileMenu::PublishSeason)->setEnabled(false);
    setWindowTitle(kBaseCaption);
}

void MainWindow::ClearGrid() {
    grid_->clearContents();
    grid_->setRowCount(1);
    auto* first = new QTableWidgetItem;
    first->setData(Qt::UserRole, 0);
    grid_->setItem(0, kRace, first);
    grid_->setCurrentCell(0, 0);
    grid_->selectRow(0);
}

void MainWindow::RefreshRaceList() {
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
    grid_->setUpdatesEnabled(false);
    grid_->clearContents();
    grid_->setRowCount(static_cast<int>(races.size()));
    for (int r = 0; r < static_cast<int>(races.size()); ++r) {
        const RaceListRow& race = races[static_cast<std::size_t>(r)];
        const std::string* texts[kColumns] = {&race.name, &race.laps, &race.miles, &race.fileName};
        for (int c = 0; c < kColumns; ++c) {
            auto* cell = new QTableWidgetItem(Q(*texts[c]));
            cell->setTextAlignment(kGridColumns[c].alignment);
            grid_->setItem(r, c, cell);
        }
        grid_->item(r, kRace)->setData(Qt::UserRole, race.raceId);
    }
    if (races.empty()) {
        ClearGrid();
    }
    SetRaceCommands(!races.empty());
    Button(RaceButton::Import)->setEnabled(true);
    Item(RaceMenu::Import)->setEnabled(true);
    Item(FileMenu::Properties)->setEnabled(true);
    Item(FileMenu::PublishSeason)->setEnabled(true);
    Item(ToolsMenu::DriverList)->setEnabled(true);
    Item(ToolsMenu::PointSystem)->setEnabled(true);
    Item(ToolsMenu::Adjustments)->setEnabled(true);
    Item(ToolsMenu::OfflineSettings)
        ->setEnabled(league_->Settings().leagueType == LeagueType::Offline);
    grid_->setCurrentCell(0, 0);
    grid_->selectRow(0);
    grid_->setUpdatesEnabled(true);
    SelectionChanged();
}

void MainWindow::SetRaceCommands(bool enabled) {
    for (RaceButton b :
         {RaceButton::Remove, RaceButton::Calculate, RaceButton::Edit, RaceButton::HTML}) {
        Button(b)->setEnabled(enabled);
    }
    for (RaceMenu i : {RaceMenu::Remove, RaceMenu::Calculate, RaceMenu::Edit, RaceMenu::HTML}) {
        Item(i)->setEnabled(enabled);
    }
}

void MainWindow::SetLeagueCaption(const QString& path) {
    setWindowTitle(kBaseCaption + " - " + Q(FileNameOf(S(path), true)));
}

std::pair<int, int> MainWindow::SelectedRows() const {
    return SelectedRowSpan(grid_);
}

std::int32_t MainWindow::RowRaceID(int row) const {
    return RowKey(grid_, row, kRace);
}

void MainWindow::SelectionChanged() {
    const auto [top, bottom] = SelectedRows();
    const QTableWidgetItem* first = grid_->item(0, kRace);
    // Edit and HTML work on one race.
    const bool enabled = league_ && first && !first->text().isEmpty() && top == bottom;
    Button(RaceButton::Edit)->setEnabled(enabled);
    Button(RaceButton::HTML)->setEnabled(enabled);
    Item(RaceMenu::Edit)->setEnabled(enabled);
    Item(RaceMenu::HTML)->setEnabled(enabled);
}

void MainWindow::RemoveRaces() {
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
        RemoveSeasonRaces(*league_, ids);
    } catch (const std::exception& e) {
        ShowMessage(this, "The races could not be removed; nothing was removed.\n\n" + Q(e.what()),
                    "Error", MessageIcon::Exclamation);
        return;
    }
    grid_->setUpdatesEnabled(false);
    for (int row = bottom; row >= top; --row) {
        if (grid_->rowCount() < 2) {
            ClearGrid();
            SetRaceCommands(false);
        } else {
            grid_->removeRow(row);
        }
    }
    const int current = std::min(top, grid_->rowCount() - 1);
    grid_->setCurrentCell(current, 0);
    grid_->selectRow(current);
    grid_->setUpdatesEnabled(true);
    SelectionChanged();
}

void MainWindow::LoadRecentFiles() {
    recent_.Load(program_->Db());
    ShowRecentFiles();
}

void MainWindow::AddRecentFile(const QString& path) {
    recent_.Add(S(path));
    ShowRecentFiles();
}

void MainWindow::ShowRecentFiles() {
    for (int k = 0; k < RecentFiles::kCount; ++k) {
        QString entry = Q(recent_.Entry(k));
        QAction* action = fileItems_[static_cast<std::size_t>(FileMenu::FirstRecent) +
                                     static_cast<std::size_t>(k)];
        const bool used = !entry.trimmed().isEmpty();
        if (used) {
            action->setText(QString("&%1 ").arg(k + 1) + entry.replace("&", "&&"));
        }
        action->setVisible(used);
    }
    Item(FileMenu::RecentSeparator)->setVisible(recent_.Any());
}

void MainWindow::SaveRecentFiles() {
    if (!program_) {
        return;
    }
    try {
        recent_.Save(program_->Db());
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    CloseLeagueFile();
    SaveRecentFiles();
    event->accept();
}

void MainWindow::NewFile() {
    LeaguePropertiesDialog dialog(*program_, this);
    dialog.SetNewFile(league_.get());
    connect(&dialog, &LeaguePropertiesDialog::openLeagueClosing, this,
            [this] { CloseLeagueFile(); });
    TheDesktop().ShowModal(&dialog);
    if (!dialog.FileName().trimmed().isEmpty()) {
        OpenLeagueFile(dialog.FileName());
    }
}

void MainWindow::OpenFile() {
    FileDialogRequest request;
    request.filter = "Scorewell File (*.slf)|*.slf";
    request.initialFolder = Q(program_->Folder());
    const QString chosen = TheDesktop().OpenFile(this, request);
    if (!chosen.isEmpty()) {
        OpenLeagueFile(chosen);
    }
}

void MainWindow::ShowProperties() {
    if (!league_) {
        return;
    }
    LeaguePropertiesDialog dialog(*program_, this);
    dialog.SetLeague(*league_);
    TheDesktop().ShowModal(&dialog);
    if (!dialog.Cancelled()) {
        try {
            SaveLeagueProperties(*league_, dialog.DroppedRaces(), dialog.LapMethod());
        } catch (const std::exception& e) {
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        }
    }
}

void MainWindow::ShowOptions() {
    OptionsDialog dialog(this);
    dialog.SetOptions(LoadProgramOptions(*program_));
    TheDesktop().ShowModal(&dialog);
    if (!dialog.Cancelled()) {
        try {
            StoreProgramOptions(*program_, dialog.Options());
        } catch (const std::exception& e) {
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        }
    }
}

void MainWindow::ViewReadMe() {
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

void MainWindow::ShowAbout() {
    SplashWindow about(this);
    about.ShowAbout();
}

void MainWindow::RunLeagueCommand(LeagueCommand command) {
    if (!league_) {
        return;
    }
    // Every command has its window once RegisterLeagueWindows ran; tests plug in their own.
    const LeagueCommandHandler* handler = FindLeagueCommand(command);
    if (!handler) {
        return;
    }
    LeagueCommandContext context{this, *program_, *league_, RowRaceID(grid_->currentRow())};
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
        league_->Settings().useCustomPointSystem =
            ReadSettingSwitch(league_->Db(), SettingId::UseCustomPointSystem);
        league_->Settings().useCustomBonusSystem =
            ReadSettingSwitch(league_->Db(), SettingId::UseCustomBonusSystem);
    }
}

std::function<void()> MainWindow::Command(LeagueCommand command) {
    return [this, command] {
        RunLeagueCommand(command);
    };
}

} // namespace scorewell::gui
