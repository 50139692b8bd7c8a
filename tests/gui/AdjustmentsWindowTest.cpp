#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "GuiTest.h"
#include "data/League.h"
#include "editing/AdjustmentEditor.h"
#include "editing/AdjustmentsWindow.h"
#include "reports/StandingsWindow.h"

namespace scorewell::gui::test {
namespace {

class AdjustmentsWindowTest : public GuiTest {
protected:
    void SetUp() override {
        StartOnDemoLeague();
        SetLeagueCommand(LeagueCommand::Adjustments, ShowAdjustmentsWindow);
        SetLeagueCommand(LeagueCommand::Calculate, ShowStandingsWindow);
    }
    Database& LeagueDb() { return window->GetLeague()->Db(); }
    static QTableWidget* List(QDialog* d) { return Child<QTableWidget>(d, "fgAdjustments"); }
    // Fills in the editor as a user types, then saves.
    static void Fill(AdjustmentEditor* e, const QString& driver, const QString& race,
                     const QString& points, const QString& reason) {
        auto* drivers = Child<QComboBox>(e, "cboDriver");
        drivers->setCurrentIndex(drivers->findText(driver));
        auto* races = Child<QComboBox>(e, "cboRace");
        races->setCurrentIndex(races->findText(race));
        for (auto [name, text] : {std::pair{"txtPoints", points}, {"txtReason", reason}}) {
            auto* box = Child<QLineEdit>(e, name);
            box->clear();
            QTest::keyClicks(box, text);
        }
        ClickButton(e, 1);
    }
    std::string Stored() {
        return LeagueDb()
            .Scalar("SELECT group_concat(DriverID || ':' || IFNULL(RaceID, '-') || ':' || Points "
                    "|| ':' || Reason, '|') FROM Adjustment")
            .AsText();
    }
};

TEST_F(AdjustmentsWindowTest, AddEditAndRemoveEachChangeTheLeagueAtOnce) {
    desktop.OnModal<AdjustmentsWindow>([&](AdjustmentsWindow* d) {
        EXPECT_EQ(List(d)->rowCount(), 0);
        EXPECT_FALSE(Child<QPushButton>(d, "cmdButton_1")->isEnabled());

        // A refused entry keeps the editor open with what was typed.
        desktop.OnModal<AdjustmentEditor>([&](AdjustmentEditor* e) {
            EXPECT_EQ(e->windowTitle(), "Add Adjustment");
            desktop.ExpectMessage("Error", MessageAnswer::OK, "a whole number other than 0");
            Fill(e, "Amos Whitlock", "Millbrook 500", "-2x5", "Wrecked <b>Bram</b>");
            EXPECT_TRUE(e->isVisible());
            EXPECT_EQ(Child<QLineEdit>(e, "txtReason")->text(), "Wrecked <b>Bram</b>");
            Fill(e, "Amos Whitlock", "Millbrook 500", "-25", "Wrecked <b>Bram</b>");
        });
        ClickButton(d, 0);
        EXPECT_EQ(Row(List(d), 0).mid(0, 4),
                  (QStringList{"Amos Whitlock", "Millbrook 500", "-25", "Wrecked <b>Bram</b>"}));
        EXPECT_TRUE(d->Changed());

        // Cancelled: nothing stored.
        desktop.OnModal<AdjustmentEditor>([&](AdjustmentEditor* e) { e->reject(); });
        QTest::keyClick(List(d), Qt::Key_Insert);
        EXPECT_EQ(List(d)->rowCount(), 1);

        desktop.OnModal<AdjustmentEditor>([&](AdjustmentEditor* e) {
            EXPECT_EQ(e->windowTitle(), "Edit Adjustment");
            EXPECT_EQ(Child<QComboBox>(e, "cboRace")->currentText(), "Millbrook 500");
            EXPECT_EQ(Child<QLineEdit>(e, "txtPoints")->text(), "-25");
            Fill(e, "Bram Okonkwo", "(the season)", "+10", "Appeal");
        });
        DoubleClick(List(d), 0);
        EXPECT_EQ(Row(List(d), 0).mid(0, 4), (QStringList{"Bram Okonkwo", "", "+10", "Appeal"}));

        desktop.ExpectMessage("Remove Adjustment", MessageAnswer::No);
        ClickButton(d, 2);
        EXPECT_EQ(List(d)->rowCount(), 1);
        desktop.ExpectMessage("Remove Adjustment", MessageAnswer::Yes, "\"Bram Okonkwo\"");
        QTest::keyClick(List(d), Qt::Key_Delete);
        EXPECT_EQ(List(d)->rowCount(), 0);
        EXPECT_EQ(Stored(), "");
        d->close();
    });
    Menu("mnuTools_4")->trigger();
    EXPECT_EQ(desktop.ModalCount<AdjustmentsWindow>(), 1);
}

TEST_F(AdjustmentsWindowTest, TheStandingsWindowShowsAChangeAtOnce) {
    desktop.OnModal<StandingsWindow>([&](StandingsWindow* d) {
        auto* grid = Child<QTableWidget>(d, "fgCalcs");
        const QString leader = grid->item(0, 1)->text();
        const int points = grid->item(0, 2)->text().toInt();
        desktop.OnModal<AdjustmentsWindow>([&](AdjustmentsWindow* a) {
            desktop.OnModal<AdjustmentEditor>([&](AdjustmentEditor* e) {
                Fill(e, leader, "(the season)", "-500", "Disqualified from the season");
            });
            ClickButton(a, 0);
            a->close();
        });
        ClickButton(d, 2);
        EXPECT_NE(grid->item(0, 1)->text(), leader);
        const int last = grid->rowCount() - 1;
        EXPECT_EQ(grid->item(last, 1)->text(), leader);
        EXPECT_EQ(grid->item(last, 2)->text().toInt(), points - 500);
        d->close();
    });
    Menu("mnuRace_4")->trigger();
    EXPECT_EQ(desktop.ModalCount<StandingsWindow>(), 1);
}

} // namespace
} // namespace scorewell::gui::test
