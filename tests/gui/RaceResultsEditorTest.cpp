#include "editing/RaceResultsEditor.h"
#include "GuiHarness.h"
#include "data/Drivers.h"
#include "data/LeagueFileActions.h"
#include "editing/DriverPicker.h"
#include "editing/ResultEditor.h"

namespace scorewell::gui::test {
namespace {

class RaceResultsEditorTest : public GuiTest {
protected:
    // Race > Edit on the first race, worked by the handler.
    void Edit(std::function<void(RaceResultsEditor*)> handler) {
        desktop.OnModal<RaceResultsEditor>(std::move(handler));
        SelectRows(0, 0);
        QTest::mouseClick(Button(1), Qt::LeftButton);
    }
    static QTableWidget* Results(QDialog* d) { return Child<QTableWidget>(d, "fgDrivers"); }
    static QLineEdit* Field(QDialog* d, int index) {
        return Line(d, QString("txtInfo_%1").arg(index));
    }
    // Fills every field of the result dialog and saves.
    static void TypeResult(QDialog* r, const QStringList& fields, const QString& reasonOut) {
        for (int i = 0; i < fields.size(); ++i) {
            Field(r, i)->setText(fields[i]);
        }
        Child<QComboBox>(r, "cboReasonOut")->setCurrentText(reasonOut);
        ClickButton(r, 1);
    }
};

TEST_F(RaceResultsEditorTest, ALeagueRaceShowsItsFiguresAndExcludedDriversInGrey) {
    Open(MakeDemoLeague("cup.slf", 1));
    SetDriversExcluded(Db(), {"Marisol Teague"}, true);
    Edit([&](RaceResultsEditor* d) {
        // On-line: no average speed; the excluded flag is never shown.
        ExpectLooks(d, "race-results-editor");
        QTableWidget* grid = Results(d);
        const QColor grey = d->palette().color(QPalette::Disabled, QPalette::Text);
        EXPECT_EQ(grid->item(1, 2)->foreground().color(), grey);
        EXPECT_NE(grid->item(0, 2)->foreground().color(), grey);
        EXPECT_GT(grid->item(19, 0)->data(Qt::UserRole).toInt(), 0);
        ClickButton(d, 0);
    });

    // Lap times: the method is drawn reversed and qualifying shows as the lap time.
    SaveLeagueProperties(*window->GetLeague(), 0, LapReportingMethod::LapTime);
    Edit([&](RaceResultsEditor* d) {
        ExpectLooks(d, "race-results-editor-lap-times");
        EXPECT_EQ(Child<QLabel>(d, "lblLRM")->palette().color(QPalette::WindowText),
                  d->palette().color(QPalette::Window));
        // The result dialog shows and takes the lap time too; left as shown, the speed stays.
        desktop.OnModal<ResultEditor>([&](ResultEditor* r) {
            EXPECT_EQ(Field(r, 8)->text(), "30.700");
            Field(r, 5)->setText("190");
            ClickButton(r, 1);
        });
        DoubleClick(Results(d), 0);
        desktop.OnModal<ResultEditor>([&](ResultEditor* r) {
            for (const char* notATime : {"1:75", "a", "1:2:3"}) {
                Field(r, 8)->setText(notATime);
                desktop.ExpectMessage("Error", MessageAnswer::OK, "is not a time");
                ClickButton(r, 1);
                EXPECT_TRUE(r->isVisible()) << notATime;
            }
            Field(r, 8)->clear();
            QTest::keyClicks(Field(r, 8), "0:30.5");
            ClickButton(r, 1);
        });
        DoubleClick(Results(d), 0);
        EXPECT_EQ(Results(d)->item(0, 8)->text(), "30.500");
        d->close();
    });
    EXPECT_EQ(Sql("SELECT Points || '|' || Qualifying FROM Stats WHERE Finish=1"), "190|177.049");
}

TEST_F(RaceResultsEditorTest, ResultsAreAddedChangedRemovedAndRecalculatedAtOnce) {
    const std::string cup = MakeDemoLeague("cup.slf", 1);
    Open(cup);
    Db().Execute("UPDATE Stats SET Points=999 WHERE Finish=1");
    // The window opens within the main window and does not grow with a long name.
    window->resize(700, 500);
    const QString wide(50, 'W');
    // The results and Edit after each step (golden race-results-editor-steps).
    Steps steps{{"fgDrivers", "cmdButton_1"}};
    Edit([&](RaceResultsEditor* d) {
        QTableWidget* grid = Results(d);
        const int opened = d->width();
        EXPECT_LE(opened, std::max(700, d->minimumSizeHint().width()));
        // Insert adds: a new driver, with quotes in Reason Out kept as typed. On-line the
        // average speed is not asked for (golden result-editor-new).
        const QString reasonOut = "O'Neil's \"push\"";
        desktop.OnModal<ResultEditor>([&](ResultEditor* r) {
            ExpectLooks(r, "result-editor-new");
            TypeResult(r, {"21", "21", wide, "100", "0", "0", "0", "0", "182.5"}, reasonOut);
        });
        QTest::keyClick(grid, Qt::Key_Insert);
        QApplication::processEvents();
        EXPECT_EQ(d->width(), opened);
        steps.Note("a driver with a long name inserted", d);
        EXPECT_EQ(Sql("SELECT Status || '|' || AvgSpeed FROM Stats WHERE StatsID=?",
                      {Value(grid->item(20, 0)->data(Qt::UserRole).toInt())}),
                  reasonOut.toStdString() + "|0");
        // A double click edits: the dialog shows the stored result (golden result-editor-stored),
        // another name, picked from the league's drivers in name order, nothing chosen at first
        // (golden driver-picker), moves it.
        desktop.OnModal<ResultEditor>([&](ResultEditor* r) {
            ExpectLooks(r, "result-editor-stored");
            desktop.OnModal<DriverPicker>([](DriverPicker* p) {
                auto* list = Child<QListWidget>(p, "lstDrivers");
                ExpectLooks(p, "driver-picker");
                auto* harlan = list->findItems("Wes Harlan", Qt::MatchExactly).value(0);
                ASSERT_NE(harlan, nullptr);
                const QPoint at = list->visualItemRect(harlan).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            });
            Click(r, "cmdPickDriver");
            EXPECT_EQ(Field(r, 2)->text(), "Wes Harlan");
            ClickButton(r, 1);
        });
        DoubleClick(grid, 20);
        steps.Note("the new result moved to Wes Harlan", d);

        // Enter with two rows selected edits nothing; Delete removes both.
        SelectBlock(grid, 19, 20);
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(desktop.ModalCount<ResultEditor>(), 2);
        steps.Note("two rows selected, Enter pressed", d);
        QTest::keyClick(grid, Qt::Key_Delete);

        // A gap closed up and the points rescored (how, ScoringTest.RecalculationRenumbersAnd-
        // RescoresFromScratch checks), but only when the user agrees.
        SelectBlock(grid, 2, 2);
        QTest::keyClick(grid, Qt::Key_Delete);
        steps.Note("the two removed, then the third", d);
        desktop.ExpectMessage("Warning", MessageAnswer::No,
                              "Any point or bonus changes you've make to this race\r\nwill be "
                              "lost.  Also, any gaps in finishing position will be eliminated.");
        ClickButton(d, 4);
        EXPECT_EQ(desktop.Messages().back().buttons, MessageButtons::YesNo);
        steps.Note("Recalculate answered No", d);
        desktop.ExpectMessage("Warning", MessageAnswer::Yes);
        ClickButton(d, 4);
        steps.Note("Recalculate answered Yes", d);
        ClickButton(d, 0);
    });
    steps.Expect("race-results-editor-steps");
    EXPECT_EQ(CountRows(cup, "Stats"), 18);
    // The driver made by Add stays in the league.
    EXPECT_EQ(Sql("SELECT Count(*) FROM Driver WHERE Name=?", {Value(wide.toStdString())}), "1");
}

TEST_F(RaceResultsEditorTest, TheEmptyRowStaysWhenEveryResultIsRemovedAndHasNothingToEdit) {
    const std::string cup = MakeLeague("cup.slf", {{"Daytona 500", 200, 2.5f}});
    Open(cup);
    // The results after each step (golden race-results-editor-emptied).
    Steps steps{{"fgDrivers"}};
    Edit([&](RaceResultsEditor* d) {
        QTableWidget* grid = Results(d);
        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(grid, Qt::Key_Delete);
        EXPECT_EQ(grid->item(0, 0)->data(Qt::UserRole).toInt(), 0);
        // Edit, Enter, a double click and Delete on the empty row do nothing and say nothing.
        ClickButton(d, 1);
        QTest::keyClick(grid, Qt::Key_Return);
        DoubleClick(grid, 0);
        QTest::keyClick(grid, Qt::Key_Delete);
        EXPECT_EQ(desktop.ModalCount<ResultEditor>(), 0);
        EXPECT_TRUE(desktop.Messages().empty());
        steps.Note("every result removed, then Edit, Enter, a double click and Delete", d);
        ClickButton(d, 0);
    });
    EXPECT_EQ(CountRows(cup, "Stats"), 0);

    // A race without results opens with the empty row, which the first result added replaces.
    Edit([&](RaceResultsEditor* d) {
        desktop.OnModal<ResultEditor>([](ResultEditor* r) {
            TypeResult(r, {"1", "1", "Ann Able", "200", "200", "185", "10", "0", "190"}, "Running");
        });
        ClickButton(d, 3);
        steps.Note("reopened, a result added", d);
        ClickButton(d, 0);
    });
    steps.Expect("race-results-editor-emptied");
    EXPECT_EQ(CountRows(cup, "Stats"), 1);
}

TEST_F(RaceResultsEditorTest, TheResultDialogTakesOnlyWhatItsFieldsHold) {
    // Off-line: the average speed is kept, typed as a text; the race's statistics are not.
    const std::string night = MakeLeague("night.slf", {}, 0, 1);
    Open(night);
    Db().Execute("INSERT INTO Race (Name, FileName, Length, Laps, RaceTime, Cautions) "
                 "VALUES ('Night Race', 'night.stn', 0.5, 300, '1:30:00.000', 4)");
    window->RefreshRaceList();
    Edit([&](RaceResultsEditor* d) {
        // The race's statistics as "---", the average speed column shown.
        ExpectLooks(d, "race-results-editor-offline");

        desktop.OnModal<ResultEditor>([&](ResultEditor* r) {
            // The average speed asked for, empty (golden result-editor-offline).
            ExpectLooks(r, "result-editor-offline");
            // Digits only, and a point in the speeds; Backspace passes.
            for (auto [field, typed, kept] : {std::tuple{0, "1a.2", "12"},
                                              {1, "1234", "123"},
                                              {7, "18x2.5", "182.5"},
                                              {2, "J. Doe 3rd", "J. Doe 3rd"}}) {
                QTest::keyClicks(Field(r, field), typed);
                EXPECT_EQ(Field(r, field)->text(), kept) << typed;
            }
            QTest::keyClick(Field(r, 0), Qt::Key_Backspace);
            EXPECT_EQ(Field(r, 0)->text(), "1");
            EXPECT_EQ(Field(r, 8)->maxLength(), 7);

            // Entering a field selects its text; leaving a speed empty makes it 0.
            for (int field : {8, 3, 1}) {
                Field(r, field)->setFocus();
                QApplication::processEvents();
            }
            EXPECT_EQ(Field(r, 8)->text(), "0");
            EXPECT_EQ(Field(r, 1)->selectedText(), "123");

            // Save waits for every field, the name not blank.
            for (int i : {3, 4, 5, 6}) {
                EXPECT_EQ(Enabled(r, {"cmdButton_1"}), "0");
                Field(r, i)->setText("0");
            }
            EXPECT_EQ(Enabled(r, {"cmdButton_1"}), "1");
            Field(r, 2)->setText("  ");
            EXPECT_EQ(Enabled(r, {"cmdButton_1"}), "0");

            // A league without drivers offers none (golden driver-picker-empty).
            desktop.OnModal<DriverPicker>([](DriverPicker* p) {
                ExpectLooks(p, "driver-picker-empty");
                p->close();
            });
            Click(r, "cmdPickDriver");
            EXPECT_EQ(Field(r, 2)->text(), "  ");

            // A name longer than the league keeps is not cut (a cut one could end in a blank):
            // Save says so (the wording CheckedDriverName.ANameIsTakenWithoutOuterBlanks...
            // checks) and the dialog stays, the name as it was.
            const QString tooLong = "Juan Pablo Montoya Roldan de la Cruz y Fernandez, Jr. III";
            Field(r, 2)->setText(tooLong);
            desktop.ExpectMessage("Error", MessageAnswer::OK, "has 57 characters");
            ClickButton(r, 1);
            EXPECT_TRUE(r->isVisible());
            EXPECT_EQ(Field(r, 2)->text(), tooLong);

            Field(r, 2)->setText("J. Doe 3rd ");
            ClickButton(r, 1);
        });
        ClickButton(d, 3);
        EXPECT_EQ(Results(d)->item(0, 7)->text(), "182.500");

        // Cancel changes nothing.
        desktop.OnModal<ResultEditor>([](ResultEditor* r) {
            Field(r, 0)->setText("9");
            ClickButton(r, 0);
        });
        ClickButton(d, 1);
        EXPECT_EQ(Results(d)->item(0, 0)->text(), "1");
        ClickButton(d, 0);
    });
    EXPECT_EQ(Sql("SELECT Finish || '|' || Start || '|' || AvgSpeed || '|' || Qualifying || '|' "
                  "|| Name FROM Stats JOIN Driver USING (DriverID)"),
              "1|123|182.5|0.0|J. Doe 3rd");
}

} // namespace
} // namespace scorewell::gui::test
