#include <filesystem>

#include "GuiHarness.h"
#include "common/Domain.h"
#include "data/Program.h"
#include "editing/RaceResultsEditor.h"
#include "editing/ResultEditor.h"
#include "import/ImportDialog.h"

namespace scorewell::gui::test {
namespace {

// Race > Import is mnuRace_0.

const std::string kFixtures = std::string(SCOREWELL_FIXTURES_DIR) + "/";

class ImportDialogTest : public GuiTest {
protected:
    std::string exports = dir.File("nr3/exports");

    void SetUp() override {
        GuiTest::SetUp();
        std::filesystem::create_directories(exports);
        for (const char* name : kDemoFinals) {
            std::filesystem::copy_file(kDemoFolder + name, exports + "/" + name);
        }
    }

    QString Export(const char* name) const { return Q(exports + "/" + name); }
    static QListWidget* List(QDialog* d) { return Child<QListWidget>(d, "lstRaces"); }
    std::int64_t Count(const std::string& table, const std::string& where = "1") {
        return std::stoll(Sql("SELECT Count(*) FROM " + table + " WHERE " + where));
    }
};

TEST_F(ImportDialogTest, ThreeRaceFinalsOneRefusedAreStagedCorrectedAndImported) {
    const std::string cup = MakeLeague("cup.slf");
    Open(cup);
    const QString bad = Q(kFixtures + "stn/refused-header.stn");
    desktop.ExpectOpenFiles(
        {Export("02-millbrook-500.stn"), bad, Q(kFixtures + "stn/nr3-harbor-point.stn")});
    desktop.ExpectMessage("Error Reading '" + bad + "'", MessageAnswer::OK,
                          "\"" + bad + "\" does not seem to be a race final!");
    Modal<ImportDialog>("mnuRace_0", [&](ImportDialog* d) {
        EXPECT_FALSE(window->centralWidget()->isEnabled());
        // On-line: no note on merging; the lap reporting choice; Edit, Remove, Import off.
        ExpectLooks(d, "import-dialog");

        ClickButton(d, 0);
        EXPECT_EQ(desktop.FileRequests().back().initialFolder, Export(""));
        // A file from the simulation's exports folder is listed by name, others with their
        // folder after a tab; the first selected, Edit, Remove and Import available (golden
        // import-dialog-staged).
        Steps staged({"lstRaces", "cmdButton_1", "cmdButton_2", "cmdButton_4"},
                     {{kFixtures, "<fixtures>/"}});
        staged.Note("two race finals staged, one refused", d);
        staged.Expect("import-dialog-staged");
        EXPECT_EQ(Count("STNRace"), 2);
        EXPECT_EQ(desktop.BusyDepth(), 0);

        // The staged race is corrected: a name typed there is kept as it is, no driver is made.
        desktop.OnModal<RaceResultsEditor>([&](RaceResultsEditor* e) {
            auto* grid = Child<QTableWidget>(e, "fgDrivers");
            desktop.OnModal<ResultEditor>([](ResultEditor* r) {
                Child<QLineEdit>(r, "txtInfo_2")->setText("Bram O. Okonkwo");
                ClickButton(r, 1);
            });
            QTest::keyClick(grid, Qt::Key_Return);
            // The race's twenty results, the first renamed (golden race-results-editor-staged).
            ExpectLooks(e, "race-results-editor-staged");
            ClickButton(e, 0);
        });
        QTest::keyClick(List(d), Qt::Key_Return);
        EXPECT_EQ(desktop.ModalCount<RaceResultsEditor>(), 1);
        EXPECT_EQ(Count("Driver"), 0);
        ClickButton(d, 4);
    });

    EXPECT_TRUE(window->centralWidget()->isEnabled());
    EXPECT_EQ(GridNames(), (QStringList{"Millbrook 500", "Harbor Point 400"}));
    EXPECT_EQ(Sql("SELECT Name FROM Stats JOIN Driver USING (DriverID) WHERE RaceID=1 AND "
                  "Finish=1"),
              "Bram O. Okonkwo");
    EXPECT_EQ(desktop.BusyDepth(), 0);
}

TEST_F(ImportDialogTest, EntriesAreListedSelectedAndRemovedAndEveryOpeningStartsEmpty) {
    const std::string cup = MakeLeague("cup.slf");
    Open(cup);
    desktop.ExpectOpenFiles({});
    desktop.ExpectOpenFiles({Export("01-harbor-point-400.stn"), Export("02-millbrook-500.stn"),
                             Export("03-cedar-valley-250.stn")});
    desktop.ExpectOpenFiles({});
    desktop.ExpectOpenFiles({Q(kFixtures + "stn/nr3-millbrook-laptimes-lf.stn")});
    // The list, Edit, Remove and Import after each step (golden import-dialog-entries): a
    // cancelled file dialog adds nothing, but Import becomes available; cancelled again, the
    // first entry is selected once more; two entries can be removed, but not edited, not even by
    // Enter.
    Steps steps{{"lstRaces", "cmdButton_2", "cmdButton_1", "cmdButton_4"}};
    Modal<ImportDialog>("mnuRace_0", [&](ImportDialog* d) {
        ClickButton(d, 0);
        steps.Note("file dialog cancelled", d);
        ClickButton(d, 0);
        List(d)->clearSelection();
        steps.Note("three files added, then the selection cleared", d);
        ClickButton(d, 0);
        steps.Note("file dialog cancelled again", d);
        List(d)->clearSelection();
        List(d)->item(1)->setSelected(true);
        List(d)->item(2)->setSelected(true);
        steps.Note("two entries selected", d);
        QTest::keyClick(List(d), Qt::Key_Return);
        EXPECT_EQ(desktop.ModalCount<RaceResultsEditor>(), 0);
        const std::string kept = List(d)->item(0)->data(Qt::UserRole).toString().toStdString();
        ClickButton(d, 1);
        steps.Note("the two removed", d);
        EXPECT_EQ(Count("STNRace"), 1);
        EXPECT_EQ(Count("STNStats", "STNRaceID<>" + kept), 0);

        // Lap times are read as such when the list says so.
        Child<QComboBox>(d, "cboLRM")->setCurrentIndex(1);
        ClickButton(d, 0);
        EXPECT_EQ(Count("STNStats", "DriverName='Bram Okonkwo' AND Qualifying=144.0 AND "
                                    "STNRaceID<>" +
                                        kept),
                  1);
        ClickButton(d, 3);
        EXPECT_TRUE(d->Cancelled());
    });
    steps.Expect("import-dialog-entries");
    EXPECT_EQ(CountRows(cup, "Race"), 0);

    // The next opening starts with nothing staged; the close box cancels too.
    Modal<ImportDialog>("mnuRace_0", [&](ImportDialog* d) {
        EXPECT_EQ(Count("STNRace"), 0);
        EXPECT_EQ(List(d)->count(), 0);
        d->close();
        EXPECT_TRUE(d->Cancelled());
    });
    EXPECT_EQ(GridNames(), QStringList{""});
}

TEST_F(ImportDialogTest, ANameLikeADriversIsMarkedAndARefusedImportKeepsTheList) {
    Open(MakeLeague("cup.slf"));
    // The second race names its winner "Soren Halverson", the first "Soren Halvorsen".
    std::string text = scorewell::test::ReadFileBytes(exports + "/02-millbrook-500.stn");
    text.replace(text.find("Soren Halvorsen"), 15, "Soren Halverson");
    scorewell::test::WriteFileBytes(exports + "/02-millbrook-500.stn", text);
    Db().Execute("CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.Stats WHEN new.Finish=5 "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    desktop.ExpectOpenFiles({Export("01-harbor-point-400.stn"), Export("02-millbrook-500.stn")});
    desktop.ExpectMessage("Error", MessageAnswer::OK, "Nothing was imported");
    // The list after each step (golden import-dialog-marks): the second file's winner marked.
    // That nothing is left half-imported StagedImportTest.AFailureMidwayLeavesTheLeagueAsItWas
    // checks; here the dialog stays with its list, to try again. The mark goes with the file
    // that made it.
    Steps steps{{"lstRaces"}};
    Modal<ImportDialog>("mnuRace_0", [&](ImportDialog* d) {
        ClickButton(d, 0);
        steps.Note("two files added", d);
        ClickButton(d, 4);
        EXPECT_TRUE(d->isVisible());
        steps.Note("import refused", d);
        Db().Execute("DROP TRIGGER refuse");
        List(d)->setCurrentRow(0);
        ClickButton(d, 1);
        steps.Note("the first removed", d);
        ClickButton(d, 4);
        EXPECT_FALSE(d->Cancelled());
    });
    steps.Expect("import-dialog-marks");
    EXPECT_EQ(GridNames(), QStringList{"Millbrook 500"});
}

TEST_F(ImportDialogTest, AFileTheLeagueHoldsIsImportedAgainOnlyWhenTheUserSaysSo) {
    // Which race counts as held StagedImportTest.ARaceIsAlreadyImportedOnlyWithTheSameRaceAnd-
    // Results checks; here each held one is asked about, before anything is imported.
    Open(MakeDemoLeague("cup.slf", 2));
    desktop.ExpectOpenFiles({Export("01-harbor-point-400.stn"), Export("03-cedar-valley-250.stn"),
                             Export("02-millbrook-500.stn")});
    desktop.ExpectMessage("Already Imported", MessageAnswer::No,
                          "\"01-harbor-point-400.stn\" has already been imported as race 1, "
                          "\"Harbor Point 400\", with the same results.  Do you want to import "
                          "it again?");
    desktop.ExpectMessage("Already Imported", MessageAnswer::Yes,
                          "\"02-millbrook-500.stn\" has already been imported as race 2");
    Modal<ImportDialog>("mnuRace_0", [&](ImportDialog* d) {
        ClickButton(d, 0);
        ClickButton(d, 4);
    });
    desktop.VerifyAllAnswered();
    const ShownMessage& question = desktop.Messages().front();
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(GridNames(), (QStringList{"Harbor Point 400", "Millbrook 500", "Cedar Valley 250",
                                        "Millbrook 500"}));
}

TEST_F(ImportDialogTest, AnOffLineLeagueMergesTheFilesIntoOneRace) {
    // Who is merged how OfflineMergeTest checks; here an off-line league's Import merges, and a
    // refused merge keeps the dialog open.
    Open(MakeLeague("night.slf", {}, static_cast<int>(Simulation::NascarRacing3),
                    static_cast<int>(LeagueType::Offline)));
    desktop.ExpectOpenFiles({Export("01-harbor-point-400.stn"), Export("02-millbrook-500.stn")});
    desktop.ExpectMessage("Warning", MessageAnswer::OK, "There are no unique drivers!");
    desktop.ExpectOpenFiles({Q(kFixtures + "stn/nr3-harbor-point.stn")});
    Modal<ImportDialog>("mnuRace_0", [&](ImportDialog* d) {
        EXPECT_TRUE(Child<QLabel>(d, "lblNote")->isVisible());
        ClickButton(d, 0);
        ClickButton(d, 4);
        EXPECT_TRUE(d->isVisible());
        // Millbrook's field swapped for a member's own file: the drivers of one file only count.
        List(d)->setCurrentRow(1);
        ClickButton(d, 1);
        ClickButton(d, 0);
        ClickButton(d, 4);
        EXPECT_FALSE(d->Cancelled());
    });
    EXPECT_EQ(desktop.Messages().front().icon, MessageIcon::Exclamation);
    EXPECT_EQ(GridNames(), QStringList{"Harbor Point 400"});
    EXPECT_EQ(Count("Race", "FileName='Merged'"), 1);
}

TEST_F(ImportDialogTest, ANascarRacing4LeagueReadsExportedStandings) {
    const std::string nr4 = dir.File("nr4");
    std::filesystem::create_directories(nr4 + "/Tracks/millbrook");
    std::filesystem::create_directories(nr4 + "/exports");
    scorewell::test::WriteFileBytes(nr4 + "/Tracks/millbrook/TRACK.INI",
                                    "[track]\r\ntrack_name = Millbrook Speedway\xAE\r\n"
                                    "track_length = 2.5\r\n");
    std::filesystem::copy_file(kFixtures + "nr4/millbrook-standings.html",
                               nr4 + "/exports/millbrook-standings.html");
    scorewell::test::WriteFileBytes(nr4 + "/exports/notes.html", "<html>notes</html>");
    window->GetProgram()->SetSimPath(2, nr4 + "/");
    Open(MakeLeague("nr4.slf", {}, 3));

    desktop.ExpectOpenFiles(
        {Q(nr4 + "/exports/millbrook-standings.html"), Q(nr4 + "/exports/notes.html")});
    desktop.ExpectMessage("Failed to Read Import File", MessageAnswer::OK,
                          Q(nr4 + "/exports/notes.html") + "\n");
    Modal<ImportDialog>("mnuRace_0", [&](ImportDialog* d) {
        // No qualifying choice: the exported standings say what they hold.
        ExpectLooks(d, "import-dialog-nr4");
        ClickButton(d, 0);
        EXPECT_EQ(desktop.FileRequests().back().filter, "N4 Exported Standings (*.html)|*.html");
        EXPECT_EQ(desktop.FileRequests().back().initialFolder, Q(nr4 + "/exports/"));
        // The standings listed by name, the other file refused (golden import-dialog-nr4-staged).
        ExpectLooks(d, "import-dialog-nr4-staged");
        ClickButton(d, 4);
    });
    EXPECT_EQ(GridNames(), QStringList{"Millbrook Speedway"});
}

} // namespace
} // namespace scorewell::gui::test
