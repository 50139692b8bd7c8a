#include <QPointer>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "GuiHarness.h"
#include "app/OptionsDialog.h"
#include "app/SplashWindow.h"

namespace scorewell::gui::test {
namespace {

class MainWindowTest : public GuiTest {
protected:
    // The title, the race grid and the commands: Remove, Calculate, Edit, HTML and Import by
    // their buttons and race menu items, which must agree; Properties, Driver List, Point System,
    // Offline Settings; those always there; the first two recent files.
    Steps Commands() {
        return Steps({"windowTitle", "fgRaces",     "cmdButton_0", "cmdButton_1", "cmdButton_2",
                      "cmdButton_3", "cmdButton_4", "mnuRace_0",   "mnuRace_1",   "mnuRace_2",
                      "mnuRace_4",   "mnuRace_6",   "mnuFile_8",   "mnuTools_0",  "mnuTools_1",
                      "mnuTools_3",  "mnuFile_0",   "mnuFile_1",   "mnuFile_10",  "mnuFile_17",
                      "mnuHelp_0",   "mnuHelp_1",   "mnuFile_12",  "mnuFile_13"},
                     {{dir.File(""), "<folder>/"}});
    }
    std::string ThreeRaces() {
        return MakeLeague(
            "cup.slf", {{"Daytona", 200, 2.5f}, {"Atlanta", 187, 2.5f}, {"Bristol", 500, 0.533f}});
    }
};

TEST_F(MainWindowTest, CommandsFollowTheStateOfTheLeagueAndTheSelection) {
    // The window after each step (golden main-window-commands): without a league New, Open,
    // Options, Exit and Help only; Offline Settings for an off-line league alone; the races in
    // the grid, each with its length; Edit and HTML need exactly one selected race, whichever
    // way it was selected; Remove any.
    Steps steps = Commands();
    steps.Note("no league", window.get());
    for (const std::string& league :
         {MakeLeague("empty.slf"), MakeLeague("offline.slf", {{"Night", 100, 1.0f}}, 0, 1),
          ThreeRaces()}) {
        Open(league);
        steps.Note("opened " + league, window.get());
    }
    EXPECT_EQ(Grid()->item(1, 0)->data(Qt::UserRole).toInt(), 2);
    for (auto [first, last] : {std::pair{1, 1}, {0, 1}, {2, 1}, {2, 2}}) {
        SelectRows(first, last);
        steps.Note("rows clicked: " + std::to_string(first) + " to " + std::to_string(last),
                   window.get());
    }
    QTest::keyClick(Grid(), Qt::Key_A, Qt::ControlModifier);
    steps.Note("Ctrl+A", window.get());
    steps.Expect("main-window-commands");
}

TEST_F(MainWindowTest, GridKeysAndButtonsRunTheirCommandsAndRemoveTakesTheSelectedRaces) {
    std::vector<std::pair<std::string, std::int32_t>> runs;
    SetLeagueCommand(LeagueCommand::Edit, [&](LeagueCommandContext& c) {
        runs.push_back({"edit", c.raceId});
    });
    SetLeagueCommand(LeagueCommand::Import, [&](LeagueCommandContext& c) {
        EXPECT_FALSE(window->centralWidget()->isEnabled());
        c.league.Db().Execute("INSERT INTO Race (Name, Laps, Length) VALUES ('Imported', 10, 1)");
        runs.push_back({"import", 0});
    });
    const std::string cup = ThreeRaces();
    Open(cup);
    SelectRows(1, 1);
    QTest::keyClick(Grid(), Qt::Key_Return);
    DoubleClick(Grid(), 2);
    QTest::mouseClick(Button(1), Qt::LeftButton);
    // Enter with two rows selected does nothing.
    SelectRows(0, 1);
    QTest::keyClick(Grid(), Qt::Key_Enter);
    QTest::keyClick(Grid(), Qt::Key_Insert);
    EXPECT_TRUE(window->centralWidget()->isEnabled());
    EXPECT_EQ(runs, (std::vector<std::pair<std::string, std::int32_t>>{
                        {"edit", 2}, {"edit", 3}, {"edit", 3}, {"import", 0}}));
    // The race list shows what the import added.
    EXPECT_EQ(GridNames(), (QStringList{"Daytona", "Atlanta", "Bristol", "Imported"}));

    // After Point System the league's point switches are read again.
    SetLeagueCommand(LeagueCommand::PointSystem,
                     [](LeagueCommandContext& c) { WriteSetting(c.league.Db(), 13, "1"); });
    Menu("mnuTools_1")->trigger();
    EXPECT_TRUE(window->GetLeague()->Settings().useCustomPointSystem);
    EXPECT_FALSE(window->GetLeague()->Settings().useCustomBonusSystem);

    // A removal the file refuses half-way is reported and the list stays (that it removes
    // nothing RaceRemovalTest.ARemovalThatFailsHalfwayRemovesNothing checks).
    Database& db = window->GetLeague()->Db();
    db.Execute("CREATE TEMP TRIGGER refuse BEFORE DELETE ON main.Race WHEN old.Name='Daytona' "
               "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    QTest::keyClick(Grid(), Qt::Key_A, Qt::ControlModifier);
    desktop.ExpectMessage("Error", MessageAnswer::OK, "nothing was removed");
    QTest::keyClick(Grid(), Qt::Key_Delete);
    EXPECT_EQ(GridNames(), (QStringList{"Daytona", "Atlanta", "Bristol", "Imported"}));
    db.Execute("DROP TRIGGER refuse");

    SelectRows(3, 1);
    QTest::mouseClick(Button(2), Qt::LeftButton);
    EXPECT_EQ(GridNames(), QStringList{"Daytona"});
    EXPECT_EQ(CountRows(cup, "Race"), 1);
    EXPECT_EQ(desktop.BusyDepth(), 0);

    // The last race leaves the empty row, on which Delete, Enter and a double click do nothing
    // (golden main-window-emptied).
    SelectRows(0, 0);
    QTest::keyClick(Grid(), Qt::Key_Delete);
    EXPECT_EQ(Grid()->item(0, 0)->data(Qt::UserRole).toInt(), 0);
    QTest::keyClick(Grid(), Qt::Key_Delete);
    DoubleClick(Grid(), 0);
    QTest::keyClick(Grid(), Qt::Key_Return);
    Steps steps = Commands();
    steps.Note("the last race removed, then Delete, a double click and Enter", window.get());
    steps.Expect("main-window-emptied");
    EXPECT_EQ(runs.size(), 4u);
}

TEST_F(MainWindowTest, FileOpenStartsInTheProgramFolderAndWhatCannotBeOpenedIsReported) {
    const std::string cup = ThreeRaces();
    desktop.ExpectOpenFile("");
    Menu("mnuFile_1")->trigger();
    EXPECT_EQ(window->GetLeague(), nullptr);
    EXPECT_EQ(desktop.FileRequests().back().initialFolder.toStdString(), programFolder);
    desktop.ExpectOpenFile(Q(cup));
    Menu("mnuFile_1")->trigger();
    // A missing file leaves the open league open.
    desktop.ExpectMessage("Open File Error");
    Open(dir.File("gone.slf"));
    EXPECT_EQ(desktop.Messages().back().text,
              Q("\"" + dir.File("gone.slf") + "\" does not exist!"));
    EXPECT_NE(window->GetLeague(), nullptr);

    // Anything else is found out after the open league was closed. That the file is left as it
    // was RefusedLeaguesTest checks.
    const std::string text = dir.File("notes.slf");
    scorewell::test::WriteFileBytes(text, "Race results, typed by hand\r\n");
    const std::string locked = MakeLeague("locked.slf");
    chmod(locked.c_str(), 0444);
    for (auto [file, message] : {std::pair{text, "is not a Scorewell league file"},
                                 {locked, "cannot be opened for writing"}}) {
        if (file == locked && geteuid() == 0) {
            continue; // file permissions do not bind the superuser
        }
        desktop.ExpectMessage("Open File Error", MessageAnswer::OK, message);
        Open(file);
        EXPECT_EQ(window->GetLeague(), nullptr) << file;
    }
    chmod(locked.c_str(), 0644);
    // No league and its commands off; only the league that opened is listed (golden
    // main-window-refused).
    Steps steps = Commands();
    steps.Note("the refused files opened", window.get());
    steps.Expect("main-window-refused");
}

TEST_F(MainWindowTest, DriversWhoseNamesClashAreShownInOneWarningWithTheLeagueOpen) {
    const std::string cup = ThreeRaces();
    {
        Database db = Database::Open(cup);
        db.Execute("INSERT INTO Driver (Name) VALUES ('Zoë Ødegård'), ('ANN ABLE'), "
                   "('ZOË ØDEGÅRD')");
    }
    desktop.ExpectMessage("Warning");
    Open(cup);
    desktop.VerifyAllAnswered();
    // The core tests word each clash; here both come in one message, a blank line apart.
    const QString text = desktop.Messages().back().text;
    EXPECT_TRUE(text.startsWith("The drivers \"Ann Able\" and \"ANN ABLE\" are one name"))
        << S(text);
    EXPECT_TRUE(text.contains(".\r\n\r\nThe drivers \"Zoë Ødegård\" and \"ZOË ØDEGÅRD\""))
        << S(text);
    EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::Exclamation);
    EXPECT_EQ(GridNames(), (QStringList{"Daytona", "Atlanta", "Bristol"}));
}

TEST_F(MainWindowTest, ANascarRacing4LeagueNeedsItsFolder) {
    const std::string nr4 = MakeLeague("nr4.slf", {{"Michigan", 200, 2.0f}}, 3);
    const QString missing = "Scorewell needs to know the path of\r\nNASCAR Racing 4 before this "
                            "file can be\r\nopened.";
    desktop.ExpectMessage("Missing Path", MessageAnswer::OK, missing);
    desktop.OnModal<OptionsDialog>([](OptionsDialog* d) { Click(d, "CancelButton"); });
    Open(nr4);
    // No league, no recent file (golden main-window-no-league).
    Steps steps = Commands();
    steps.Note("the NASCAR Racing 4 league opened without its folder", window.get());
    steps.Expect("main-window-no-league");

    const std::string folder = SimulationFolder("nr4", "NASCAR Racing 4.exe");
    std::filesystem::create_directories(folder + "tracks");
    desktop.ExpectMessage("Missing Path", MessageAnswer::OK, missing);
    desktop.OnModal<OptionsDialog>([&](OptionsDialog* d) {
        Child<QLineEdit>(d, "txtN3Path_2")->setText(Q(folder));
        Click(d, "OKButton");
    });
    Open(nr4);
    ASSERT_NE(window->GetLeague(), nullptr);
    EXPECT_EQ(GridNames(), QStringList{"Michigan"});
    EXPECT_TRUE(window->GetProgram()->HasTrackCatalogue());
}

TEST_F(MainWindowTest, HelpOpensTheReadMeAndTheAboutWindow) {
    desktop.ExpectMessage("Error", MessageAnswer::OK, "The ReadMe.htm file is missing.");
    Menu("mnuHelp_0")->trigger();

    const std::string readMe = programFolder + "/ReadMe.htm";
    scorewell::test::WriteFileBytes(readMe, "<html></html>");
    desktop.ExpectShellOpen(true);
    Menu("mnuHelp_0")->trigger();
    EXPECT_EQ(desktop.OpenedDocuments().back().toStdString(), readMe);
    desktop.ExpectShellOpen(false);
    desktop.ExpectMessage("Error", MessageAnswer::OK, "The ReadMe.htm file is missing.");
    Menu("mnuHelp_0")->trigger();

    // A click on the About window closes it.
    desktop.OnModal<SplashWindow>([&](SplashWindow* about) {
        QTest::mouseClick(Child<QLabel>(about, "lblInfo"), Qt::LeftButton);
    });
    Menu("mnuHelp_1")->trigger();
    EXPECT_EQ(desktop.ModalCount<SplashWindow>(), 1);
}

TEST_F(MainWindowTest, TheSplashClosesItselfWithoutBlocking) {
    window.reset();
    auto started = std::make_unique<MainWindow>();
    ASSERT_TRUE(started->Load(Q(programFolder), {}));
    QWidget* splash = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "frmSplash" && w->isVisible()) {
            splash = w;
        }
    }
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    QPointer<QWidget> watch(splash);
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch.isNull(); }, 5000));
}

} // namespace
} // namespace scorewell::gui::test
