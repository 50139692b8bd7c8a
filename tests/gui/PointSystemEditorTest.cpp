#include "scoring/PointSystemEditor.h"
#include "GuiHarness.h"
#include "import/ProgressWindow.h"

namespace scorewell::gui::test {
namespace {

// Tools > Point System is mnuTools_1.

class PointSystemEditorTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        OpenDemoLeague();
    }
    static QLineEdit* Box(QDialog* d, int i) { return Line(d, QString("txtPoints_%1").arg(i)); }
    static QTableWidget* Grid(QDialog* d) { return Child<QTableWidget>(d, "fgPoints"); }
    static void Type(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    std::string Stored() {
        return Sql("SELECT group_concat(Points || '/' || ifnull(PrizeMoney, '-'), ' ') "
                   "FROM (SELECT * FROM PointSystem ORDER BY Position LIMIT 6)");
    }
};

TEST_F(PointSystemEditorTest, OpensOnTheLeaguesSystemAndClosesUntouchedWithoutAsking) {
    Modal<PointSystemEditor>("mnuTools_1", [&](PointSystemEditor* d) {
        QTableWidget* grid = Grid(d);
        // The switches are off: their frames are greyed but for the check boxes and the grid.
        ExpectLooks(d, "point-system-editor");
        ASSERT_EQ(grid->rowCount(), 43);

        // Rows 1 to 3 propose their first value and the step between them, all rows theirs; a
        // range of prize money proposes nothing (golden point-system-proposals).
        Steps steps{{"txtPoints_1", "txtPoints_2", "txtPoints_3", "txtPoints_4"}};
        grid->setCurrentCell(0, 1);
        grid->setRangeSelected(QTableWidgetSelectionRange(0, 1, 2, 1), true);
        steps.Note("points of rows 1 to 3 selected", d);
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        steps.Note("Ctrl+A", d);
        EXPECT_TRUE(grid->item(42, 2)->isSelected());
        Child<QRadioButton>(d, "optPoints_1")->setChecked(true);
        steps.Note("prize money", d);
        steps.Expect("point-system-proposals");
        EXPECT_EQ(Box(d, 3)->maxLength(), 9);
        d->close();
    });
    EXPECT_EQ(desktop.ModalCount<PointSystemEditor>(), 1);
    EXPECT_TRUE(desktop.Messages().empty());
    EXPECT_EQ(Stored(), "175/- 170/- 165/- 160/- 155/- 150/-");
}

TEST_F(PointSystemEditorTest, FilledAndSavedTheRacesAreRecalculatedOnRequest) {
    // The demo races were scored with the preset scale: rescoring them is offered.
    desktop.ExpectMessage("Notice", MessageAnswer::No, "3 races of this league");
    Modal<PointSystemEditor>("mnuTools_1", [&](PointSystemEditor* d) {
        Tick(Child<QCheckBox>(d, "chkUsePositions"));
        EXPECT_EQ(Enabled(d, {"cmdButton_1"}), "1");
        Type(Box(d, 0), "5");
        EXPECT_EQ(Grid(d)->rowCount(), 5);
        // The prize money of positions 1 to 6 from 1000 down by 150: the range, past the last
        // position, adds one (the arithmetic PointFillTest checks). A range starts at 1.
        Tick(Child<QRadioButton>(d, "optPoints_1"));
        for (auto [box, text] : {std::pair{1, "0"}, {2, "6"}, {3, "1000"}, {4, "150"}}) {
            Type(Box(d, box), text);
        }
        EXPECT_EQ(Box(d, 1)->text(), "1");
        Click(d, "cmdFill");
        // Six positions, the sixth of 250 and no points (golden point-system-filled).
        ExpectLooks(d, "point-system-filled");
        Line(d, "txtBonus_0")->clear();
        ClickButton(d, 1);
    });
    EXPECT_EQ(Stored(), "175/1000 170/850 165/700 160/550 155/400 0/250");
    EXPECT_EQ(Sql("SELECT Points FROM Bonus WHERE BonusID=1"), "0");
    EXPECT_TRUE(window->GetLeague()->Settings().useCustomPointSystem);

    // Saved again, Yes rescores the races (as RecalculationTest checks) with the new table.
    EXPECT_EQ(Sql("SELECT Points FROM Stats WHERE RaceID=1 AND Finish=1"), "185");
    desktop.ExpectMessage("Notice", MessageAnswer::Yes, "3 races of this league");
    Modal<PointSystemEditor>("mnuTools_1", [&](PointSystemEditor* d) {
        Type(Box(d, 0), "6");
        ClickButton(d, 1);
    });
    EXPECT_EQ(Sql("SELECT group_concat((Points - Bonus) || '/' || ifnull(PrizeMoney, '-'), ' ') "
                  "FROM (SELECT * FROM Stats WHERE RaceID=1 ORDER BY Finish LIMIT 7)"),
              "175/1000 170/850 165/700 160/550 155/400 0/250 0/-");
}

TEST_F(PointSystemEditorTest, UnsavedChangesAreAskedAboutAndTablesGoInAndOutAsCsv) {
    // How tables are read and written PointTableCsvTest checks; here a bad file is told and
    // changes nothing, a good one replaces the grid, and the grid is what is written.
    const std::string csv = std::string(SCOREWELL_FIXTURES_DIR) + "/csv/";
    desktop.ExpectOpenFile(Q(csv + "points-bad.csv"));
    desktop.ExpectMessage("Error", MessageAnswer::OK, "line 3: the points \"x\"");
    desktop.ExpectOpenFile(Q(csv + "points-top3.csv"));
    desktop.ExpectSaveDialog(Q(dir.File("out.csv")));
    desktop.ExpectMessage("Unsaved Changes", MessageAnswer::Cancel);
    desktop.ExpectMessage("Unsaved Changes", MessageAnswer::No);
    Modal<PointSystemEditor>("mnuTools_1", [&](PointSystemEditor* d) {
        Click(d, "cmdImport");
        EXPECT_EQ(Grid(d)->rowCount(), 43);
        EXPECT_FALSE(d->Changed());
        Click(d, "cmdImport");
        // Three positions (golden point-system-top3).
        ExpectLooks(d, "point-system-top3");
        Click(d, "cmdExport");
        EXPECT_EQ(scorewell::test::ReadFileBytes(dir.File("out.csv")),
                  scorewell::test::ReadFileBytes(csv + "points-top3.csv"));
        ClickButton(d, 0);
        EXPECT_TRUE(d->isVisible());
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_EQ(Stored(), "175/- 170/- 165/- 160/- 155/- 150/-");
}

} // namespace
} // namespace scorewell::gui::test
