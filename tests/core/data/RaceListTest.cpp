#include <gtest/gtest.h>

#include "core/LeagueFixture.h"
#include "data/RaceList.h"

namespace scorewell {
namespace {

// Listing and removing are driven through the main window; what stays here is the miles
// arithmetic and the one-transaction promise of a removal, which the window cannot provoke.
TEST(RaceListTest, MilesAreLengthTimesLapsRoundedHalfToEven) {
    EXPECT_EQ(RaceMilesText(Value(2.5f), Value(187)), "468");
    EXPECT_EQ(RaceMilesText(Value(2.5f), Value(185)), "462");
    EXPECT_EQ(RaceMilesText(Value(0.533f), Value(500)), "266");
    EXPECT_EQ(RaceMilesText(Value(), Value(200)), "");
    EXPECT_EQ(RaceMilesText(Value(2.5f), Value()), "");
}

class RaceRemovalTest : public test::LeagueFixture {};

TEST_F(RaceRemovalTest, ARemovalThatFailsHalfwayRemovesNothing) {
    Open();
    Db().Execute("INSERT INTO Driver (DriverID, Name) VALUES (1, 'Ann Able')");
    for (const char* name : {"A", "B"}) {
        Db().Execute("INSERT INTO Race (Name, Laps, FileName) VALUES (?, 10, 'race.stn')",
                     {Value(name)});
        Db().Execute("INSERT INTO Stats (RaceID, DriverID, Finish) VALUES (?, 1, 1)",
                     {Value(Db().LastInsertRowId())});
    }
    Db().Execute("CREATE TEMP TRIGGER refuse BEFORE DELETE ON main.Race WHEN old.Name='B' "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_THROW(RemoveRaces(Db(), {1, 2}), DbError);
    EXPECT_FALSE(Db().InTransaction());
    EXPECT_EQ(Count("Race"), 2);
    EXPECT_EQ(Count("Stats"), 2);
}

} // namespace
} // namespace scorewell
