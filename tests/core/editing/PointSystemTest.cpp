#include <gtest/gtest.h>

#include "common/Domain.h"
#include "common/Errors.h"
#include "core/LeagueFixture.h"
#include "data/Settings.h"
#include "editing/PointSystem.h"
#include "editing/RankCriteriaOrder.h"
#include "scoring/Recalculation.h"
#include "support/Checks.h"
#include <string>
#include <vector>

namespace scorewell {
namespace {

class PointSystemTest : public test::LeagueFixture {
protected:
    void SetUp() override {
        Open();
        test::RunSqlFixture(Db(), "sql/bob-wins-twice.sql");
    }
    std::vector<std::string> Results() {
        return Rows("SELECT RaceID, Finish, Points, Bonus, PrizeMoney FROM Stats ORDER BY StatsID");
    }
};

TEST_F(PointSystemTest, SavingStoresEverythingInOneStepAndRescoresNothing) {
    // A rule removed from the league: the others keep their own identifiers.
    Db().Execute("DELETE FROM Bonus WHERE BonusID=2");
    LeaguePointSystem system = ReadPointSystem(Db());
    ASSERT_EQ(system.bonuses[1].bonusId, 3);
    system.bonuses[0].points.reset();
    system.bonuses[1].points = 7;
    system.positions = {{10, 1000}, {7, std::nullopt}, {std::nullopt, std::nullopt}};
    system.useCustomPoints = true;
    const std::vector<std::string> before = Results();
    SavePointSystem(*league, system);

    EXPECT_EQ(Rows("SELECT Position, Points, PrizeMoney FROM PointSystem ORDER BY Position"),
              (std::vector<std::string>{"1|10|1000", "2|7|0", "3|0|0"}));
    EXPECT_EQ(Rows("SELECT BonusID, Points FROM Bonus WHERE BonusID<=3"),
              (std::vector<std::string>{"1|0", "3|7"}));
    EXPECT_EQ(ReadSetting(Db(), SettingId::UseCustomPointSystem), "1");
    EXPECT_EQ(ReadSetting(Db(), SettingId::UseCustomBonusSystem), "0");
    EXPECT_TRUE(league->Settings().useCustomPointSystem);
    EXPECT_EQ(Results(), before);

    // Counting tries the rescoring and takes it back.
    EXPECT_EQ(CountRacesChangedByRescoring(*league), 2);
    EXPECT_EQ(Results(), before);
    RecalculateAllRaces(*league);
    EXPECT_EQ(Results()[0], "1|1|20|10|1000");
    EXPECT_EQ(Results()[2], "1|3|0|0|0");
    EXPECT_EQ(CountRacesChangedByRescoring(*league), 0);

    // A value out of range stores nothing at all.
    system.useCustomPoints = false;
    system.positions[1].points = 40000;
    EXPECT_THROW(SavePointSystem(*league, system), ScorewellError);
    EXPECT_EQ(ReadSetting(Db(), SettingId::UseCustomPointSystem), "1");
    EXPECT_EQ(Count("PointSystem"), 3);
}

// Filling down to zero, past the last position, is in the transcript of the points command
// (tests/fixtures/cli/season.txt).
TEST(PointFillTest, FillsOneColumnAndGrowsTheTable) {
    PositionTable table = {{10, 500}, {7, std::nullopt}, {4, std::nullopt}, {1, std::nullopt}};
    // Past the last position the table grows; the other column stays as it was.
    FillPositions(table, PointColumn::PrizeMoney, 4, 7, 2000, 250);
    ASSERT_EQ(table.size(), 7u);
    EXPECT_EQ(table[0].prizeMoney, 500);
    EXPECT_EQ(table[3], (PositionValues{1, 2000}));
    EXPECT_EQ(table[6], (PositionValues{std::nullopt, 1250}));

    // An initial value of 0 goes down the range unchanged.
    FillPositions(table, PointColumn::Points, 2, 3, 0, 5);
    EXPECT_EQ(table[1].points, 0);
    EXPECT_EQ(table[2].points, 0);

    const PositionTable kept = table;
    EXPECT_THROW(FillPositions(table, PointColumn::Points, 0, 3, 10, 1), ScorewellError);
    EXPECT_THROW(FillPositions(table, PointColumn::Points, 4, 3, 10, 1), ScorewellError);
    EXPECT_THROW(FillPositions(table, PointColumn::Points, 1, 3, 40000, 1), ScorewellError);
    EXPECT_THROW(FillPositions(table, PointColumn::Points, 1, 40000, 10, 1), ScorewellError);
    EXPECT_EQ(table, kept);

    SetTotalPositions(table, 0);
    EXPECT_EQ(table, (PositionTable{{10, 500}}));
}

TEST(PointTableCsvTest, WrittenTablesReadBackAndSpreadsheetFormsAreAccepted) {
    const PositionTable table = {{25, 40000}, {18, std::nullopt}, {std::nullopt, 100}};
    EXPECT_EQ(PointTableCsv(table), "Position,Points,Prize Money\n1,25,40000\n2,18,\n3,,100\n");
    EXPECT_EQ(ParsePointTableCsv(PointTableCsv(table), "t.csv"), table);
    EXPECT_EQ(ParsePointTableCsv("\xEF\xBB\xBFposition, points ,\"Prize Money\"\r\n"
                                 "1,25,\"40000\"\r\n2, 18 ,\r\n3,,100\r\n\r\n",
                                 "t.csv"),
              table);

    test::TempDir dir;
    WritePointTableCsv(dir.File("top3.csv"), table);
    EXPECT_EQ(ReadPointTableCsv(dir.File("top3.csv")), table);
    EXPECT_THROW(ReadPointTableCsv(dir.File("none.csv")), ScorewellError);
}

TEST(PointTableCsvTest, ABadLineRefusesTheWholeFileNamingTheLine) {
    const std::string header = "Position,Points,Prize Money\n";
    const std::pair<std::string, std::string> cases[] = {
        {"Pos,Points,Prize\n1,2,3\n", "\"t.csv\" line 1: the first line must be the header"},
        {header + "1,25,\n2,18\n", "\"t.csv\" line 3: a line holds three fields"},
        {header + "1,25,\n3,18,\n", "\"t.csv\" line 3: the position \"3\" should be 2"},
        {header + "1,25,\n\n2,1.5,\n", "\"t.csv\" line 4: the points \"1.5\" are not a whole"},
        {header + "1,25,\n2,40000,\n", "line 3: the points \"40000\""},
        {header + "1,25,-3\n", "line 2: the prize money \"-3\""},
        {header + "1,25,3000000000\n", "line 2: the prize money \"3000000000\""},
        {header, "\"t.csv\" holds no positions"},
    };
    for (const auto& [text, message] : cases) {
        const std::string& csv = text; // a lambda may not name a structured binding in C++17
        EXPECT_TRUE(test::Has(test::ErrorOf([&] { ParsePointTableCsv(csv, "t.csv"); }), message));
    }
}

std::string Names(const std::vector<RankCriterion>& criteria) {
    std::string names;
    for (const RankCriterion& c : criteria) {
        names += (names.empty() ? "" : ",") + c.name;
    }
    return names;
}

TEST(MoveBlock, ABlockMovesOnePlaceUntilItTouchesAnEnd) {
    std::vector<RankCriterion> list = {{1, "A", ""}, {2, "B", ""}, {3, "C", ""}, {4, "D", ""}};
    EXPECT_FALSE(MoveBlock(list, 0, 0, MoveDirection::Up));
    EXPECT_FALSE(MoveBlock(list, 2, 3, MoveDirection::Down));
    EXPECT_FALSE(MoveBlock(list, 3, 4, MoveDirection::Up));
    EXPECT_EQ(Names(list), "A,B,C,D");
    // Two rows down: the row below them goes above them.
    EXPECT_TRUE(MoveBlock(list, 0, 1, MoveDirection::Down));
    EXPECT_EQ(Names(list), "C,A,B,D");
    EXPECT_TRUE(MoveBlock(list, 1, 3, MoveDirection::Up));
    EXPECT_EQ(Names(list), "A,B,D,C");
}

class RankCriteriaOrderTest : public test::LeagueFixture {};

TEST_F(RankCriteriaOrderTest, AnOrderNamesEveryCriterionOnceInAnyLetterCaseOrChangesNothing) {
    Open(static_cast<int>(Simulation::NascarRacing3), static_cast<int>(LeagueType::Offline));
    const std::string shipped = "Laps Completed,Average Speed,Laps Led,Qualifying Speed";
    EXPECT_EQ(Names(LoadRankCriteria(Db())), shipped);
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"Laps Led", "laps completed", "Average Speed"},
             {"Laps Led", "Laps Led", "Average Speed", "Laps Completed", "Qualifying Speed"},
             {"Laps Led", "Fastest Lap", "Average Speed", "Laps Completed"}}) {
        EXPECT_THROW(OrderRankCriteriaByNames(*league, wrong), ScorewellError);
        EXPECT_EQ(Names(LoadRankCriteria(Db())), shipped);
    }
    const auto ordered = OrderRankCriteriaByNames(
        *league, {" qualifying speed", "LAPS LED", "Laps Completed", "average speed"});
    // The priorities it stores are listed in the transcript tests/fixtures/cli/league-work.txt.
    EXPECT_EQ(Names(ordered), "Qualifying Speed,Laps Led,Laps Completed,Average Speed");
    EXPECT_THROW(SaveRankCriteriaOrder(Db(), {ordered[0].id, ordered[1].id}), ScorewellError);
}

} // namespace
} // namespace scorewell
