#include <gtest/gtest.h>

#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "data/RaceList.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

class RaceListTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.File("prog")};
    Database league = [this] {
        CreateLeagueFile(dir.File("cup.slf"), 0, 0, program.Db(), 0, 0);
        return Database::Open(dir.File("cup.slf"));
    }();

    std::int32_t AddRace(const Value& name, const Value& laps, const Value& length) {
        league.Execute("INSERT INTO Race (Name, Laps, Length, FileName) VALUES (?,?,?,?)",
                       {name, laps, length, Value("race.stn")});
        return static_cast<std::int32_t>(league.LastInsertRowId());
    }
    void AddResult(std::int32_t raceId) {
        league.Execute("INSERT OR IGNORE INTO Driver (DriverID, Name) VALUES (1, 'Ann Able')");
        league.Execute("INSERT INTO Stats (RaceID, DriverID, Finish) VALUES (?, 1, 1)",
                       {Value(raceId)});
    }
    std::int64_t Count(const char* table) {
        return league.Scalar(std::string("SELECT Count(*) FROM ") + table).AsInteger();
    }
};

TEST_F(RaceListTest, MilesAreLengthTimesLapsRoundedHalfToEven) {
    EXPECT_EQ(RaceMilesText(Value(2.5f), Value(187)), "468");
    EXPECT_EQ(RaceMilesText(Value(2.5f), Value(185)), "462");
    EXPECT_EQ(RaceMilesText(Value(1.5f), Value(300)), "450");
    EXPECT_EQ(RaceMilesText(Value(0.533f), Value(500)), "266");
    EXPECT_EQ(RaceMilesText(Value(), Value(200)), "");
    EXPECT_EQ(RaceMilesText(Value(2.5f), Value()), "");
}

TEST_F(RaceListTest, ListsRacesInStoredOrderWithTheirKeys) {
    std::int32_t daytona = AddRace("Daytona 500", 200, 2.5f);
    std::int32_t atlanta = AddRace("Atlanta", 187, 2.5f);
    league.Execute("UPDATE Race SET Name='Anaheim' WHERE RaceID=?", {Value(daytona)});
    std::int32_t blank = AddRace(Value(), Value(), Value());

    auto rows = ReadRaceList(league);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].raceId, daytona);
    EXPECT_EQ(rows[0].name, "Anaheim");
    EXPECT_EQ(rows[0].laps, "200");
    EXPECT_EQ(rows[0].miles, "500");
    EXPECT_EQ(rows[0].fileName, "race.stn");
    EXPECT_EQ(rows[1].raceId, atlanta);
    EXPECT_EQ(rows[1].miles, "468");
    EXPECT_EQ(rows[2].raceId, blank);
    EXPECT_EQ(rows[2].name, "");
    EXPECT_EQ(rows[2].laps, "");
    EXPECT_EQ(rows[2].miles, "");
}

TEST_F(RaceListTest, RemovingRacesTakesTheirResultsAlong) {
    std::int32_t a = AddRace("A", 10, 1.0f);
    std::int32_t b = AddRace("B", 10, 1.0f);
    std::int32_t c = AddRace("C", 10, 1.0f);
    AddResult(a);
    AddResult(b);
    AddResult(c);
    RemoveRaces(league, {c, a});
    auto rows = ReadRaceList(league);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].raceId, b);
    EXPECT_EQ(Count("Stats"), 1);
    EXPECT_EQ(Count("Driver"), 1);
    // Unknown keys remove nothing and are no error.
    RemoveRaces(league, {9999});
    EXPECT_EQ(Count("Race"), 1);
}

TEST_F(RaceListTest, ARemovalThatFailsHalfwayRemovesNothing) {
    std::int32_t a = AddRace("A", 10, 1.0f);
    std::int32_t b = AddRace("B", 10, 1.0f);
    AddResult(a);
    AddResult(b);
    league.Execute("CREATE TEMP TRIGGER refuse BEFORE DELETE ON main.Race WHEN old.Name='B' "
                   "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_THROW(RemoveRaces(league, {a, b}), DbError);
    EXPECT_FALSE(league.InTransaction());
    EXPECT_EQ(Count("Race"), 2);
    EXPECT_EQ(Count("Stats"), 2);
}

} // namespace
} // namespace scorewell
