#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Database.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "reports/Dropped.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

class DroppedTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateLeagueFile(path_, 0, 0, program_.Db(), 0, 0);
        league_ = Database::Open(path_);
    }

    void AddRaces(int count) {
        for (int i = 0; i < count; ++i) {
            league_.Execute("INSERT INTO Race (Name) VALUES (?)",
                            {Value("Race " + std::to_string(i + 1))});
        }
    }

    int AddDriver(const std::string& name) {
        league_.Execute("INSERT INTO Driver (Name) VALUES (?)", {Value(name)});
        return static_cast<int>(league_.LastInsertRowId());
    }

    // One result in race raceId; gives its StatsID.
    int AddResult(int raceId, Value driverId, Value points, int bonus = 0, int lapsLed = 0) {
        league_.Execute("INSERT INTO Stats (RaceID, DriverID, Points, Bonus, LapsLed, Dropped) "
                        "VALUES (?, ?, ?, ?, ?, FALSE)",
                        {Value(raceId), driverId, points, Value(bonus), Value(lapsLed)});
        return static_cast<int>(league_.LastInsertRowId());
    }

    // The points of a driver's dropped results, best first.
    std::vector<int> DroppedPoints(int driverId) {
        std::vector<int> points;
        for (Cursor c = league_.Query("SELECT Points FROM Stats WHERE DriverID = ? AND Dropped "
                                      "ORDER BY Points DESC",
                                      {Value(driverId)});
             !c.AtEnd(); c.MoveNext()) {
            points.push_back(static_cast<int>(c.Field(0).AsInteger()));
        }
        return points;
    }

    bool IsDropped(int statsId) {
        return league_.Scalar("SELECT Dropped FROM Stats WHERE StatsID = ?", {Value(statsId)})
            .AsBool();
    }

    int DroppedCount() {
        return static_cast<int>(
            league_.Scalar("SELECT Count(*) FROM Stats WHERE Dropped").AsInteger());
    }

    test::TempDir dir_;
    Program program_{dir_.Path()};
    std::string path_ = dir_.File("league.slf");
    Database league_;
};

TEST_F(DroppedTest, ALeagueWithoutRacesKeepsOneResultAndHasNothingToMark) {
    const DroppedMarking marking = MarkDroppedResults(league_, 2);
    EXPECT_EQ(marking.numEvents, 0);
    EXPECT_EQ(marking.keptCount, 1);
    EXPECT_EQ(StandingsCaption(marking), "Results after 0 events:");
}

TEST_F(DroppedTest, EachDriverKeepsHisBestResultsOfTheLeaguesRaceCount) {
    AddRaces(10);
    const int nine = AddDriver("Nine Starts");
    const int five = AddDriver("Five Starts");
    const int ten = AddDriver("Ten Starts");
    // Results are entered out of order, so the marking has to sort them.
    for (int race = 1; race <= 9; ++race) {
        AddResult(race, nine, (race * 7) % 10 * 10);
    }
    for (int race = 1; race <= 5; ++race) {
        AddResult(race, five, race);
    }
    for (int race = 1; race <= 10; ++race) {
        AddResult(race, ten, 100 + race);
    }
    const DroppedMarking marking = MarkDroppedResults(league_, 2);
    EXPECT_EQ(marking.numEvents, 10);
    EXPECT_EQ(marking.keptCount, 8);
    EXPECT_EQ(DroppedPoints(nine), (std::vector<int>{10}));
    EXPECT_TRUE(DroppedPoints(five).empty());
    EXPECT_EQ(DroppedPoints(ten), (std::vector<int>{102, 101}));
    EXPECT_EQ(StandingsCaption(marking),
              "Results based on each driver's best 8 finishes of 10 events:");

    // Marking again starts from scratch: a flag set by hand does not survive, and a changed
    // result changes what is kept.
    league_.Execute("UPDATE Stats SET Dropped = TRUE WHERE DriverID = ?", {Value(five)});
    league_.Execute("UPDATE Stats SET Points = 1 WHERE DriverID = ? AND Points = 110",
                    {Value(ten)});
    MarkDroppedResults(league_, 2);
    EXPECT_TRUE(DroppedPoints(five).empty());
    EXPECT_EQ(DroppedPoints(ten), (std::vector<int>{101, 1}));
}

TEST_F(DroppedTest, DroppingMoreThanTheRacesKeepsEachDriversBestResult) {
    AddRaces(2);
    const int a = AddDriver("A");
    const int b = AddDriver("B");
    AddResult(1, a, 50);
    AddResult(2, a, 60);
    AddResult(2, b, 70);
    const DroppedMarking marking = MarkDroppedResults(league_, 3);
    EXPECT_EQ(marking.numEvents, 2);
    EXPECT_EQ(marking.keptCount, 1);
    EXPECT_EQ(DroppedPoints(a), (std::vector<int>{50}));
    EXPECT_TRUE(DroppedPoints(b).empty());
    EXPECT_EQ(StandingsCaption(marking),
              "Results based on each driver's best 1 finishes of 2 events:");
}

TEST_F(DroppedTest, NoDroppingClearsEveryFlagOfAnEarlierMarking) {
    AddRaces(3);
    const int a = AddDriver("A");
    for (int race = 1; race <= 3; ++race) {
        AddResult(race, a, race * 10);
    }
    MarkDroppedResults(league_, 2);
    ASSERT_EQ(DroppedCount(), 2);

    DroppedMarking marking = MarkDroppedResults(league_, 0);
    EXPECT_EQ(DroppedCount(), 0);
    EXPECT_EQ(marking.keptCount, 3);
    EXPECT_EQ(StandingsCaption(marking), "Results after 3 events:");

    MarkDroppedResults(league_, 1);
    marking = MarkDroppedResults(league_, -1);
    EXPECT_EQ(DroppedCount(), 0);
    EXPECT_EQ(StandingsCaption(marking), "Results after 3 events:");
}

TEST_F(DroppedTest, EqualPointsAreDecidedByBonusThenLapsLedThenEntryOrder) {
    AddRaces(3);
    const int bonus = AddDriver("Bonus decides");
    const int best = AddResult(1, bonus, 100, 5, 0);
    const int lower = AddResult(2, bonus, 100, 10, 0);
    AddResult(3, bonus, 120, 0, 0);

    const int laps = AddDriver("Laps led decide");
    const int fewer = AddResult(1, laps, 100, 5, 3);
    const int more = AddResult(2, laps, 100, 5, 30);
    AddResult(3, laps, 120, 0, 0);

    const int same = AddDriver("All equal");
    const int first = AddResult(1, same, 90, 5, 3);
    const int second = AddResult(2, same, 90, 5, 3);
    // A result without points is the worst of all.
    const int none = AddResult(3, same, Value(), 50, 50);

    MarkDroppedResults(league_, 1);
    EXPECT_TRUE(IsDropped(best));
    EXPECT_FALSE(IsDropped(lower));
    EXPECT_TRUE(IsDropped(fewer));
    EXPECT_FALSE(IsDropped(more));
    EXPECT_FALSE(IsDropped(first));
    EXPECT_FALSE(IsDropped(second));
    EXPECT_TRUE(IsDropped(none));

    MarkDroppedResults(league_, 2);
    EXPECT_FALSE(IsDropped(first));
    EXPECT_TRUE(IsDropped(second));
}

TEST_F(DroppedTest, AResultOfNoDriverStaysDroppedWhileDropping) {
    AddRaces(2);
    const int orphan = AddResult(1, Value(), 100);
    MarkDroppedResults(league_, 1);
    EXPECT_TRUE(IsDropped(orphan));
    MarkDroppedResults(league_, 0);
    EXPECT_FALSE(IsDropped(orphan));
}

TEST(StandingsCaption, SaysWhetherEveryResultCounts) {
    EXPECT_EQ(StandingsCaption(5, 5), "Results after 5 events:");
    EXPECT_EQ(StandingsCaption(5, 7), "Results after 5 events:");
    EXPECT_EQ(StandingsCaption(12, 10),
              "Results based on each driver's best 10 finishes of 12 events:");
}

} // namespace
} // namespace scorewell
