#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "GuiTest.h"
#include "data/League.h"
#include "data/LeagueFileActions.h"
#include "data/Settings.h"
#include "html/ExportDialog.h"
#include "reports/ColumnEditor.h"
#include "reports/StandingsWindow.h"

namespace scorewell::gui::test {
namespace {

class StandingsWindowTest : public GuiTest {
protected:
    void SetUp() override {
        // The worst result of each driver dropped.
        StartOnDemoLeague(1);
        SetLeagueCommand(LeagueCommand::Calculate, ShowStandingsWindow);
    }
    Database& LeagueDb() { return window->GetLeague()->Db(); }
    Database& ProgramDb() { return window->GetProgram()->Db(); }

    // Race > Calculate with a handler that works the window and closes it.
    void Calculate(std::function<void(StandingsWindow*)> handler) {
        const int before = desktop.ModalCount<StandingsWindow>();
        desktop.OnModal<StandingsWindow>([handler](StandingsWindow* d) {
            handler(d);
            d->close();
        });
        Menu("mnuRace_4")->trigger();
        ASSERT_EQ(desktop.ModalCount<StandingsWindow>(), before + 1);
    }
    static QTableWidget* Standings(QDialog* d) { return Child<QTableWidget>(d, "fgCalcs"); }
    static QString Caption(QDialog* d) { return Child<QLabel>(d, "Label2")->text(); }
    static QString Cell(QDialog* d, int row, int column) {
        QTableWidgetItem* item = Standings(d)->item(row, column);
        return item ? item->text() : QString("(none)");
    }
    static QStringList Headers(QDialog* d) {
        QStringList headers;
        for (int c = 0; c < Standings(d)->columnCount(); ++c) {
            headers << Standings(d)->horizontalHeaderItem(c)->text();
        }
        return headers;
    }
    static QListWidget* Columns(QDialog* d) { return Child<QListWidget>(d, "lstColumns"); }
    static int Checked(QDialog* d) {
        int checked = 0;
        for (int i = 0; i < Columns(d)->count(); ++i) {
            checked += Columns(d)->item(i)->checkState() == Qt::Checked;
        }
        return checked;
    }
    static void ChooseReport(QDialog* d, const QString& name) {
        auto* reports = Child<QComboBox>(d, "cboStat");
        reports->setCurrentIndex(reports->findText(name));
    }
    static bool Enabled(QDialog* d, int button) {
        return Child<QPushButton>(d, QString("cmdButton_%1").arg(button))->isEnabled();
    }
    // The report's columns as stored, in Sequence order: "+" shown, "-" hidden.
    QStringList StoredColumns(int reportId) {
        QStringList columns;
        for (Cursor c = ProgramDb().Query("SELECT Name, Hidden FROM ReportField WHERE ReportID=? "
                                          "ORDER BY Sequence",
                                          {Value(reportId)});
             !c.AtEnd(); c.MoveNext()) {
            columns << QString(c.Field(1).AsBool() ? "-" : "+") + Q(c.Field(0).AsText());
        }
        return columns;
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
        EXPECT_EQ(Caption(d), "Results based on each driver's best 2 finishes of 3 events:");
        // Point Standings: the row numbers in the fixed column, then the report's columns.
        EXPECT_EQ(Standings(d)->columnCount(), 15);
        EXPECT_EQ(Headers(d).mid(0, 4), (QStringList{"", "Driver", "Points", "Interval"}));
        EXPECT_EQ(Standings(d)->columnWidth(3), 0);
        EXPECT_EQ(Standings(d)->columnWidth(13), 0);
        EXPECT_EQ(Standings(d)->rowCount(), 20);
        EXPECT_EQ(Cell(d, 19, 0), "20");
        EXPECT_EQ(Row(Standings(d), 0).mid(0, 4), (QStringList{"1", "Amos Whitlock", "355", "--"}));
        EXPECT_EQ(Cell(d, 1, 3), "24");
        EXPECT_EQ(Cell(d, 1, 12), "5.0");
        // The first row is current from the first report column, selected to the last.
        EXPECT_EQ(Standings(d)->currentRow(), 0);
        EXPECT_EQ(Standings(d)->currentColumn(), 1);
        EXPECT_EQ(Standings(d)->selectedItems().size(), 14);

        ChooseReport(d, "Race Winners");
        EXPECT_EQ(Headers(d), (QStringList{"", "Race", "Winner", "Pole", "Most Laps Led"}));
        EXPECT_EQ(Standings(d)->rowCount(), 3);
        EXPECT_EQ(Cell(d, 1, 1), "Millbrook 500");

        ChooseReport(d, "Nobody");
        EXPECT_EQ(Headers(d), (QStringList{"", "Name"}));
        EXPECT_EQ(Standings(d)->rowCount(), 0);
        EXPECT_TRUE(Standings(d)->selectedItems().isEmpty());
        // Without columns the grid keeps what it showed.
        ChooseReport(d, "No Columns");
        EXPECT_EQ(Headers(d), (QStringList{"", "Name"}));
    });
    // Every driver ran all three races and lost one.
    EXPECT_EQ(LeagueDb().Scalar("SELECT Count(*) FROM Stats WHERE Dropped").AsInteger(), 20);

    // Dropping nothing, every result counts and the caption says so.
    SaveLeagueProperties(*window->GetLeague(), 0, LapReportingMethod::Speed);
    Calculate([&](StandingsWindow* d) { EXPECT_EQ(Caption(d), "Results after 3 events:"); });
    EXPECT_EQ(LeagueDb().Scalar("SELECT Count(*) FROM Stats WHERE Dropped").AsInteger(), 0);
}

TEST_F(StandingsWindowTest, TheColumnEditorShowsHidesAndMovesColumnsForEveryLeague) {
    Calculate([&](StandingsWindow* d) {
        desktop.OnModal<ColumnEditor>([&](ColumnEditor* e) {
            QListWidget* list = Columns(e);
            EXPECT_EQ(list->count(), 14);
            EXPECT_EQ(Checked(e), 12);
            EXPECT_EQ(list->currentRow(), 0);
            // Up is off at the top; Ctrl+Up there changes nothing.
            EXPECT_FALSE(Enabled(e, 4));
            EXPECT_TRUE(Enabled(e, 5));
            QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
            EXPECT_EQ(list->item(0)->text(), "Driver");

            // Nothing checked, nothing to save.
            ClickButton(e, 3);
            EXPECT_FALSE(Enabled(e, 0));
            EXPECT_EQ(list->currentRow(), 0);
            list->item(0)->setCheckState(Qt::Checked);
            EXPECT_TRUE(Enabled(e, 0));
            ClickButton(e, 2);
            EXPECT_EQ(Checked(e), 14);

            // The last entry, hidden, goes up two places and stays hidden and current.
            list->setCurrentRow(13);
            list->item(13)->setCheckState(Qt::Unchecked);
            EXPECT_FALSE(Enabled(e, 5));
            QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
            EXPECT_EQ(list->currentRow(), 13);
            QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
            QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier);
            EXPECT_EQ(list->currentRow(), 11);
            EXPECT_EQ(list->item(11)->text(), "Adj.");
            EXPECT_EQ(list->item(11)->checkState(), Qt::Unchecked);
            // The Down button brings the driver's column below the points.
            list->setCurrentRow(0);
            ClickButton(e, 5);
            EXPECT_TRUE(Enabled(e, 4));
            list->item(2)->setCheckState(Qt::Unchecked);
            ClickButton(e, 0);
            EXPECT_FALSE(e->Cancelled());
        });
        ClickButton(d, 1);
        // Shown again at once in the new order.
        EXPECT_EQ(Headers(d).mid(0, 4), (QStringList{"", "Points", "Driver", "Interval"}));
        EXPECT_EQ(Standings(d)->columnWidth(3), 0);
        EXPECT_EQ(Headers(d)[12], "Adj.");
        EXPECT_EQ(Standings(d)->columnWidth(12), 0);

        // Select All, then Cancel: nothing changes.
        desktop.OnModal<ColumnEditor>([&](ColumnEditor* e) {
            ClickButton(e, 2);
            e->close();
            EXPECT_TRUE(e->Cancelled());
        });
        ClickButton(d, 1);
    });
    EXPECT_EQ(StoredColumns(1), (QStringList{"+Points", "+Driver", "-Interval", "+Starts", "+Wins",
                                             "+Top 5", "+Top 10", "+Poles", "+Laps Led", "+Bonus",
                                             "+Avg Start", "-Adj.", "+Avg Finish", "+Winnings"}));
    EXPECT_EQ(ProgramDb()
                  .Scalar("SELECT group_concat(Sequence) FROM (SELECT Sequence FROM ReportField "
                          "WHERE ReportID=1 ORDER BY Sequence)")
                  .AsText(),
              "1,2,3,4,5,6,7,8,9,10,11,12,13,14");
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
        exportWith(d, [&](ExportDialog* x) {
            EXPECT_EQ(Child<QLineEdit>(x, "txtCaption")->text(), Q(caption));
            EXPECT_EQ(Child<QLineEdit>(x, "txtRepName")->text(), "Point Standings");
            Child<QLineEdit>(x, "txtHeading")->setText("Changed");
            x->reject();
        });
        EXPECT_EQ(ReadSetting(LeagueDb(), 4), caption);
        EXPECT_EQ(ReadSetting(LeagueDb(), 2), "XYZ Racing League");

        // Exported, then the file dialog cancelled: settings saved, no page.
        desktop.ExpectSaveDialog("");
        exportWith(d, [&](ExportDialog* x) {
            Child<QLineEdit>(x, "txtHeading")->setText("Millbrook League");
            ClickButton(x, 0);
        });
        EXPECT_EQ(desktop.FileRequests().back().fileName, "Point Standings.htm");
        EXPECT_EQ(ReadSetting(LeagueDb(), 2), "Millbrook League");
        EXPECT_FALSE(QFileInfo::exists(page));

        // Written; a second time over an existing page only when the user agrees.
        desktop.ExpectSaveDialog(page);
        exportWith(d, exportAsIs);
        const std::string written = scorewell::test::ReadFileBytes(page.toStdString());
        EXPECT_NE(written.find("<TITLE>Millbrook League</TITLE>"), std::string::npos);
        EXPECT_NE(written.find(">Point Standings</FONT></H2><H3><FONT COLOR=\"#008000\">" +
                               caption + "</FONT></H3>"),
                  std::string::npos);

        scorewell::test::WriteFileBytes(page.toStdString(), "last week");
        desktop.ExpectSaveDialog(page);
        desktop.ExpectMessage("File Exists", MessageAnswer::No,
                              "The file \"" + page + "\" already exists!  Overwrite it?");
        exportWith(d, exportAsIs);
        EXPECT_EQ(desktop.Messages().back().buttons, MessageButtons::YesNo);
        EXPECT_EQ(scorewell::test::ReadFileBytes(page.toStdString()), "last week");
        desktop.ExpectSaveDialog(page);
        desktop.ExpectMessage("File Exists", MessageAnswer::Yes);
        exportWith(d, exportAsIs);
        EXPECT_EQ(scorewell::test::ReadFileBytes(page.toStdString()), written);

        // A page that cannot be written.
        desktop.ExpectSaveDialog(Q(dir.File("gone/page.htm")));
        desktop.ExpectMessage("Scorewell", MessageAnswer::OK, "Error creating HTML file...");
        exportWith(d, exportAsIs);
    });
}

} // namespace
} // namespace scorewell::gui::test
