#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "GuiTest.h"
#include "app/LeagueCommands.h"
#include "common/Paths.h"
#include "data/Database.h"
#include "data/League.h"
#include "data/Settings.h"

namespace scorewell::gui::test {
namespace {

class MainWindowTest : public GuiTest {
protected:
    void SetUp() override {
        PrepareProgram();
        ASSERT_TRUE(Start());
    }
    void TearDown() override {
        for (auto command :
             {LeagueCommand::Import, LeagueCommand::Edit, LeagueCommand::PointSystem}) {
            SetLeagueCommand(command, nullptr);
        }
        GuiTest::TearDown();
    }

    // The enabled state of the commands that follow the league: Remove, Calculate, Edit, HTML,
    // Import, Properties, Driver List, Point System, Offline Settings.
    std::string States() {
        std::string s;
        for (QObject* o : std::initializer_list<QObject*>{
                 Button(2), Button(0), Button(1), Button(4), Button(3), Menu("mnuFile_8"),
                 Menu("mnuTools_0"), Menu("mnuTools_1"), Menu("mnuTools_3")}) {
            const bool on = o->property("enabled").toBool();
            s += on ? '1' : '0';
        }
        return s;
    }
    // The race menu items follow their buttons.
    void ExpectRaceMenuFollowsButtons() {
        EXPECT_EQ(Menu("mnuRace_0")->isEnabled(), Button(3)->isEnabled());
        EXPECT_EQ(Menu("mnuRace_1")->isEnabled(), Button(2)->isEnabled());
        EXPECT_EQ(Menu("mnuRace_2")->isEnabled(), Button(1)->isEnabled());
        EXPECT_EQ(Menu("mnuRace_4")->isEnabled(), Button(0)->isEnabled());
        EXPECT_EQ(Menu("mnuRace_6")->isEnabled(), Button(4)->isEnabled());
    }
    // A double click as the desktop delivers it: a click, then the second press.
    void DoubleClick(int row) {
        const QPoint at = Grid()->visualRect(Grid()->model()->index(row, 0)).center();
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    std::string ThreeRaces() {
        return MakeLeague(
            "cup.slf", {{"Daytona", 200, 2.5f}, {"Atlanta", 187, 2.5f}, {"Bristol", 500, 0.533f}});
    }
};

TEST_F(MainWindowTest, MenusAndButtonsHaveTheirCaptionsInOrder) {
    auto texts = [](QMenu* menu) {
        QStringList list;
        for (QAction* a : menu->actions()) {
            list << (a->isSeparator() ? "-" : a->text());
        }
        return list;
    };
    EXPECT_EQ(
        texts(Child<QMenu>(window.get(), "mnuFilePad")),
        (QStringList{"&New", "&Open...", "-", "&Properties", "-", "Op&tions", "-", "Recent File 1",
                     "Recent File 2", "Recent File 3", "Recent File 4", "-", "&Exit"}));
    EXPECT_EQ(
        texts(Child<QMenu>(window.get(), "mnuRacePad")),
        (QStringList{"&Import...", "&Remove", "&Edit...", "-", "&Calculate...", "-", "&HTML"}));
    EXPECT_EQ(texts(Child<QMenu>(window.get(), "mnuToolsPad")),
              (QStringList{"&Driver List", "&Point System", "-", "Offline Settings"}));
    EXPECT_EQ(texts(Child<QMenu>(window.get(), "mnuHelpPad")),
              (QStringList{"View &ReadMe.htm", "&About"}));
    EXPECT_EQ(Child<QMenu>(window.get(), "mnuFilePad")->title(), "&File");
    EXPECT_EQ(Child<QMenu>(window.get(), "mnuRacePad")->title(), "&Race");
    EXPECT_EQ(Child<QMenu>(window.get(), "mnuToolsPad")->title(), "&Tools");
    EXPECT_EQ(Child<QMenu>(window.get(), "mnuHelpPad")->title(), "&Help");
    EXPECT_EQ(Menu("mnuFile_17")->text(), "&Exit");
    EXPECT_TRUE(Menu("mnuFile_16")->isSeparator());

    const QStringList captions = {"Calculate", "Edit", "Remove", "Import", "HTML..."};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Button(i)->text(), captions[i]);
    }
    EXPECT_EQ(Button(4)->toolTip(), "Export results of selected race to HTML");
    // Calculate is rightmost, then Edit, Remove, Import; HTML sits at the left edge.
    EXPECT_GT(Button(0)->x(), Button(1)->x());
    EXPECT_GT(Button(1)->x(), Button(2)->x());
    EXPECT_GT(Button(2)->x(), Button(3)->x());
    EXPECT_EQ(Button(4)->x(), Grid()->x());
    EXPECT_GT(Button(4)->y(), Grid()->y() + Grid()->height());

    QHeaderView* header = Grid()->horizontalHeader();
    QStringList headers;
    for (int c = 0; c < Grid()->columnCount(); ++c) {
        headers << Grid()->horizontalHeaderItem(c)->text();
    }
    EXPECT_EQ(headers, (QStringList{"Race", "Laps", "Miles", "Standings File"}));
    EXPECT_EQ(header->sectionSize(0), 200);
    EXPECT_EQ(header->sectionSize(1), 33);
    EXPECT_EQ(header->sectionSize(2), 40);
    EXPECT_EQ(header->sectionSize(3), 167);
}

TEST_F(MainWindowTest, CommandsFollowTheStateOfTheLeague) {
    // No league: New, Open, Options, Exit and Help only.
    EXPECT_EQ(States(), "000000000");
    ExpectRaceMenuFollowsButtons();
    for (const char* always :
         {"mnuFile_0", "mnuFile_1", "mnuFile_10", "mnuFile_17", "mnuHelp_0", "mnuHelp_1"}) {
        EXPECT_TRUE(Menu(always)->isEnabled()) << always;
    }
    EXPECT_EQ(GridNames(), QStringList{""});

    Open(MakeLeague("empty.slf"));
    EXPECT_EQ(States(), "000011110");
    ExpectRaceMenuFollowsButtons();
    EXPECT_EQ(GridNames(), QStringList{""});

    Open(MakeLeague("offline.slf", {{"Night", 100, 1.0f}}, 0, 1));
    EXPECT_EQ(States(), "111111111");
    ExpectRaceMenuFollowsButtons();

    Open(ThreeRaces());
    EXPECT_EQ(States(), "111111110");
    EXPECT_EQ(GridNames(), (QStringList{"Daytona", "Atlanta", "Bristol"}));
    EXPECT_EQ(Grid()->item(0, 1)->text(), "200");
    EXPECT_EQ(Grid()->item(0, 2)->text(), "500");
    EXPECT_EQ(Grid()->item(1, 2)->text(), "468");
    EXPECT_EQ(Grid()->item(2, 2)->text(), "266");
    EXPECT_EQ(Grid()->item(1, 3)->text(), "Atlanta.stn");
    EXPECT_EQ(Grid()->item(1, 0)->data(Qt::UserRole).toInt(), 2);
    EXPECT_EQ(Grid()->item(0, 1)->textAlignment(), Qt::AlignCenter);
    EXPECT_EQ(window->windowTitle(), "Scorewell - cup");
}

TEST_F(MainWindowTest, EditAndHTMLNeedExactlyOneSelectedRace) {
    Open(ThreeRaces());
    SelectRows(1, 1);
    EXPECT_TRUE(Button(1)->isEnabled());
    EXPECT_TRUE(Button(4)->isEnabled());
    SelectRows(0, 1);
    EXPECT_FALSE(Button(1)->isEnabled());
    EXPECT_FALSE(Button(4)->isEnabled());
    EXPECT_FALSE(Menu("mnuRace_2")->isEnabled());
    EXPECT_FALSE(Menu("mnuRace_6")->isEnabled());
    EXPECT_TRUE(Button(2)->isEnabled());
    // Upwards selections count alike.
    SelectRows(2, 1);
    EXPECT_FALSE(Button(1)->isEnabled());
    SelectRows(2, 2);
    EXPECT_TRUE(Button(1)->isEnabled());
    QTest::keyClick(Grid(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Grid()->selectedRanges().value(0).rowCount(), 3);
    EXPECT_FALSE(Button(1)->isEnabled());
    EXPECT_TRUE(Button(2)->isEnabled());
}

TEST_F(MainWindowTest, RemoveTakesTheSelectedRacesAndTheirResultsAtOnce) {
    const std::string cup = ThreeRaces();
    Open(cup);
    SelectRows(2, 1);
    QTest::mouseClick(Button(2), Qt::LeftButton);
    EXPECT_EQ(GridNames(), QStringList{"Daytona"});
    EXPECT_EQ(CountRows(cup, "Race"), 1);
    EXPECT_EQ(CountRows(cup, "Stats"), 1);
    EXPECT_EQ(desktop.BusyDepth(), 0);

    // The last race leaves one empty row and nothing to remove, edit or calculate.
    SelectRows(0, 0);
    QTest::keyClick(Grid(), Qt::Key_Delete);
    EXPECT_EQ(GridNames(), QStringList{""});
    EXPECT_EQ(Grid()->item(0, 0)->data(Qt::UserRole).toInt(), 0);
    EXPECT_EQ(CountRows(cup, "Race"), 0);
    EXPECT_EQ(States(), "000011110");
    ExpectRaceMenuFollowsButtons();
    // Delete does nothing more now.
    QTest::keyClick(Grid(), Qt::Key_Delete);
    EXPECT_EQ(GridNames(), QStringList{""});
}

TEST_F(MainWindowTest, ARemovalTheFileRefusesRemovesNothing) {
    const std::string cup = ThreeRaces();
    Open(cup);
    window->GetLeague()->Db().Execute(
        "CREATE TEMP TRIGGER refuse BEFORE DELETE ON main.Race WHEN old.Name='Daytona' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    QTest::keyClick(Grid(), Qt::Key_A, Qt::ControlModifier);
    desktop.ExpectMessage("Error", MessageAnswer::OK, "nothing was removed");
    QTest::keyClick(Grid(), Qt::Key_Delete);
    EXPECT_EQ(GridNames(), (QStringList{"Daytona", "Atlanta", "Bristol"}));
    EXPECT_EQ(CountRows(cup, "Race"), 3);
}

TEST_F(MainWindowTest, GridKeysAndButtonsRunTheirCommands) {
    std::vector<std::pair<std::string, std::int32_t>> runs;
    SetLeagueCommand(LeagueCommand::Edit, [&](LeagueCommandContext& c) {
        runs.push_back({"edit", c.raceId});
    });
    SetLeagueCommand(LeagueCommand::Import, [&](LeagueCommandContext& c) {
        EXPECT_FALSE(window->centralWidget()->isEnabled());
        c.league.Db().Execute("INSERT INTO Race (Name, Laps, Length) VALUES ('Imported', 10, 1)");
        runs.push_back({"import", 0});
    });
    Open(ThreeRaces());
    SelectRows(1, 1);
    QTest::keyClick(Grid(), Qt::Key_Return);
    DoubleClick(2);
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

    // A command whose window is not there yet says so.
    desktop.ExpectMessage("Scorewell", MessageAnswer::OK, "not available yet");
    QTest::mouseClick(Button(0), Qt::LeftButton);

    // After Point System the league's point switches are read again.
    SetLeagueCommand(LeagueCommand::PointSystem,
                     [](LeagueCommandContext& c) { WriteSetting(c.league.Db(), 13, "1"); });
    Menu("mnuTools_1")->trigger();
    EXPECT_TRUE(window->GetLeague()->Settings().useCustomPointSystem);
    EXPECT_FALSE(window->GetLeague()->Settings().useCustomBonusSystem);
}

TEST_F(MainWindowTest, ADoubleClickOnTheEmptyRowDoesNothing) {
    int edits = 0;
    SetLeagueCommand(LeagueCommand::Edit, [&](LeagueCommandContext&) { ++edits; });
    Open(MakeLeague("empty.slf"));
    DoubleClick(0);
    QTest::keyClick(Grid(), Qt::Key_Return);
    EXPECT_EQ(edits, 0);
}

TEST_F(MainWindowTest, RecentFilesRankMostRecentFirst) {
    std::vector<std::string> leagues;
    for (const char* name : {"1.slf", "2.slf", "3.slf", "4.slf", "5.slf"}) {
        leagues.push_back(MakeLeague(name));
    }
    auto entries = [&] {
        QStringList list;
        for (int i = 12; i <= 15; ++i) {
            QAction* a = Menu(QString("mnuFile_%1").arg(i));
            list << (a->isVisible() ? a->text() : QString());
        }
        return list;
    };
    auto caption = [&](int k, int league) {
        return QString("&%1 ").arg(k) + QString::fromStdString(leagues[league - 1]);
    };
    for (int i = 0; i < 4; ++i) {
        Open(leagues[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(entries(), (QStringList{caption(1, 4), caption(2, 3), caption(3, 2), caption(4, 1)}));
    Open(leagues[4]);
    EXPECT_EQ(entries(), (QStringList{caption(1, 5), caption(2, 4), caption(3, 3), caption(4, 2)}));
    // The third entry moves to the top through its menu item.
    Menu("mnuFile_14")->trigger();
    EXPECT_EQ(window->windowTitle(), "Scorewell - 3");
    EXPECT_EQ(entries(), (QStringList{caption(1, 3), caption(2, 5), caption(3, 4), caption(4, 2)}));
    // Opening the open file again closes and reopens it, with one entry.
    Open(leagues[2]);
    EXPECT_EQ(entries(), (QStringList{caption(1, 3), caption(2, 5), caption(3, 4), caption(4, 2)}));
    EXPECT_NE(window->GetLeague(), nullptr);
}

TEST_F(MainWindowTest, FilesThatCannotBeOpenedAreReportedAndNothingIsWritten) {
    const std::string cup = ThreeRaces();
    Open(cup);

    // A missing file leaves the open league open.
    desktop.ExpectMessage("Open File Error");
    Open(dir.File("gone.slf"));
    EXPECT_EQ(desktop.Messages().back().text,
              QString::fromStdString("\"" + dir.File("gone.slf") + "\" does not exist!"));
    EXPECT_NE(window->GetLeague(), nullptr);

    // A file that is no league: the open one was closed first, the other is untouched.
    const std::string text = dir.File("notes.slf");
    scorewell::test::WriteFileBytes(text, "Race results, typed by hand\r\n");
    desktop.ExpectMessage("Open File Error", MessageAnswer::OK, "is not a Scorewell league file");
    Open(text);
    EXPECT_EQ(window->GetLeague(), nullptr);
    EXPECT_EQ(window->windowTitle(), "Scorewell");
    EXPECT_EQ(States(), "000000000");
    EXPECT_EQ(scorewell::test::ReadFileBytes(text), "Race results, typed by hand\r\n");
    EXPECT_EQ(Menu("mnuFile_12")->text(), QString::fromStdString("&1 " + cup));
    EXPECT_FALSE(Menu("mnuFile_13")->isVisible());
    // The closed league was compacted in place.
    EXPECT_FALSE(FileExists(dir.File("TmpPoints.mdb")));
    EXPECT_EQ(CountRows(cup, "Race"), 3);
}

TEST_F(MainWindowTest, AReadOnlyLeagueIsRefusedWithoutWriting) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "file permissions do not bind the superuser";
    }
    const std::string cup = ThreeRaces();
    const std::string before = scorewell::test::ReadFileBytes(cup);
    chmod(cup.c_str(), 0444);
    desktop.ExpectMessage("Open File Error", MessageAnswer::OK, "cannot be opened for writing");
    Open(cup);
    EXPECT_EQ(window->GetLeague(), nullptr);
    EXPECT_EQ(scorewell::test::ReadFileBytes(cup), before);
    EXPECT_FALSE(Menu("mnuFile_12")->isVisible());
    chmod(cup.c_str(), 0644);
}

TEST_F(MainWindowTest, FileOpenUsesTheLeagueFilter) {
    const std::string cup = ThreeRaces();
    desktop.ExpectOpenFile("");
    Menu("mnuFile_1")->trigger();
    EXPECT_EQ(window->GetLeague(), nullptr);
    desktop.ExpectOpenFile(QString::fromStdString(cup));
    Menu("mnuFile_1")->trigger();
    EXPECT_NE(window->GetLeague(), nullptr);
    const FileDialogRequest& request = desktop.FileRequests().back();
    EXPECT_EQ(request.filter, "Scorewell File (*.slf)|*.slf");
    EXPECT_EQ(request.initialFolder.toStdString(), programFolder);
    EXPECT_TRUE(request.fileName.isEmpty());
}

TEST_F(MainWindowTest, ANascarRacing4LeagueNeedsItsFolder) {
    const std::string nr4 = MakeLeague("nr4.slf", {{"Michigan", 200, 2.0f}}, 3);
    desktop.ExpectMessage("Missing Path");
    desktop.OnModal("frmOptions", [](QDialog* d) {
        QTest::mouseClick(Child<QPushButton>(d, "CancelButton"), Qt::LeftButton);
    });
    Open(nr4);
    EXPECT_EQ(desktop.Messages().back().text,
              "Scorewell needs to know the path of\r\nNASCAR Racing 4 before this file can "
              "be\r\nopened.");
    EXPECT_EQ(window->GetLeague(), nullptr);
    EXPECT_EQ(States(), "000000000");
    EXPECT_FALSE(Menu("mnuFile_12")->isVisible());

    const std::string folder = SimulationFolder("nr4", "NASCAR Racing 4.exe");
    std::filesystem::create_directories(folder + "tracks");
    desktop.ExpectMessage("Missing Path");
    desktop.OnModal("frmOptions", [&](QDialog* d) {
        Child<QLineEdit>(d, "txtN3Path_2")->setText(QString::fromStdString(folder));
        QTest::mouseClick(Child<QPushButton>(d, "OKButton"), Qt::LeftButton);
    });
    Open(nr4);
    ASSERT_NE(window->GetLeague(), nullptr);
    EXPECT_EQ(GridNames(), QStringList{"Michigan"});
    EXPECT_TRUE(window->GetProgram()->HasTrackCatalogue());
}

TEST_F(MainWindowTest, ExitClosesAndCompactsTheLeague) {
    const std::string cup = ThreeRaces();
    Open(cup);
    window->GetLeague()->Db().Execute("DELETE FROM Stats");
    Menu("mnuFile_17")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->GetLeague(), nullptr);
    EXPECT_FALSE(FileExists(dir.File("TmpPoints.mdb")));
    Database db = Database::Open(cup);
    EXPECT_EQ(db.Scalar("PRAGMA freelist_count").AsInteger(), 0);
    EXPECT_EQ(db.Scalar("PRAGMA integrity_check").AsText(), "ok");
    EXPECT_EQ(ReadProgramSetting(7), cup);
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

    QString version;
    desktop.OnModal("frmSplash", [&](QDialog* about) {
        version = Child<QLabel>(about, "lblVersion")->text();
        EXPECT_EQ(Child<QLabel>(about, "lblInfo")->text(),
                  "League Administration Software for Papyrus NASCAR Racing Simulations");
        QTest::mouseClick(Child<QLabel>(about, "lblInfo"), Qt::LeftButton);
    });
    Menu("mnuHelp_1")->trigger();
    EXPECT_EQ(desktop.ModalCount("frmSplash"), 1);
    EXPECT_TRUE(version.startsWith("Version 1."));
}

TEST_F(MainWindowTest, TheSplashClosesItselfWithoutBlocking) {
    window->setShowSplash(true);
    window.reset();
    auto started = std::make_unique<frmRaces>();
    ASSERT_TRUE(started->Load(QString::fromStdString(programFolder), {}));
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
