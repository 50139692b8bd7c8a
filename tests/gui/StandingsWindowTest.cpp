#include <QDate>
#include <QFileInfo>

#include "GuiHarness.h"
#include "data/LeagueFileActions.h"
#include "editing/AdjustmentEditor.h"
#include "editing/AdjustmentsWindow.h"
#include "html/ExportDialog.h"
#include "reports/ColumnEditor.h"
#include "reports/StandingsWindow.h"

namespace scorewell::gui::test {
namespace {

class StandingsWindowTest : public GuiTest {
protected:
    void SetUp() override {
        // The worst result of each driver dropped.
        GuiTest::SetUp();
        OpenDemoLeague(1);
    }
    Database& ProgramDb() { return window->GetProgram()->Db(); }

    // Race > Calculate with a handler that works the window and closes it.
    void Calculate(std::function<void(StandingsWindow*)> handler) {
        Modal<StandingsWindow>("mnuRace_4", [handler](StandingsWindow* d) {
            handler(d);
            d->close();
        });
    }
    static QTableWidget* Standings(QDialog* d) { return Child<QTableWidget>(d, "fgCalcs"); }
    static QTableWidget* Adjustments(QDialog* d) { return Child<QTableWidget>(d, "fgAdjustments"); }
    static QListWidget* Columns(QDialog* d) { return Child<QListWidget>(d, "lstColumns"); }
    // Fills in the adjustment editor as a user types, then saves.
    static void Fill(AdjustmentEditor* e, const QString& driver, const QString& race,
                     const QString& points, const QString& reason) {
        for (auto [name, choice] : {std::pair{"cboDriver", driver}, {"cboRace", race}}) {
            auto* box = Child<QComboBox>(e, name);
            box->setCurrentIndex(box->findText(choice));
        }
        for (auto [name, text] : {std::pair{"txtPoints", points}, {"txtReason", reason}}) {
            Line(e, name)->clear();
            QTest::keyClicks(Line(e, name), text);
        }
        ClickButton(e, 1);
    }
    static void ChooseReport(QDialog* d, const QString& name) {
        auto* reports = Child<QComboBox>(d, "cboStat");
        reports->setCurrentIndex(reports->findText(name));
    }
};

TEST_F(StandingsWindowTest, TheWindowMarksDroppedResultsAndShowsTheChosenReport) {
    // The interval is hidden: its column stays, with no width.
    ProgramDb().Execute("UPDATE ReportField SET Hidden=1 WHERE ReportID=1 AND Field='Interval'");
    // A report that finds nothing, and one without columns.
    ProgramDb().Execute("INSERT INTO Report (Name, Query, Sequence) VALUES "
                        "('Nobody', 'SELECT Name FROM Driver WHERE 0', 20), "
                        "('No Columns', 'SELECT Name FROM Driver', 21)");
    ProgramDb().Execute("INSERT INTO ReportField (ReportID, Sequence, Name, ColWidth, "
                        "ColAlignment, Field) SELECT ReportID, 1, 'Name', 2000, 1, 'Name' "
                        "FROM Report WHERE Name='Nobody'");

    Calculate([&](StandingsWindow* d) {
        // Point Standings: the row numbers in the fixed column, then the report's columns.
        ExpectLooks(d, "standings-window");
        // The first row is current from the first report column, selected to the last.
        EXPECT_EQ(Standings(d)->currentColumn(), 1);
        EXPECT_EQ(Standings(d)->selectedItems().size(), 14);

        ChooseReport(d, "Race Winners");
        ExpectLooks(d, "standings-window-race-winners");
        // Nobody: the heading of its one column and no rows; without columns the grid keeps
        // what it showed.
        ChooseReport(d, "Nobody");
        ExpectLooks(d, "standings-window-nobody");
        ChooseReport(d, "No Columns");
        ExpectLooks(d, "standings-window-no-columns");
    });
    // Calculate marks the dropped results (which ones DroppedTest checks): each driver ran all
    // three races and lost one.
    EXPECT_EQ(Sql("SELECT Count(*) FROM Stats WHERE Dropped"), "20");
}

TEST_F(StandingsWindowTest, TheColumnEditorShowsHidesAndMovesColumnsForEveryLeague) {
    // The columns, Save, Up and Down after each step (golden column-editor-steps): Up is off at
    // the top, where Ctrl+Up changes nothing; nothing checked, nothing to save; the last entry,
    // hidden, goes up two places and stays hidden and current; the Down button brings the
    // driver's column below the points.
    Steps steps{{"lstColumns", "cmdButton_0", "cmdButton_4", "cmdButton_5"}};
    Calculate([&](StandingsWindow* d) {
        desktop.OnModal<ColumnEditor>([&](ColumnEditor* e) {
            QListWidget* list = Columns(e);
            ExpectLooks(e, "column-editor");
            QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
            steps.Note("Ctrl+Up at the top", e);
            ClickButton(e, 3);
            steps.Note("Deselect All", e);
            list->item(0)->setCheckState(Qt::Checked);
            steps.Note("the first checked", e);
            ClickButton(e, 2);
            ExpectLooks(e, "column-editor-all");

            list->setCurrentRow(13);
            list->item(13)->setCheckState(Qt::Unchecked);
            QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
            steps.Note("the last unchecked, then Ctrl+Down", e);
            QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
            QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
            steps.Note("Ctrl+Up twice", e);
            list->setCurrentRow(0);
            ClickButton(e, 5);
            steps.Note("the first moved down", e);
            list->item(2)->setCheckState(Qt::Unchecked);
            ClickButton(e, 0);
            EXPECT_FALSE(e->Cancelled());
        });
        ClickButton(d, 1);
        // Shown again at once in the new order: Points, Driver, Interval (hidden), ..., Adj.
        // (hidden), Avg Finish, Winnings.
        ExpectLooks(d, "standings-window-columns");

        // Select All, then Cancel: nothing changes.
        desktop.OnModal<ColumnEditor>([&](ColumnEditor* e) {
            ClickButton(e, 2);
            e->close();
            EXPECT_TRUE(e->Cancelled());
        });
        ClickButton(d, 1);
    });
    steps.Expect("column-editor-steps");
    // Stored in the new order, numbered from 1: "+" shown, "-" hidden.
    EXPECT_EQ(ProgramDb()
                  .Scalar("SELECT group_concat(Sequence || iif(Hidden, '-', '+') || Name) "
                          "FROM (SELECT * FROM ReportField WHERE ReportID=1 ORDER BY "
                          "Sequence)")
                  .AsText(),
              "1+Points,2+Driver,3-Interval,4+Starts,5+Wins,6+Top 5,7+Top 10,8+Poles,9+Laps Led,"
              "10+Bonus,11+Avg Start,12-Adj.,13+Avg Finish,14+Winnings");
}

TEST_F(StandingsWindowTest, TheShownReportIsPublishedWithTheSavedSettings) {
    const QString page = Q(dir.File("Point Standings.htm"));
    const std::string caption = "Results based on each driver's best 2 finishes of 3 events";
    auto exportWith = [&](StandingsWindow* d, std::function<void(ExportDialog*)> handler) {
        desktop.OnModal<ExportDialog>(std::move(handler));
        ClickButton(d, 0);
    };
    auto exportAsIs = [](ExportDialog* x) {
        ClickButton(x, 0);
    };
    Calculate([&](StandingsWindow* d) {
        // Cancelled in the export dialog: the caption is stored all the same, nothing else.
        // The report's name and caption shown (golden export-dialog-standings).
        exportWith(d, [&](ExportDialog* x) {
            ExpectLooks(x, "export-dialog-standings");
            Line(x, "txtHeading")->setText("Changed");
            x->reject();
        });
        EXPECT_EQ(ReadSetting(Db(), 4), caption);
        EXPECT_EQ(ReadSetting(Db(), 2), "XYZ Racing League");

        // Exported, then the file dialog cancelled: settings saved, no page.
        desktop.ExpectSaveDialog("");
        exportWith(d, [&](ExportDialog* x) {
            Line(x, "txtHeading")->setText("Millbrook League");
            ClickButton(x, 0);
        });
        EXPECT_EQ(desktop.FileRequests().back().fileName, "Point Standings.htm");
        EXPECT_EQ(ReadSetting(Db(), 2), "Millbrook League");
        EXPECT_FALSE(QFileInfo::exists(page));

        // Written; a second time over an existing page only when the user agrees. The page is
        // of the shown report (how saved settings style it PageSettingsTest checks).
        desktop.ExpectSaveDialog(page);
        exportWith(d, exportAsIs);
        const std::string written = scorewell::test::ReadFileBytes(S(page));
        EXPECT_NE(written.find(">Point Standings</FONT></H2>"), std::string::npos);

        scorewell::test::WriteFileBytes(S(page), "last week");
        for (auto [answer, after] : {std::pair{MessageAnswer::No, std::string("last week")},
                                     {MessageAnswer::Yes, written}}) {
            desktop.ExpectSaveDialog(page);
            desktop.ExpectMessage("File Exists", answer,
                                  "The file \"" + page + "\" already exists!  Overwrite it?");
            exportWith(d, exportAsIs);
            EXPECT_EQ(desktop.Messages().back().buttons, MessageButtons::YesNo);
            EXPECT_EQ(scorewell::test::ReadFileBytes(S(page)), after);
        }

        // A page that cannot be written.
        desktop.ExpectSaveDialog(Q(dir.File("gone/page.htm")));
        desktop.ExpectMessage("Scorewell", MessageAnswer::OK, "Error creating HTML file...");
        exportWith(d, exportAsIs);
    });
}

TEST_F(StandingsWindowTest, AdjustmentsAreAddedEditedAndRemovedEachAtOnce) {
    // The adjustments, Edit and Remove after each step, and the editor as it opens to add and to
    // edit (golden adjustments-steps): a refused entry keeps the editor open with what was typed;
    // a cancelled one stores nothing; Remove asks first.
    Steps steps({"fgAdjustments", "cmdButton_1", "cmdButton_2"},
                {{S(QDate::currentDate().toString(Qt::ISODate)), "<today>"}});
    Steps editor;
    Modal<AdjustmentsWindow>("mnuTools_4", [&](AdjustmentsWindow* d) {
        steps.Note("opened", d);
        desktop.OnModal<AdjustmentEditor>([&](AdjustmentEditor* e) {
            editor.Note("Add", e);
            desktop.ExpectMessage("Error", MessageAnswer::OK, "a whole number other than 0");
            Fill(e, "Amos Whitlock", "Millbrook 500", "-2x5", "Wrecked <b>Bram</b>");
            EXPECT_TRUE(e->isVisible());
            editor.Note("refused", e);
            Fill(e, "Amos Whitlock", "Millbrook 500", "-25", "Wrecked <b>Bram</b>");
        });
        ClickButton(d, 0);
        EXPECT_TRUE(d->Changed());
        desktop.OnModal<AdjustmentEditor>([&](AdjustmentEditor* e) { e->reject(); });
        QTest::keyClick(Adjustments(d), Qt::Key_Insert);
        steps.Note("one added, another cancelled", d);

        desktop.OnModal<AdjustmentEditor>([&](AdjustmentEditor* e) {
            editor.Note("Edit", e);
            Fill(e, "Bram Okonkwo", "(the season)", "+10", "Appeal");
        });
        DoubleClick(Adjustments(d), 0);
        steps.Note("edited", d);
        desktop.ExpectMessage("Remove Adjustment", MessageAnswer::No);
        ClickButton(d, 2);
        steps.Note("Remove answered No", d);
        desktop.ExpectMessage("Remove Adjustment", MessageAnswer::Yes, "\"Bram Okonkwo\"");
        QTest::keyClick(Adjustments(d), Qt::Key_Delete);
        steps.Note("Delete answered Yes", d);
        EXPECT_EQ(Sql("SELECT Count(*) FROM Adjustment"), "0");
        d->close();
    });
    steps.Note("the editor, to add, refused, to edit", editor.text);
    steps.Expect("adjustments-steps");
}

TEST_F(StandingsWindowTest, AnAdjustmentShowsInTheStandingsAtOnce) {
    Calculate([&](StandingsWindow* d) {
        QTableWidget* grid = Standings(d);
        const QString leader = grid->item(0, 1)->text();
        desktop.OnModal<AdjustmentsWindow>([&](AdjustmentsWindow* a) {
            desktop.OnModal<AdjustmentEditor>([&](AdjustmentEditor* e) {
                Fill(e, leader, "(the season)", "-500", "Disqualified from the season");
            });
            ClickButton(a, 0);
            a->close();
        });
        ClickButton(d, 2);
        // How adjustments count ReportQueriesTest.StandingsCountAdjustmentsInFull... checks.
        EXPECT_EQ(grid->item(grid->rowCount() - 1, 1)->text(), leader);
    });
}

} // namespace
} // namespace scorewell::gui::test
