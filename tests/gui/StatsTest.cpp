#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <cstdlib>

#include "GuiTest.h"
#include "app/LeagueCommands.h"
#include "common/Controls.h"
#include "data/League.h"
#include "data/Settings.h"
#include "html/PageExport.h"
#include "html/frmExport.h"
#include "reports/frmEditColumns.h"
#include "reports/frmStats.h"

namespace scorewell::gui::test {
namespace {

class StatsTest : public GuiTest {
protected:
    std::string demo;

    void SetUp() override {
        PrepareProgram();
        // Three races, the worst result of each driver dropped.
        demo = MakeDemoLeague("demo.slf", 3, 1);
        ASSERT_TRUE(Start());
        SetLeagueCommand(LeagueCommand::Calculate, ShowStats);
        Open(demo);
    }
    void TearDown() override {
        SetLeagueCommand(LeagueCommand::Calculate, nullptr);
        GuiTest::TearDown();
    }
    Database& LeagueDb() { return window->GetLeague()->Db(); }
    Database& ProgramDb() { return window->GetProgram()->Db(); }

    // Race > Calculate with a handler that works the window and closes it.
    void Calculate(std::function<void(frmStats*)> handler) {
        desktop.OnModal("frmStats", [handler](QDialog* d) {
            handler(static_cast<frmStats*>(d));
            d->close();
        });
        Menu("mnuRace_4")->trigger();
        ASSERT_EQ(desktop.ModalCount("frmStats"), 1);
    }
    static QString Cell(frmStats* d, int row, int column) {
        QTableWidgetItem* item = d->fgCalcs->item(row, column);
        return item ? item->text() : QString("(none)");
    }
    static QStringList Headers(frmStats* d) {
        QStringList headers;
        for (int c = 0; c < d->fgCalcs->columnCount(); ++c) {
            headers << d->fgCalcs->horizontalHeaderItem(c)->text();
        }
        return headers;
    }
    static QStringList Entries(frmEditColumns* d, bool checkedOnly = false) {
        QStringList entries;
        for (int i = 0; i < d->lstColumns->count(); ++i) {
            QListWidgetItem* entry = d->lstColumns->item(i);
            if (!checkedOnly || entry->checkState() == Qt::Checked) {
                entries << entry->text();
            }
        }
        return entries;
    }
    void ChooseReport(frmStats* d, const QString& name) {
        d->cboStat->setCurrentIndex(d->cboStat->findText(name));
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

TEST_F(StatsTest, TheWindowMarksDroppedResultsAndShowsTheChosenReport) {
    // The interval is hidden: its column stays, with no width, its values formatted all the
    // same.
    ProgramDb().Execute("UPDATE ReportField SET Hidden=1 WHERE ReportID=1 AND Field='Interval'");
    // A report that finds nothing, and one without columns.
    ProgramDb().Execute("INSERT INTO Report (Name, Query, Sequence) VALUES "
                        "('Nobody', 'SELECT Name FROM Driver WHERE 0', 20), "
                        "('No Columns', 'SELECT Name FROM Driver', 21)");
    ProgramDb().Execute("INSERT INTO ReportField (ReportID, Sequence, Name, ColWidth, "
                        "ColAlignment, Field) SELECT ReportID, 1, 'Name', 2000, 1, 'Name' "
                        "FROM Report WHERE Name='Nobody'");

    Calculate([&](frmStats* d) {
        EXPECT_EQ(d->Label2->text(), "Results based on each driver's best 2 finishes of 3 events:");
        ASSERT_EQ(d->cboStat->count(), 9);
        EXPECT_EQ(d->cboStat->itemText(0), "Point Standings");
        EXPECT_EQ(d->cboStat->itemText(6), "Qualifying");

        // Point Standings: the row numbers in the fixed column, then the report's columns.
        EXPECT_EQ(d->fgCalcs->columnCount(), 14);
        EXPECT_EQ(Headers(d).mid(0, 4), (QStringList{"", "Driver", "Points", "Interval"}));
        EXPECT_EQ(d->fgCalcs->columnWidth(1), 167);
        EXPECT_EQ(d->fgCalcs->columnWidth(3), 0);
        EXPECT_EQ(d->fgCalcs->columnWidth(13), 0);
        EXPECT_EQ(d->fgCalcs->rowCount(), 20);
        EXPECT_EQ(Cell(d, 0, 0), "1");
        EXPECT_EQ(Cell(d, 19, 0), "20");
        EXPECT_EQ(Cell(d, 0, 1), "Amos Whitlock");
        EXPECT_EQ(Cell(d, 0, 2), "355");
        EXPECT_EQ(Cell(d, 0, 3), "--");
        EXPECT_EQ(Cell(d, 1, 3), "24");
        EXPECT_EQ(Cell(d, 1, 12), "5.0");
        EXPECT_EQ(d->fgCalcs->item(0, 2)->textAlignment(), int(Qt::AlignCenter));
        EXPECT_EQ(d->fgCalcs->item(0, 1)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
        // The first row is current from the first report column, selected to the last.
        EXPECT_EQ(d->fgCalcs->currentRow(), 0);
        EXPECT_EQ(d->fgCalcs->currentColumn(), 1);
        EXPECT_EQ(d->fgCalcs->selectedItems().size(), 13);

        ChooseReport(d, "Race Winners");
        EXPECT_EQ(Headers(d), (QStringList{"", "Race", "Winner", "Pole", "Most Laps Led"}));
        EXPECT_EQ(d->fgCalcs->rowCount(), 3);
        EXPECT_EQ(Cell(d, 1, 1), "Millbrook 500");
        EXPECT_EQ(d->fgCalcs->columnWidth(0), 20);

        ChooseReport(d, "Nobody");
        EXPECT_EQ(Headers(d), (QStringList{"", "Name"}));
        EXPECT_EQ(d->fgCalcs->rowCount(), 0);
        EXPECT_TRUE(d->fgCalcs->selectedItems().isEmpty());
        // Without columns the grid keeps what it showed.
        ChooseReport(d, "No Columns");
        EXPECT_EQ(Headers(d), (QStringList{"", "Name"}));

        // The list and the grid share the width; the buttons stand to their right, from the
        // list's top down, and follow the window's size.
        d->resize(900, 600);
        QApplication::processEvents();
        EXPECT_EQ(d->fgCalcs->width(), d->cboStat->width());
        EXPECT_EQ(d->cmdButton[0]->y(), d->cboStat->y());
        EXPECT_GT(d->cmdButton[1]->y(), d->cmdButton[0]->y() + d->cmdButton[0]->height() - 1);
        EXPECT_GT(d->cmdButton[0]->x(), d->cboStat->x() + d->cboStat->width());
        EXPECT_EQ(d->fgCalcs->x(), d->cboStat->x());
        const int before = d->fgCalcs->height();
        d->resize(900, 700);
        QApplication::processEvents();
        EXPECT_EQ(d->fgCalcs->height(), before + 100);
    });
    // Every driver ran all three races and lost one.
    EXPECT_EQ(LeagueDb().Scalar("SELECT Count(*) FROM Stats WHERE Dropped").AsInteger(), 20);
}

TEST_F(StatsTest, TheColumnEditorShowsHidesAndMovesColumnsForEveryLeague) {
    Calculate([&](frmStats* d) {
        desktop.OnModal("frmEditColumns", [&](QDialog* dialog) {
            auto* e = static_cast<frmEditColumns*>(dialog);
            EXPECT_EQ(e->windowTitle(), "Columns for \"Point Standings\"");
            EXPECT_EQ(Entries(e).size(), 13);
            EXPECT_EQ(Entries(e, true).size(), 12);
            EXPECT_EQ(e->lstColumns->currentRow(), 0);
            EXPECT_FALSE(e->cmdButton[4]->isEnabled());
            EXPECT_TRUE(e->cmdButton[5]->isEnabled());
            QTest::keyClick(e->lstColumns, Qt::Key_Up, Qt::ControlModifier);
            EXPECT_EQ(Entries(e).first(), "Driver");

            // Nothing checked, nothing to save.
            QTest::mouseClick(e->cmdButton[3], Qt::LeftButton);
            EXPECT_FALSE(e->cmdButton[0]->isEnabled());
            EXPECT_EQ(e->lstColumns->currentRow(), 0);
            e->lstColumns->item(0)->setCheckState(Qt::Checked);
            EXPECT_TRUE(e->cmdButton[0]->isEnabled());
            QTest::mouseClick(e->cmdButton[2], Qt::LeftButton);
            EXPECT_EQ(Entries(e, true).size(), 13);

            // The last entry, hidden, goes up two places and stays hidden and current.
            e->lstColumns->setCurrentRow(12);
            e->lstColumns->item(12)->setCheckState(Qt::Unchecked);
            EXPECT_FALSE(e->cmdButton[5]->isEnabled());
            QTest::keyClick(e->lstColumns, Qt::Key_Down, Qt::ControlModifier);
            EXPECT_EQ(e->lstColumns->currentRow(), 12);
            QTest::keyClick(e->lstColumns, Qt::Key_Up, Qt::ControlModifier);
            QTest::keyClick(e->lstColumns, Qt::Key_Up, Qt::ControlModifier);
            EXPECT_EQ(e->lstColumns->currentRow(), 10);
            EXPECT_EQ(e->lstColumns->item(10)->text(), "Winnings");
            EXPECT_EQ(e->lstColumns->item(10)->checkState(), Qt::Unchecked);
            // The Down button brings the driver's column below the points.
            e->lstColumns->setCurrentRow(0);
            QTest::mouseClick(e->cmdButton[5], Qt::LeftButton);
            EXPECT_TRUE(e->cmdButton[4]->isEnabled());
            e->lstColumns->item(2)->setCheckState(Qt::Unchecked);
            QTest::mouseClick(e->cmdButton[0], Qt::LeftButton);
            EXPECT_FALSE(e->Cancelled());
        });
        QTest::mouseClick(d->cmdButton[1], Qt::LeftButton);
        // Shown again at once in the new order.
        EXPECT_EQ(Headers(d).mid(0, 4), (QStringList{"", "Points", "Driver", "Interval"}));
        EXPECT_EQ(d->fgCalcs->columnWidth(3), 0);
        EXPECT_EQ(Headers(d)[11], "Winnings");
        EXPECT_EQ(d->fgCalcs->columnWidth(11), 0);

        // Select All, then Cancel: nothing changes.
        desktop.OnModal("frmEditColumns", [&](QDialog* dialog) {
            auto* e = static_cast<frmEditColumns*>(dialog);
            QTest::mouseClick(e->cmdButton[2], Qt::LeftButton);
            e->close();
            EXPECT_TRUE(e->Cancelled());
        });
        QTest::mouseClick(d->cmdButton[1], Qt::LeftButton);
    });
    EXPECT_EQ(StoredColumns(1), (QStringList{"+Points", "+Driver", "-Interval", "+Starts", "+Wins",
                                             "+Top 5", "+Top 10", "+Poles", "+Laps Led", "+Bonus",
                                             "-Winnings", "+Avg Start", "+Avg Finish"}));
    EXPECT_EQ(ProgramDb()
                  .Scalar("SELECT group_concat(Sequence) FROM (SELECT Sequence FROM ReportField "
                          "WHERE ReportID=1 ORDER BY Sequence)")
                  .AsText(),
              "1,2,3,4,5,6,7,8,9,10,11,12,13");
}

TEST_F(StatsTest, TheShownReportIsPublishedWithTheSavedSettings) {
    const QString page = QString::fromStdString(dir.File("Point Standings.htm"));
    Calculate([&](frmStats* d) {
        // Cancelled in the export dialog: the caption is stored all the same, nothing else.
        desktop.OnModal("frmExport", [&](QDialog* dialog) {
            auto* x = static_cast<frmExport*>(dialog);
            EXPECT_EQ(x->windowTitle(), "Export to HTML");
            EXPECT_EQ(x->txtCaption->text(),
                      "Results based on each driver's best 2 finishes of 3 events");
            EXPECT_EQ(x->txtRepName->text(), "Point Standings");
            x->txtHeading->setText("Changed");
            x->reject();
        });
        QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
        EXPECT_EQ(ReadSetting(LeagueDb(), 4),
                  "Results based on each driver's best 2 finishes of 3 events");
        EXPECT_EQ(ReadSetting(LeagueDb(), 2), "XYZ Racing League");

        // Exported, then the file dialog cancelled: settings saved, no page.
        desktop.OnModal("frmExport", [&](QDialog* dialog) {
            auto* x = static_cast<frmExport*>(dialog);
            x->txtHeading->setText("Millbrook League");
            QTest::mouseClick(x->cmdButton[0], Qt::LeftButton);
        });
        desktop.ExpectSaveDialog("");
        QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
        EXPECT_EQ(desktop.FileRequests().back().fileName, "Point Standings.htm");
        EXPECT_EQ(desktop.FileRequests().back().filter, "HTML File (*.htm)|*.htm");
        EXPECT_EQ(ReadSetting(LeagueDb(), 2), "Millbrook League");
        EXPECT_FALSE(QFileInfo::exists(page));

        // Written; a second time over an existing page only when the user agrees.
        desktop.OnModal("frmExport", [&](QDialog* dialog) {
            static_cast<frmExport*>(dialog)->cmdButton[0]->click();
        });
        desktop.ExpectSaveDialog(page);
        QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
        const std::string written = scorewell::test::ReadFileBytes(page.toStdString());
        EXPECT_NE(written.find("<TITLE>Millbrook League</TITLE>"), std::string::npos);
        EXPECT_NE(written.find(">Point Standings</FONT></H2><H3><FONT COLOR=\"#008000\">Results "
                               "based on each driver's best 2 finishes of 3 events</FONT></H3>"),
                  std::string::npos);
        EXPECT_NE(written.find("<TD ALIGN=\"LEFT\"><FONT >Amos Whitlock</FONT></TD>\r\n"
                               "<TD ALIGN=\"CENTER\"><FONT >355</FONT></TD>\r\n"
                               "<TD ALIGN=\"CENTER\"><FONT >--</FONT></TD>\r\n"),
                  std::string::npos);
        EXPECT_NE(written.find("<p>Points and scoring generated by"), std::string::npos);

        scorewell::test::WriteFileBytes(page.toStdString(), "last week");
        desktop.ExpectSaveDialog(page);
        desktop.ExpectMessage("File Exists", MessageAnswer::No,
                              "The file \"" + page + "\" already exists!  Overwrite it?");
        QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
        EXPECT_EQ(desktop.Messages().back().buttons, MessageButtons::YesNo);
        EXPECT_EQ(scorewell::test::ReadFileBytes(page.toStdString()), "last week");
        desktop.ExpectSaveDialog(page);
        desktop.ExpectMessage("File Exists", MessageAnswer::Yes);
        QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
        EXPECT_EQ(scorewell::test::ReadFileBytes(page.toStdString()), written);

        // A page that cannot be written.
        desktop.ExpectSaveDialog(QString::fromStdString(dir.File("gone/page.htm")));
        desktop.ExpectMessage("Scorewell", MessageAnswer::OK, "Error creating HTML file...");
        QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
        EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::None);
    });
}

// Pictures of the windows, written only when SCOREWELL_SCREENSHOTS names a folder (as the
// screenshots of the main window are).
TEST_F(StatsTest, Screenshots) {
    const char* target = std::getenv("SCOREWELL_SCREENSHOTS");
    if (!target || !*target) {
        GTEST_SKIP() << "SCOREWELL_SCREENSHOTS is not set";
    }
    const QString folder = target;
    QDir().mkpath(folder);
    auto save = [&](QWidget* widget, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(widget->grab().save(folder + "/" + name + ".png"));
    };
    Calculate([&](frmStats* d) {
        d->resize(1000, 620);
        save(d, "stats-standings");
        ChooseReport(d, "Race Winners");
        save(d, "stats-race-winners");
        ChooseReport(d, "Point Standings");
        desktop.OnModal("frmEditColumns", [&](QDialog* e) {
            save(e, "columns");
            e->close();
        });
        QTest::mouseClick(d->cmdButton[1], Qt::LeftButton);
        desktop.OnModal("frmExport", [&](QDialog* dialog) {
            auto* x = static_cast<frmExport*>(dialog);
            save(x, "export-text");
            x->tabExport->setCurrentIndex(1);
            x->chkRowColors[0]->setChecked(true);
            x->chkRowColors[1]->setChecked(true);
            save(x, "export-table");
            x->tabExport->setCurrentIndex(2);
            save(x, "export-page");
            x->reject();
        });
        QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
    });
}

} // namespace
} // namespace scorewell::gui::test
