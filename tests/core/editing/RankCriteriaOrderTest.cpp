#include "editing/RankCriteriaOrder.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/Domain.h"
#include "common/Errors.h"
#include "core/LeagueFixture.h"

namespace scorewell {
namespace {

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
    EXPECT_EQ(Names(ordered), "Qualifying Speed,Laps Led,Laps Completed,Average Speed");
    EXPECT_EQ(Rows("SELECT Name, Priority FROM RankCriteria ORDER BY Priority"),
              (std::vector<std::string>{"Qualifying Speed|1", "Laps Led|2", "Laps Completed|3",
                                        "Average Speed|4"}));
    EXPECT_THROW(SaveRankCriteriaOrder(Db(), {ordered[0].id, ordered[1].id}), ScorewellError);
}

} // namespace
} // namespace scorewell
