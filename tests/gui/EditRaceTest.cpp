#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <cstdlib>

#include "GuiTest.h"
#include "app/LeagueCommands.h"
#include "data/Drivers.h"
#include "data/League.h"
#include "data/LeagueFileActions.h"
#include "editing/frmEditRace.h"
#include "import/StageFiles.h"

namespace scorewell::gui::test {
namespace {

const std::string kRace =
    std::string(SCOREWELL_SOURCE_DIR) + "/resources/demo/01-harbor-point-400.stn";

class EditRaceTest : public GuiTest {
protected:
    void SetUp() override {
        PrepareProgram();
        SetLeagueCommand(LeagueCommand::Edit, ShowEditRace);
        ASSERT_TRUE(Start());
    }
    void TearDown() override {
        SetLeagueCommand(LeagueCommand::Edit, nullptr);
        GuiTest::TearDown();
    }

    // A league holding the demo season's first race, imported as the import dialog does it.
    std::string LeagueWithRace(int leagueType = 0) {
        const std::string path = MakeLeague("cup.slf", {}, 0, leagueType);
        Open(path);
        League& league = *window->GetLeague();
        StageResultFiles(league, league.LoadPointTable(), {kRace}, 0, 0);
        ImportStagedRaces(league);
        window->RefreshRaceList();
        return path;
    }
    Database& Db() { return window->GetLeague()->Db(); }
    // Race > Edit on the first race, worked by the handler.
    void Edit(std::function<void(QDialog*)> handler) {
        desktop.OnModal("frmEditRace", std::move(handler));
        SelectRows(0, 0);
        QTest::mouseClick(Button(1), Qt::LeftButton);
    }
    static QTableWidget* Results(QDialog* d) { return Child<QTableWidget>(d, "fgDrivers"); }
    static void Click(QDialog* d, int index) {
        QTest::mouseClick(Child<QPushButton>(d, QString("cmdButton_%1").arg(index)),
                          Qt::LeftButton);
    }
    static QLineEdit* Field(QDialog* d, int index) {
        return Child<QLineEdit>(d, QString("txtInfo_%1").arg(index));
    }
    static QString Label(QDialog* d, const char* name) { return Child<QLabel>(d, name)->text(); }
    static QStringList Row(QTableWidget* grid, int row) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c) {
            cells << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
        }
        return cells;
    }
    static void SelectResults(QTableWidget* grid, int first, int last) {
        grid->setCurrentCell(first, 0);
        grid->setRangeSelected(QTableWidgetSelectionRange(first, 0, last, grid->columnCount() - 1),
                               true);
    }
    static void DoubleClick(QTableWidget* grid, int row) {
        const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    // Fills every field of the result dialog and saves.
    static void TypeResult(QDialog* r, const QStringList& fields, const QString& reasonOut) {
        for (int i = 0; i < fields.size(); ++i) {
            Field(r, i)->setText(fields[i]);
        }
        Child<QComboBox>(r, "cboReasonOut")->setCurrentText(reasonOut);
        Click(r, 1);
    }
};

TEST_F(EditRaceTest, ALeagueRaceShowsItsDataColumnsAndExcludedDriversInGrey) {
    LeagueWithRace();
    SetDriversExcluded(Db(), {"Marisol Teague"}, true);
    Edit([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Race Results - 01-harbor-point-400.stn");
        EXPECT_EQ(Label(d, "lblTrackName"), "Harbor Point 400");
        EXPECT_EQ(Label(d, "lblTrackLength"), "1.500 miles");
        EXPECT_EQ(Label(d, "lblLaps"), "267 (400 miles)");
        EXPECT_EQ(Label(d, "lblRaceTime"), "2:35:22.548");
        EXPECT_EQ(Label(d, "lblAvgSpeed"), "154.66 mph");
        EXPECT_EQ(Label(d, "lblMargin"), "3.039 sec");
        EXPECT_EQ(Label(d, "lblCautions"), "2");
        EXPECT_EQ(Label(d, "lblLeadChanges"), "5");
        EXPECT_EQ(Label(d, "lblWeather"), "Cloudy, 66\xC2\xB0"
                                          "F");
        EXPECT_EQ(Label(d, "lblLRMDesc"), "Qualifying shown as:");
        EXPECT_EQ(Label(d, "lblLRM"), "Speed");
        EXPECT_EQ(Label(d, "Label8"), "Margin of Victory:");

        QTableWidget* grid = Results(d);
        QStringList headers;
        QList<int> widths;
        for (int c = 0; c < grid->columnCount(); ++c) {
            headers << grid->horizontalHeaderItem(c)->text();
            widths << grid->horizontalHeader()->sectionSize(c);
        }
        EXPECT_EQ(headers,
                  (QStringList{"Finish", "Start", "Driver", "Laps", "Led", "Points", "Bonus",
                               "Avg Speed", "Qualify", "Reason Out", "Excluded"}));
        // On-line: no average speed; the excluded flag is never shown. Columns are at least as
        // wide as designed and show their texts whole.
        const QList<int> designed = {33, 33, 141, 30, 27, 37, 37, 0, 47, 73, 0};
        for (int c = 0; c < widths.size(); ++c) {
            EXPECT_GE(widths[c], designed[c]) << c;
        }
        EXPECT_EQ(widths[7], 0);
        EXPECT_EQ(widths[10], 0);
        EXPECT_GE(widths[8], grid->fontMetrics().horizontalAdvance("175.895"));
        EXPECT_EQ(grid->rowCount(), 20);
        EXPECT_EQ(Row(grid, 0), (QStringList{"1", "4", "Zo\u00eb \u00d8deg\u00e5rd", "267", "232",
                                             "185", "10", "--", "175.895", "Running", "False"}));
        EXPECT_EQ(grid->item(0, 0)->textAlignment(), Qt::AlignCenter);
        EXPECT_EQ(grid->item(1, 2)->text(), "Marisol Teague");
        EXPECT_EQ(grid->item(1, 10)->text(), "True");
        const QColor grey = d->palette().color(QPalette::Disabled, QPalette::Text);
        EXPECT_EQ(grid->item(1, 2)->foreground().color(), grey);
        EXPECT_NE(grid->item(0, 2)->foreground().color(), grey);
        EXPECT_GT(grid->item(19, 0)->data(Qt::UserRole).toInt(), 0);
        EXPECT_TRUE(grid->item(0, 0)->isSelected());
        EXPECT_EQ(Child<QPushButton>(d, "cmdButton_4")->toolTip(),
                  "Recalculate points and bonuses");
        Click(d, 0);
    });

    // Lap times: the method is drawn reversed and qualifying shows as the lap time.
    SaveLeagueProperties(*window->GetLeague(), 0, 1);
    Edit([&](QDialog* d) {
        auto* method = Child<QLabel>(d, "lblLRM");
        EXPECT_EQ(method->text(), "Time");
        EXPECT_EQ(method->palette().color(QPalette::WindowText),
                  d->palette().color(QPalette::Window));
        EXPECT_EQ(Results(d)->item(0, 8)->text(), "30.700");
        d->close();
    });
}

TEST_F(EditRaceTest, ResultsAreAddedChangedAndRemovedAtOnce) {
    const std::string cup = LeagueWithRace();
    Edit([&](QDialog* d) {
        QTableWidget* grid = Results(d);
        // Insert adds: a new driver, with quotes in Reason Out kept as typed.
        const QString reasonOut = "O'Neil's \"push\"";
        desktop.OnModal("frmEditDriver2", [&](QDialog* r) {
            EXPECT_EQ(r->windowTitle(), "Add Driver Race Result");
            EXPECT_FALSE(Field(r, 7)->isVisible());
            EXPECT_EQ(Field(r, 7)->text(), "0");
            EXPECT_EQ(Field(r, 0)->text(), "");
            EXPECT_EQ(Child<QComboBox>(r, "cboReasonOut")->currentText(), "Running");
            EXPECT_FALSE(Child<QPushButton>(r, "cmdButton_1")->isEnabled());
            TypeResult(r, {"21", "21", "Tom Tank", "100", "0", "0", "0", "0", "182.5"}, reasonOut);
        });
        QTest::keyClick(grid, Qt::Key_Insert);
        ASSERT_EQ(grid->rowCount(), 21);
        EXPECT_EQ(Row(grid, 20), (QStringList{"21", "21", "Tom Tank", "100", "0", "0", "0", "--",
                                              "182.500", reasonOut, "False"}));
        EXPECT_TRUE(grid->item(20, 0)->isSelected());
        const std::int32_t added = grid->item(20, 0)->data(Qt::UserRole).toInt();
        EXPECT_EQ(Db().Scalar("SELECT Status FROM Stats WHERE StatsID=?", {Value(added)}).AsText(),
                  reasonOut.toStdString());
        EXPECT_EQ(
            Db().Scalar("SELECT AvgSpeed FROM Stats WHERE StatsID=?", {Value(added)}).AsText(),
            "0");

        // A double click edits: the dialog shows the stored result, another name moves it.
        desktop.OnModal("frmEditDriver2", [&](QDialog* r) {
            EXPECT_EQ(r->windowTitle(), "Edit Driver Race Result");
            EXPECT_EQ(Field(r, 2)->text(), "Tom Tank");
            EXPECT_EQ(Field(r, 8)->text(), "182.5");
            EXPECT_EQ(Child<QComboBox>(r, "cboReasonOut")->currentText(), reasonOut);
            desktop.OnModal("frmPickDriver", [](QDialog* p) {
                EXPECT_EQ(p->windowTitle(), "Select a Driver");
                auto* list = Child<QListWidget>(p, "lstDrivers");
                EXPECT_EQ(list->item(0)->text(), "Amos Whitlock");
                EXPECT_FALSE(Child<QPushButton>(p, "cmdButton_1")->isEnabled());
                auto* harlan = list->findItems("Wes Harlan", Qt::MatchExactly).value(0);
                ASSERT_NE(harlan, nullptr);
                const QPoint at = list->visualItemRect(harlan).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            });
            QTest::mouseClick(Child<QPushButton>(r, "cmdPickDriver"), Qt::LeftButton);
            EXPECT_EQ(Field(r, 2)->text(), "Wes Harlan");
            Click(r, 1);
        });
        DoubleClick(grid, 20);
        EXPECT_EQ(grid->item(20, 2)->text(), "Wes Harlan");

        // Enter with two rows selected edits nothing; Delete removes both.
        SelectResults(grid, 19, 20);
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(desktop.ModalCount("frmEditDriver2"), 2);
        EXPECT_FALSE(Child<QPushButton>(d, "cmdButton_1")->isEnabled());
        QTest::keyClick(grid, Qt::Key_Delete);
        EXPECT_EQ(grid->rowCount(), 19);
        EXPECT_EQ(grid->item(18, 2)->text(), "Pip Castellano");
        Click(d, 0);
    });
    EXPECT_EQ(CountRows(cup, "Stats"), 19);
    Database db = Database::Open(cup);
    // The driver made by Add stays in the league.
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Driver WHERE Name='Tom Tank'").AsInteger(), 1);
}

TEST_F(EditRaceTest, TheEmptyRowStaysWhenEveryResultIsRemovedAndHasNothingToEdit) {
    const std::string cup = MakeLeague("cup.slf", {{"Daytona 500", 200, 2.5f}});
    Open(cup);
    Edit([&](QDialog* d) {
        QTableWidget* grid = Results(d);
        EXPECT_EQ(grid->rowCount(), 1);
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(grid, Qt::Key_Delete);
        EXPECT_EQ(grid->rowCount(), 1);
        EXPECT_EQ(grid->item(0, 0)->data(Qt::UserRole).toInt(), 0);
        EXPECT_EQ(Row(grid, 0).join(""), "");
        // Edit, Enter, a double click and Delete on the empty row do nothing and say nothing.
        Click(d, 1);
        QTest::keyClick(grid, Qt::Key_Return);
        DoubleClick(grid, 0);
        QTest::keyClick(grid, Qt::Key_Delete);
        EXPECT_EQ(desktop.ModalCount("frmEditDriver2"), 0);
        EXPECT_TRUE(desktop.Messages().empty());
        Click(d, 0);
    });
    EXPECT_EQ(CountRows(cup, "Stats"), 0);

    // A race without results opens with the empty row, which the first result added replaces.
    Edit([&](QDialog* d) {
        QTableWidget* grid = Results(d);
        EXPECT_EQ(grid->rowCount(), 1);
        desktop.OnModal("frmEditDriver2", [](QDialog* r) {
            TypeResult(r, {"1", "1", "Ann Able", "200", "200", "185", "10", "0", "190"}, "Running");
        });
        Click(d, 3);
        EXPECT_EQ(grid->rowCount(), 1);
        EXPECT_EQ(grid->item(0, 2)->text(), "Ann Able");
        Click(d, 0);
    });
    EXPECT_EQ(CountRows(cup, "Stats"), 1);
    EXPECT_EQ(CountRows(cup, "Driver"), 1);
}

TEST_F(EditRaceTest, TheResultDialogTakesOnlyWhatItsFieldsHold) {
    // Off-line: the average speed is kept, typed as a text; the race's statistics are not.
    const std::string night = MakeLeague("night.slf", {}, 0, 1);
    Open(night);
    Db().Execute("INSERT INTO Race (Name, FileName, Length, Laps, RaceTime, Cautions) "
                 "VALUES ('Night Race', 'night.stn', 0.5, 300, '1:30:00.000', 4)");
    window->RefreshRaceList();
    Edit([&](QDialog* d) {
        EXPECT_EQ(Label(d, "lblRaceTime"), "---");
        EXPECT_EQ(Label(d, "lblCautions"), "---");
        EXPECT_EQ(Label(d, "lblLeadChanges"), "---");
        EXPECT_GE(Results(d)->horizontalHeader()->sectionSize(7), 60);

        desktop.OnModal("frmEditDriver2", [&](QDialog* r) {
            EXPECT_TRUE(Field(r, 7)->isVisible());
            EXPECT_EQ(Field(r, 7)->text(), "");
            // Digits only, and a point in the speeds; Backspace passes.
            QTest::keyClicks(Field(r, 0), "1a.2");
            EXPECT_EQ(Field(r, 0)->text(), "12");
            QTest::keyClick(Field(r, 0), Qt::Key_Backspace);
            EXPECT_EQ(Field(r, 0)->text(), "1");
            QTest::keyClicks(Field(r, 1), "1234");
            EXPECT_EQ(Field(r, 1)->text(), "123");
            QTest::keyClicks(Field(r, 7), "18x2.5");
            EXPECT_EQ(Field(r, 7)->text(), "182.5");
            QTest::keyClicks(Field(r, 2), "J. Doe 3rd");
            EXPECT_EQ(Field(r, 2)->text(), "J. Doe 3rd");
            EXPECT_EQ(Field(r, 2)->maxLength(), 50);
            EXPECT_EQ(Field(r, 8)->maxLength(), 7);

            // Entering a field selects its text; leaving a speed empty makes it 0.
            Field(r, 8)->setFocus();
            QApplication::processEvents();
            Field(r, 3)->setFocus();
            QApplication::processEvents();
            EXPECT_EQ(Field(r, 8)->text(), "0");
            Field(r, 1)->setFocus();
            QApplication::processEvents();
            EXPECT_EQ(Field(r, 1)->selectedText(), "123");

            // Save waits for every field.
            auto* save = Child<QPushButton>(r, "cmdButton_1");
            for (int i : {3, 4, 5, 6}) {
                EXPECT_FALSE(save->isEnabled());
                Field(r, i)->setText("0");
            }
            EXPECT_TRUE(save->isEnabled());
            Field(r, 2)->setText("  ");
            EXPECT_FALSE(save->isEnabled());

            // A league without drivers offers none.
            desktop.OnModal("frmPickDriver", [](QDialog* p) {
                auto* list = Child<QListWidget>(p, "lstDrivers");
                EXPECT_EQ(list->count(), 1);
                EXPECT_EQ(list->item(0)->text(), "[none]");
                EXPECT_FALSE(list->isEnabled());
                EXPECT_FALSE(Child<QPushButton>(p, "cmdButton_1")->isEnabled());
                p->close();
            });
            QTest::mouseClick(Child<QPushButton>(r, "cmdPickDriver"), Qt::LeftButton);
            EXPECT_EQ(Field(r, 2)->text(), "  ");
            Field(r, 2)->setText("J. Doe 3rd");
            Click(r, 1);
        });
        Click(d, 3);
        EXPECT_EQ(Results(d)->item(0, 7)->text(), "182.500");

        // Cancel changes nothing.
        desktop.OnModal("frmEditDriver2", [](QDialog* r) {
            Field(r, 0)->setText("9");
            Click(r, 0);
        });
        Click(d, 1);
        EXPECT_EQ(Results(d)->item(0, 0)->text(), "1");
        Click(d, 0);
    });
    Database db = Database::Open(night);
    EXPECT_EQ(db.Scalar("SELECT Finish || '|' || Start || '|' || AvgSpeed || '|' || Qualifying "
                        "FROM Stats")
                  .AsText(),
              "1|123|182.5|0.0");
}

TEST_F(EditRaceTest, RecalcAsksFirstAndThenRescoresTheRace) {
    LeagueWithRace();
    Db().Execute("UPDATE Stats SET Points=999 WHERE Finish=1");
    Edit([&](QDialog* d) {
        QTableWidget* grid = Results(d);
        SelectResults(grid, 2, 2);
        QTest::keyClick(grid, Qt::Key_Delete);
        EXPECT_EQ(grid->item(2, 0)->text(), "4");

        desktop.ExpectMessage("Warning", MessageAnswer::No);
        Click(d, 4);
        EXPECT_EQ(desktop.Messages().back().text,
                  "Recalculating this race will calculate points according to the currently "
                  "selected\r\npoint and bonus system.  Any point or bonus changes you've make to "
                  "this race\r\nwill be lost.  Also, any gaps in finishing position will be "
                  "eliminated.\r\nDo you want to continue?");
        EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::Exclamation);
        EXPECT_EQ(desktop.Messages().back().buttons, MessageButtons::YesNo);
        EXPECT_EQ(grid->item(0, 5)->text(), "999");
        EXPECT_EQ(grid->item(2, 0)->text(), "4");

        desktop.ExpectMessage("Warning", MessageAnswer::Yes);
        Click(d, 4);
        EXPECT_EQ(grid->rowCount(), 19);
        EXPECT_EQ(grid->item(0, 5)->text(), "185");
        EXPECT_EQ(grid->item(2, 0)->text(), "3");
        EXPECT_EQ(grid->item(18, 0)->text(), "19");
        Click(d, 0);
    });
    EXPECT_EQ(Db().Scalar("SELECT Points FROM Stats WHERE Finish=1").AsInteger(), 185);
}

// Pictures of the results editor and its dialogs, written only when SCOREWELL_SCREENSHOTS
// names a folder.
TEST_F(EditRaceTest, Screenshots) {
    const char* target = std::getenv("SCOREWELL_SCREENSHOTS");
    if (!target || !*target) {
        GTEST_SKIP() << "SCOREWELL_SCREENSHOTS is not set";
    }
    const QString folder = target;
    QDir().mkpath(folder);
    auto save = [&](QWidget* w, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(w->grab().save(folder + "/" + name + ".png")) << name.toStdString();
    };
    LeagueWithRace();
    SetDriversExcluded(Db(), {"Marisol Teague"}, true);
    Edit([&](QDialog* d) {
        save(d, "edit-league-race");
        desktop.OnModal("frmEditDriver2", [&](QDialog* r) {
            save(r, "edit-driver-online");
            desktop.OnModal("frmPickDriver", [&](QDialog* p) {
                save(p, "pick-driver");
                p->close();
            });
            QTest::mouseClick(Child<QPushButton>(r, "cmdPickDriver"), Qt::LeftButton);
            r->close();
        });
        Click(d, 1);
        d->close();
    });
    window->GetLeague()->Db().Execute("UPDATE Settings SET SettingValue='1' WHERE SettingsID=12");
    window->GetLeague()->LoadWorkingSettings();
    SaveLeagueProperties(*window->GetLeague(), 0, 1);
    Edit([&](QDialog* d) {
        save(d, "edit-offline-time");
        desktop.OnModal("frmEditDriver2", [&](QDialog* r) {
            save(r, "edit-driver-offline");
            r->close();
        });
        Click(d, 1);
        d->close();
    });
}

} // namespace
} // namespace scorewell::gui::test
