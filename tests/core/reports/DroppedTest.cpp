#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LeagueFixture.h"
#include "reports/Dropped.h"

namespace scorewell {
namespace {

class DroppedTest : public test::LeagueFixture {
protected:
    void SetUp() override { Open(); }

    void AddRaces(int count) {
        for (int i = 0; i < count; ++i) {
            Db().Execute("INSERT INTO Race (Name) VALUES ('Race')");
        }
    }
    int AddDriver(const std::string& name) {
        Db().Execute("INSERT INTO Driver (Name) VALUES (?)", {Value(name)});
        return static_cast<int>(Db().LastInsertRowId());
    }
    // One result in race raceId; gives its StatsID.
    int AddResult(int raceId, Value driverId, Value points, int bonus = 0, int lapsLed = 0) {
        Db().Execute("INSERT INTO Stats (RaceID, DriverID, Points, Bonus, LapsLed, Dropped) "
                     "VALUES (?, ?, ?, ?, ?, FALSE)",
                     {Value(raceId), driverId, points, Value(bonus), Value(lapsLed)});
        return static_cast<int>(Db().LastInsertRowId());
    }
    // The points of a driver's dropped results, best first.
    std::vector<std::string> DroppedPoints(int driverId) {
        return Rows("SELECT Points FROM Stats WHERE DriverID = ? AND Dropped ORDER BY Points DESC",
                    {Value(driverId)});
    }
    bool IsDropped(int statsId) {
        return Db()
            .Scalar("SELECT Dropped FROM Stats WHERE StatsID = ?", {Value(statsId)})
            .AsBool();
    }
};

TEST_F(DroppedTest, EachDriverKeepsHisBestResultsOfTheLeaguesRaceCount) {
    DroppedMarking marking = MarkDroppedResults(Db(), 2);
    EXPECT_EQ(StandingsCaption(marking), "Results after 0 events:");

    AddRaces(10);
    const int nine = AddDriver("Nine Starts");
    const int five = AddDriver("Five Starts");
    const int ten = AddDriver("Ten Starts");
    // Results are entered out of order, so the marking has to sort them.
    for (int race = 1; race <= 10; ++race) {
        if (race <= 9) {
            AddResult(race, nine, (race * 7) % 10 * 10);
        }
        if (race <= 5) {
            AddResult(race, five, race);
        }
        AddResult(race, ten, 100 + race);
    }
    marking = MarkDroppedResults(Db(), 2);
    EXPECT_EQ(DroppedPoints(nine), (std::vector<std::string>{"10"}));
    EXPECT_TRUE(DroppedPoints(five).empty());
    EXPECT_EQ(DroppedPoints(ten), (std::vector<std::string>{"102", "101"}));
    EXPECT_EQ(StandingsCaption(marking),
              "Results based on each driver's best 8 finishes of 10 events:");

    // Marking again starts from scratch: a flag set by hand does not survive, and a changed
    // result changes what is kept.
    Db().Execute("UPDATE Stats SET Dropped = TRUE WHERE DriverID = ?", {Value(five)});
    Db().Execute("UPDATE Stats SET Points = 1 WHERE DriverID = ? AND Points = 110", {Value(ten)});
    MarkDroppedResults(Db(), 2);
    EXPECT_TRUE(DroppedPoints(five).empty());
    EXPECT_EQ(DroppedPoints(ten), (std::vector<std::string>{"101", "1"}));

    // No dropping, or a negative count, clears every flag of an earlier marking.
    for (int dropped : {0, -1}) {
        marking = MarkDroppedResults(Db(), dropped);
        EXPECT_EQ(Count("Stats WHERE Dropped"), 0);
        EXPECT_EQ(StandingsCaption(marking), "Results after 10 events:");
        MarkDroppedResults(Db(), 1);
    }
}

TEST_F(DroppedTest, DroppingMoreThanTheRacesKeepsEachDriversBestResult) {
    AddRaces(2);
    const int a = AddDriver("A");
    const int b = AddDriver("B");
    AddResult(1, a, 50);
    AddResult(2, a, 60);
    AddResult(2, b, 70);
    // A result of no driver stays dropped while dropping.
    const int orphan = AddResult(1, Value(), 100);
    const DroppedMarking marking = MarkDroppedResults(Db(), 3);
    EXPECT_EQ(marking.keptCount, 1);
    EXPECT_EQ(DroppedPoints(a), (std::vector<std::string>{"50"}));
    EXPECT_TRUE(DroppedPoints(b).empty());
    EXPECT_TRUE(IsDropped(orphan));
    EXPECT_EQ(StandingsCaption(marking),
              "Results based on each driver's best 1 finishes of 2 events:");
    MarkDroppedResults(Db(), 0);
    EXPECT_FALSE(IsDropped(orphan));
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

    MarkDroppedResults(Db(), 1);
    auto dropped = [&](std::initializer_list<int> ids) {
        std::vector<bool> out;
        for (int id : ids) {
            out.push_back(IsDropped(id));
        }
        return out;
    };
    EXPECT_EQ(dropped({best, lower, fewer, more, first, second, none}),
              (std::vector<bool>{true, false, true, false, false, false, true}));
    MarkDroppedResults(Db(), 2);
    EXPECT_EQ(dropped({first, second}), (std::vector<bool>{false, true}));
}

} // namespace
} // namespace scorewell
