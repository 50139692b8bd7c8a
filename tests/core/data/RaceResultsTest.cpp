#include "data/RaceResults.h"

#include <gtest/gtest.h>

#include "common/Errors.h"
#include "core/LeagueFixture.h"
#include "data/RaceList.h"

namespace scorewell {
namespace {

using RaceResultsTest = test::LeagueFixture;

// The windows show the results that are stored; what cannot be stored must leave no trace.
TEST_F(RaceResultsTest, AResultThatCannotBeStoredChangesNothing) {
    Open();
    Db().Execute("INSERT INTO Race (Name, FileName, Length, Laps) VALUES ('R', 'r.stn', 1.5, 200)");
    const auto raceId = static_cast<std::int32_t>(Db().LastInsertRowId());
    auto entry = [](const std::string& finish, const std::string& qualifying,
                    const std::string& reasonOut) {
        return ResultEntry{finish, "3", "Other Driver", "200",    "12", "175",
                           "5",    "0", qualifying,     reasonOut};
    };
    const std::int32_t id =
        AddResult(*league, RaceSource::League, raceId, entry("1", "182.5", "Running"));
    const auto before = Rows("SELECT * FROM Stats NATURAL JOIN Driver");

    // Another name on a refused change: the driver it would have added is not kept either.
    ResultEntry renamed = entry("1", "1.2.3", "Running");
    renamed.name = "New Driver";
    EXPECT_THROW(UpdateResult(*league, RaceSource::League, id, renamed), ScorewellError);
    EXPECT_THROW(AddResult(*league, RaceSource::League, raceId, entry("99999", "1", "Running")),
                 ScorewellError);
    EXPECT_THROW(
        AddResult(*league, RaceSource::League, raceId, entry("1", "1", std::string(26, 'x'))),
        ScorewellError);
    EXPECT_EQ(Rows("SELECT * FROM Stats NATURAL JOIN Driver"), before);
    EXPECT_EQ(Count("Driver"), 1);
    EXPECT_FALSE(Db().InTransaction());
}

// Listing and removing are driven through the main window; what stays here is the miles
// arithmetic and the one-transaction promise of a removal, which the window cannot provoke.
TEST(RaceListTest, MilesAreLengthTimesLapsRoundedHalfToEven) {
    EXPECT_EQ(RaceMilesText(Value(2.5f), Value(187)), "468");
    EXPECT_EQ(RaceMilesText(Value(2.5f), Value(185)), "462");
    EXPECT_EQ(RaceMilesText(Value(0.533f), Value(500)), "266");
    EXPECT_EQ(RaceMilesText(Value(), Value(200)), "");
    EXPECT_EQ(RaceMilesText(Value(2.5f), Value()), "");
}

TEST_F(RaceResultsTest, ARemovalThatFailsHalfwayRemovesNothing) {
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
