#include "import/OfflineSettingsDialog.h"
#include "GuiHarness.h"
#include "common/Domain.h"

namespace scorewell::gui::test {
namespace {

// Tools > Offline Settings is mnuTools_3.

class OfflineSettingsDialogTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Open(MakeLeague("night.slf", {}, static_cast<int>(Simulation::NascarRacing3),
                        static_cast<int>(LeagueType::Offline)));
    }
    static QTableWidget* Priorities(QDialog* d) { return Child<QTableWidget>(d, "fgPriorities"); }
    QStringList Stored() {
        return Q(Sql("SELECT group_concat(Name) FROM (SELECT Name FROM RankCriteria ORDER BY "
                     "Priority)"))
            .split(',');
    }
};

const QStringList kShipped = {"Laps Completed", "Average Speed", "Laps Led", "Qualifying Speed"};

TEST_F(OfflineSettingsDialogTest, BlocksOfRowsMoveWithinTheListAndSaveStoresTheirOrder) {
    // The grid, Up, Down and Save after each step (golden offline-settings-moves): the top row
    // selected at first cannot go higher; two rows moved down let the row below them go above
    // them and stay selected (where a block goes MoveBlock.ABlockMovesOnePlaceUntilItTouchesAnEnd
    // checks); Save waits for a move.
    Steps steps{{"fgPriorities", "cmdMove_0", "cmdMove_1", "cmdButton_1"}};
    Modal<OfflineSettingsDialog>("mnuTools_3", [&](OfflineSettingsDialog* d) {
        steps.Note("opened", d);
        Click(d, "cmdMove_0");
        steps.Note("up at the top", d);
        ClickRows(Priorities(d), 0, 1, 1);
        Click(d, "cmdMove_1");
        steps.Note("rows 1 and 2 down", d);
        Click(d, "cmdMove_1");
        steps.Note("down again, to the end", d);
        EXPECT_EQ(Stored(), kShipped);
        ClickButton(d, 1);
        EXPECT_FALSE(d->Cancelled());
    });
    steps.Expect("offline-settings-moves");
    EXPECT_EQ(Stored(),
              (QStringList{"Laps Led", "Qualifying Speed", "Laps Completed", "Average Speed"}));
}

TEST_F(OfflineSettingsDialogTest, LeavingWithAMoveUnsavedAsksWhetherToSaveIt) {
    desktop.ExpectMessage("Unsaved Information", MessageAnswer::Cancel,
                          "Do you want to save the changes you've made?");
    desktop.ExpectMessage("Unsaved Information", MessageAnswer::No);
    Modal<OfflineSettingsDialog>("mnuTools_3", [&](OfflineSettingsDialog* d) {
        Click(d, "cmdMove_1");
        ClickButton(d, 0);
        EXPECT_TRUE(d->isVisible());
        d->close();
        EXPECT_FALSE(d->isVisible());
        EXPECT_TRUE(d->Cancelled());
    });
    EXPECT_EQ(Stored(), kShipped);

    // Without a move nothing is asked; with one, Yes saves it.
    Modal<OfflineSettingsDialog>("mnuTools_3",
                                 [&](OfflineSettingsDialog* d) { ClickButton(d, 0); });
    desktop.ExpectMessage("Unsaved Information", MessageAnswer::Yes);
    Modal<OfflineSettingsDialog>("mnuTools_3", [&](OfflineSettingsDialog* d) {
        Click(d, "cmdMove_1");
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_EQ(Stored(),
              (QStringList{"Average Speed", "Laps Completed", "Laps Led", "Qualifying Speed"}));
    EXPECT_EQ(desktop.Messages().front().buttons, MessageButtons::YesNoCancel);
}

} // namespace
} // namespace scorewell::gui::test
