#include "import/OfflineSettingsDialog.h"
#include "GuiHarness.h"
#include "common/Domain.h"

namespace scorewell::gui::test {
namespace {

class OfflineSettingsDialogTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Open(MakeLeague("night.slf", {}, static_cast<int>(Simulation::NascarRacing3),
                        static_cast<int>(LeagueType::Offline)));
    }
    // Tools > Offline Settings, worked by the handler.
    void Settings(std::function<void(OfflineSettingsDialog*)> handler) {
        Modal<OfflineSettingsDialog>("mnuTools_3", std::move(handler));
    }
    static QTableWidget* Priorities(QDialog* d) { return Child<QTableWidget>(d, "fgPriorities"); }
    // What the grid shows, "1 Name" a row.
    static QStringList Shown(QDialog* d) {
        QStringList rows;
        for (int r = 0; r < Priorities(d)->rowCount(); ++r) {
            rows << Row(Priorities(d), r).join(' ');
        }
        return rows;
    }
    // Up, down and Save available, in that order.
    static std::string States(QDialog* d) {
        return Enabled(d, {"cmdMove_0", "cmdMove_1", "cmdButton_1"});
    }
    QStringList Stored() {
        return Q(Sql("SELECT group_concat(Name) FROM (SELECT Name FROM RankCriteria ORDER BY "
                     "Priority)"))
            .split(',');
    }
};

const QStringList kShipped = {"Laps Completed", "Average Speed", "Laps Led", "Qualifying Speed"};

TEST_F(OfflineSettingsDialogTest, BlocksOfRowsMoveWithinTheListAndSaveStoresTheirOrder) {
    Settings([&](OfflineSettingsDialog* d) {
        EXPECT_EQ(Shown(d), (QStringList{"1 Laps Completed", "2 Average Speed", "3 Laps Led",
                                         "4 Qualifying Speed"}));
        EXPECT_EQ(Priorities(d)->selectedItems().size(), 2);
        EXPECT_EQ(States(d), "010");
        // The top row cannot go higher.
        Click(d, "cmdMove_0");
        EXPECT_EQ(States(d), "010");

        // Two rows down: the row below them goes above them; they stay selected. (Where a block
        // goes MoveBlock.ABlockMovesOnePlaceUntilItTouchesAnEnd checks.)
        ClickRows(Priorities(d), 0, 1, 1);
        Click(d, "cmdMove_1");
        EXPECT_EQ(Shown(d), (QStringList{"1 Laps Led", "2 Laps Completed", "3 Average Speed",
                                         "4 Qualifying Speed"}));
        EXPECT_EQ(Priorities(d)->selectedRanges().size(), 1);
        EXPECT_EQ(Priorities(d)->selectedRanges()[0].topRow(), 1);
        EXPECT_EQ(Priorities(d)->selectedRanges()[0].bottomRow(), 2);
        EXPECT_EQ(States(d), "111");
        Click(d, "cmdMove_1");
        EXPECT_EQ(States(d), "101");
        EXPECT_EQ(Stored(), kShipped);
        ClickButton(d, 1);
        EXPECT_FALSE(d->Cancelled());
    });
    EXPECT_EQ(Stored(),
              (QStringList{"Laps Led", "Qualifying Speed", "Laps Completed", "Average Speed"}));
}

TEST_F(OfflineSettingsDialogTest, LeavingWithAMoveUnsavedAsksWhetherToSaveIt) {
    desktop.ExpectMessage("Unsaved Information", MessageAnswer::Cancel,
                          "Do you want to save the changes you've made?");
    desktop.ExpectMessage("Unsaved Information", MessageAnswer::No);
    Settings([&](OfflineSettingsDialog* d) {
        Click(d, "cmdMove_1");
        ClickButton(d, 0);
        EXPECT_TRUE(d->isVisible());
        d->close();
        EXPECT_FALSE(d->isVisible());
        EXPECT_TRUE(d->Cancelled());
    });
    EXPECT_EQ(Stored(), kShipped);

    // Without a move nothing is asked; with one, Yes saves it.
    Settings([&](OfflineSettingsDialog* d) { ClickButton(d, 0); });
    desktop.ExpectMessage("Unsaved Information", MessageAnswer::Yes);
    Settings([&](OfflineSettingsDialog* d) {
        Click(d, "cmdMove_1");
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_EQ(Stored(),
              (QStringList{"Average Speed", "Laps Completed", "Laps Led", "Qualifying Speed"}));
    EXPECT_EQ(desktop.Messages().front().buttons, MessageButtons::YesNoCancel);
}

} // namespace
} // namespace scorewell::gui::test
