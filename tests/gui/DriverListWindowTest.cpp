#include "editing/DriverListWindow.h"
#include "GuiHarness.h"
#include "editing/DriverEditor.h"
#include "editing/DriverRoster.h"

namespace scorewell::gui::test {
namespace {

// Tools > Driver List is mnuTools_0.

class DriverListWindowTest : public GuiTest {
protected:
    // A league of three races and the drivers given, each with a result (of 10 points a race
    // number) in his races, open.
    std::string LeagueWith(const std::vector<std::pair<DriverEntry, std::vector<int>>>& drivers) {
        const std::string path = MakeLeague("cup.slf", {{"Daytona 500", 200, 2.5f},
                                                        {"Atlanta 500", 325, 1.54f},
                                                        {"Bristol 500", 500, 0.533f}});
        Open(path);
        Database& db = window->GetLeague()->Db();
        db.Execute("DELETE FROM Driver");
        for (const auto& [entry, races] : drivers) {
            const std::int32_t id = AddDriver(db, entry);
            for (int race : races) {
                db.Execute("INSERT INTO Stats (RaceID, DriverID, Finish, Points) VALUES (?,?,?,?)",
                           {Value(race), Value(id), Value(id), Value(10 * race)});
            }
        }
        return path;
    }
    static QTableWidget* Grid(QDialog* d) { return Child<QTableWidget>(d, "fgDList"); }
    static void ClickHeader(QTableWidget* grid, int column) {
        QHeaderView* header = grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    }
};

TEST_F(DriverListWindowTest, TheRosterIsSortedExcludedAndRemovedInPlace) {
    const std::string cup = LeagueWith({{{"Cy Cole", 0, false, true}, {1, 2}},
                                        {{"al Able", 0, false, false}, {1, 2}},
                                        {{"Bo Baker", 0, false, false}, {1}},
                                        {{"Di Dent", 0, false, false}, {1}}});
    // The roster, its count and Edit after each step (golden driver-list-steps).
    Steps steps{{"fgDList", "lblNumDrivers", "cmdButton_0"}};
    Modal<DriverListWindow>("mnuTools_0", [&](DriverListWindow* d) {
        QTableWidget* grid = Grid(d);
        // In name order, letter case aside; Cy Cole excluded.
        ExpectLooks(d, "driver-list");
        // Sorting ignores letter case; each click on a heading turns its order round.
        ClickHeader(grid, 0);
        EXPECT_EQ(grid->item(0, 0)->text(), "al Able");
        ClickHeader(grid, 0);
        EXPECT_EQ(grid->item(0, 0)->text(), "Di Dent");
        ClickHeader(grid, 1);
        EXPECT_EQ(grid->item(0, 0)->text(), "Cy Cole");

        // Exclude and Include work on the selected block; Edit wants one row.
        ClickHeader(grid, 0);
        SelectBlock(grid, 1, 2);
        steps.Note("Bo and Cy selected", d);
        ClickButton(d, 4);
        ClickButton(d, 3);
        SelectBlock(grid, 0, 1);
        ClickButton(d, 4);
        steps.Note("Bo and Cy excluded, then Bo and Cy included, then al and Bo excluded", d);
        EXPECT_EQ(Sql("SELECT group_concat(Name) FROM Driver WHERE Exclude=1"), "al Able,Bo Baker");

        // Three drivers removed: one question in the plural, No keeps them, Yes removes them.
        SelectBlock(grid, 1, 3);
        desktop.ExpectMessage("Confirm Driver Removal", MessageAnswer::No,
                              "Removing these drivers will also remove the points associated "
                              "with these drivers.\r\nDo you want to continue?");
        QTest::keyClick(grid, Qt::Key_Delete);
        EXPECT_EQ(grid->rowCount(), 4);
        desktop.ExpectMessage("Confirm Driver Removal", MessageAnswer::Yes, "these drivers");
        ClickButton(d, 2);
        steps.Note("Bo, Cy and Di removed", d);

        // Removing the last driver leaves the blank row, and only Add, Close and Remove
        // Excluded Results.
        desktop.ExpectMessage("Confirm Driver Removal", MessageAnswer::Yes, "this driver");
        ClickButton(d, 2);
        ExpectLooks(d, "driver-list-empty");
        // Remove Excluded Results still rescores every race, and says so.
        desktop.ExpectMessage("Process Completed", MessageAnswer::OK, "have been recalculated");
        ClickButton(d, 6);
        ClickButton(d, 5);
    });
    steps.Expect("driver-list-steps");
    // Which results go and the copy kept first DriverRosterTest.RemovingDriversTakesTheir-
    // ResultsAlone and RecalculationTest.RemovingExcludedResultsClosesUp... check.
    EXPECT_EQ(CountRows(cup, "Driver"), 0);
}

TEST_F(DriverListWindowTest, TheEditorAddsRenamesAndMergesDrivers) {
    const std::string cup = LeagueWith({{{"Jones", 7, true, false}, {1, 2}},
                                        {{"Kline", 0, false, false}, {1, 2}},
                                        {{"Smith", 0, false, false}, {3}}});
    // The roster and its count after each step (golden driver-list-editing).
    Steps steps{{"fgDList", "lblNumDrivers"}};
    Modal<DriverListWindow>("mnuTools_0", [&](DriverListWindow* d) {
        QTableWidget* grid = Grid(d);
        // A name another driver has, in any case, cannot be added; the dialog stays open.
        desktop.OnModal<DriverEditor>([&](DriverEditor* e) {
            ExpectLooks(e, "driver-editor-add");
            QTest::keyClicks(Line(e, "txtName"), "SMITH|");
            EXPECT_EQ(Line(e, "txtName")->text(), "SMITH");
            desktop.ExpectMessage("Cannot Add Driver", MessageAnswer::OK,
                                  "\"SMITH\" already exists!");
            ClickButton(e, 0);
            ASSERT_TRUE(e->isVisible());
            Line(e, "txtName")->setText("Lane");
            // A lone minus sign is a handicap of 0; letters do not go in.
            Line(e, "txtHandicap")->setFocus();
            QTest::keyClicks(Line(e, "txtHandicap"), "x-");
            EXPECT_EQ(Line(e, "txtHandicap")->text(), "-");
            Tick(Child<QCheckBox>(e, "chkRookie"));
            ClickButton(e, 0);
        });
        QTest::keyClick(grid, Qt::Key_Insert);
        steps.Note("Lane added", d);
        EXPECT_EQ(Sql("SELECT Handicap || Rookie FROM Driver WHERE Name='Lane'"), "01");

        // Its own name in other case is no clash (the editor as it opens: golden
        // driver-editor-edit).
        desktop.OnModal<DriverEditor>([&](DriverEditor* e) {
            ExpectLooks(e, "driver-editor-edit");
            Line(e, "txtName")->setText("KLINE");
            ClickButton(e, 0);
        });
        DoubleClick(grid, 1);
        steps.Note("Kline renamed KLINE", d);

        // Smith renamed to jones: No keeps the dialog open; Yes merges him into Jones (how
        // DriverRosterTest.MergingMovesResultsAndKeepsTheSurvivorAndACopy checks), whose row is
        // selected.
        desktop.OnModal<DriverEditor>([&](DriverEditor* e) {
            Line(e, "txtName")->setText("jones");
            Tick(Child<QCheckBox>(e, "chkExcluded"));
            desktop.ExpectMessage("Driver Exists", MessageAnswer::No, "\"jones\" already exists!");
            ClickButton(e, 0);
            ASSERT_TRUE(e->isVisible());
            desktop.ExpectMessage("Driver Exists", MessageAnswer::Yes, "merge the points");
            ClickButton(e, 0);
        });
        SelectBlock(grid, 2, 2);
        QTest::keyClick(grid, Qt::Key_Return);
        steps.Note("Smith merged into Jones, whose row is current", d);

        // Jones and KLINE both ran race 1 and 2: the merge is refused (the wording
        // DriverRosterTest.DriversOfOneRaceAreNotMerged checks) and the roster stays.
        desktop.OnModal<DriverEditor>([&](DriverEditor* e) {
            Line(e, "txtName")->setText("Jones");
            desktop.ExpectMessage("Driver Exists", MessageAnswer::Yes);
            desktop.ExpectMessage("Error", MessageAnswer::OK, "(race 1)");
            ClickButton(e, 0);
            e->reject();
        });
        SelectBlock(grid, 1, 1);
        ClickButton(d, 0);
        EXPECT_EQ(grid->rowCount(), 3);
        ClickButton(d, 5);
    });
    steps.Expect("driver-list-editing");
    EXPECT_EQ(CountRows(cup, "Driver"), 3);
}

} // namespace
} // namespace scorewell::gui::test
