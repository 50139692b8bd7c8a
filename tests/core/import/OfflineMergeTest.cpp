#include "import/OfflineMerge.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/Domain.h"
#include "common/Errors.h"
#include "core/LeagueFixture.h"
#include "editing/RankCriteriaOrder.h"
#include "import/RaceFinal.h"
#include "import/RaceFinalWriter.h"
#include "support/Checks.h"

namespace scorewell {
namespace {

// A car of a member's race final, in finishing order; he started where he stands in the list.
struct Car {
    std::string name;
    int laps;
    int led;
    std::string qualifying;
    int points = 0;
};

constexpr int kOffline = static_cast<int>(LeagueType::Offline);

int Sim(Simulation simulation) {
    return static_cast<int>(simulation);
}

class OfflineMergeTest : public test::LeagueFixture {
protected:
    // Writes and stages one member's race final.
    void Stage(const std::string& file, const std::string& avgSpeed, const std::vector<Car>& cars,
               const std::string& name = "Harbor Point 400") {
        RaceFinalRace race;
        race.simType = league->Settings().simTitle;
        race.name = name;
        race.track = "Harbor Point Speedway";
        race.length = 1.5;
        race.laps = 200;
        race.raceTime = "2:03:04.500";
        race.avgSpeed = avgSpeed;
        race.cautions = 3;
        race.leadChanges = 7;
        race.weather = "Sunny, 78°F";
        int start = 0;
        for (const Car& car : cars) {
            race.cars.push_back(
                {++start, "1", car.name, car.laps, car.led, car.points, car.qualifying, "Running"});
        }
        WriteRaceFinal(dir.File(file), race);
        const StagingResult staged =
            ImportSTNFile(*league, league->LoadPointTable(), dir.File(file), race.simType,
                          LapReportingMethod::Speed);
        ASSERT_TRUE(staged.Staged()) << staged.message;
    }
    MergeOutcome Merge(std::vector<std::pair<int, int>>* calls = nullptr) {
        return MergeStagedRaces(*league, league->LoadPointTable(), [&](int done, int total) {
            if (calls) {
                calls->emplace_back(done, total);
            }
        });
    }
    std::vector<std::string> Results(int raceId) {
        return Rows("SELECT Name, Start, Finish, LapsRun, LapsLed, Points, Bonus, PrizeMoney, "
                    "Qualifying, AvgSpeed FROM Stats JOIN Driver USING (DriverID) "
                    "WHERE RaceID=? ORDER BY Finish",
                    {Value(raceId)});
    }
    // Three members against the same computer cars; Sam Ortiz is in two files, once in capitals.
    void StageThreeMembers() {
        Stage("a.stn", "97.873 mph",
              {{"Cpu Adams", 200, 100, "180.000"},
               {"Ann Lee", 200, 30, "179.500"},
               {"Cpu Baker", 200, 70, "181.000"},
               {"Sam Ortiz", 198, 0, "175.000"},
               {"Cpu Clark", 190, 0, "178.000"}});
        Stage("b.stn", "101.25 mph",
              {{"Cpu Baker", 200, 150, "181.000"},
               {"Bob Ray", 200, 0, "178.250"},
               {"Cpu Adams", 200, 50, "180.000"},
               {"Cpu Clark", 200, 0, "178.000"}},
              "Another Name");
        Stage("c.stn", "99.000 mph",
              {{"Cal Dunn", 199, 12, "182.100"},
               {"Cpu Clark", 199, 188, "178.000"},
               {"SAM ORTIZ", 199, 0, "176.000"},
               {"Cpu Adams", 198, 0, "180.000"},
               {"Cpu Baker", 150, 0, "181.000"}});
    }
};

TEST_F(OfflineMergeTest, MembersOfEveryFileMergeIntoOneRaceOrderedByTheRankCriteria) {
    Open(Sim(Simulation::NascarRacing3), kOffline);
    StageThreeMembers();
    std::vector<std::pair<int, int>> calls;
    const MergeOutcome merged = Merge(&calls);
    EXPECT_TRUE(merged.merged);
    EXPECT_EQ(merged.drivers, 3);
    EXPECT_EQ(merged.raceName, "Harbor Point 400");

    EXPECT_EQ(Rows("SELECT RaceID, Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
                   "VictoryMargin, Cautions, LeadChanges, Weather FROM Race"),
              std::vector<std::string>{"1|Harbor Point 400|Merged|1.5|200|NULL|NULL|NULL|NULL|"
                                       "NULL|Sunny, 78°F"});
    // Start by qualifying; finish by laps, then the average speed of each one's own race; points
    // of the preset scale with 5 for leading a lap and 5 for leading the most of the three.
    EXPECT_EQ(Results(merged.raceId),
              (std::vector<std::string>{"Bob Ray|3|1|200|0|175|0|NULL|178.25|101.25",
                                        "Ann Lee|2|2|200|30|180|10|NULL|179.5|97.873",
                                        "Cal Dunn|1|3|199|12|170|5|NULL|182.1|99"}));
    EXPECT_EQ(Count("Driver"), 3);
    ASSERT_EQ(calls.size(), 10u);
    EXPECT_EQ(calls.front(), std::make_pair(0, 9));
    EXPECT_EQ(calls.back(), std::make_pair(9, 9));

    // Laps led first: the same files give another order.
    ClearStaging(*league);
    StageThreeMembers();
    OrderRankCriteriaByNames(*league,
                             {"laps led", "Laps Completed", "AVERAGE SPEED", "Qualifying Speed"});
    const MergeOutcome again = Merge();
    EXPECT_EQ(again.raceId, 2);
    EXPECT_EQ(Results(again.raceId),
              (std::vector<std::string>{"Ann Lee|2|1|200|30|185|10|NULL|179.5|97.873",
                                        "Cal Dunn|1|2|199|12|175|5|NULL|182.1|99",
                                        "Bob Ray|3|3|200|0|165|0|NULL|178.25|101.25"}));
    EXPECT_EQ(Count("Driver"), 3);
}

TEST_F(OfflineMergeTest, FilesOfComputerCarsOnlyAreRefusedAndChangeNothing) {
    Open(Sim(Simulation::NascarRacing3), kOffline);
    Stage("a.stn", "97.873 mph", {{"Cpu Adams", 200, 100, "180.000"}, {"Ann Lee", 200, 0, "1"}});
    Stage("b.stn", "97.873 mph", {{"ANN LEE", 200, 10, "2"}, {"cpu adams", 200, 0, "3"}});
    const auto before = Rows("SELECT * FROM STNStats ORDER BY STNStatsID");
    EXPECT_FALSE(Merge().merged);
    EXPECT_EQ(Rows("SELECT * FROM STNStats ORDER BY STNStatsID"), before);
    EXPECT_EQ(Count("Race") + Count("Stats") + Count("Driver"), 0);
}

TEST_F(OfflineMergeTest, TiesFollowTheOwnRaceThenTheFilesAndPositionsBeyondTheTableScoreNothing) {
    // NASCAR Racing 2 / 1999 files, the league's own two-place point system with prize money.
    Open(Sim(Simulation::NascarRacing2), kOffline);
    UseCustomPoints({{10, Value(500)}, {6, Value(300)}});
    auto stageMembers = [&](int othersLaps) {
        Stage("x.stn", "100.00 mph",
              {{"Cpu Adams", 200, 200, "181.000"}, {"Xena Fox", 200, 0, "180.000"}});
        Stage("y.stn", "100.00 mph",
              {{"Yuri Gold", othersLaps, 0, "180.000"}, {"Cpu Adams", 200, 200, "181.000"}});
        Stage("z.stn", "100.00 mph",
              {{"Zed Hart", othersLaps, 0, "180.000"}, {"Cpu Adams", 200, 200, "181.000"}});
    };
    // Equal on every criterion: the better place in one's own race first, then the file staged
    // first. Nobody of the three led a lap, so each led the most.
    stageMembers(200);
    const MergeOutcome tied = Merge();
    EXPECT_EQ(Results(tied.raceId),
              (std::vector<std::string>{"Yuri Gold|1|1|200|0|15|5|500|180|100",
                                        "Zed Hart|2|2|200|0|11|5|300|180|100",
                                        "Xena Fox|3|3|200|0|5|5|NULL|180|100"}));

    // Without rank criteria that order is the whole order, whatever the laps.
    ClearStaging(*league);
    Db().Execute("DELETE FROM RankCriteria");
    stageMembers(199);
    const MergeOutcome unranked = Merge();
    EXPECT_EQ(Rows("SELECT Name, Finish FROM Stats JOIN Driver USING (DriverID) WHERE RaceID=? "
                   "ORDER BY Finish",
                   {Value(unranked.raceId)}),
              (std::vector<std::string>{"Yuri Gold|1", "Zed Hart|2", "Xena Fox|3"}));
}

TEST_F(OfflineMergeTest, NascarLegendsScoresWithTheScaleOfTheFirstFile) {
    // A decimal comma in the staged race's average speed still reads as the number.
    Open(Sim(Simulation::NascarLegends), kOffline, 0, 0, ",");
    // Two points between places: the preset scale LPoints2, without bonuses.
    Stage("a.stn", "92.690 mph",
          {{"Cpu Adams", 250, 180, "88.412", 43},
           {"Ann Lee", 250, 70, "89.005", 41},
           {"Cpu Baker", 249, 0, "88.950", 39},
           {"Cpu Clark", 101, 0, "88.700", 37}});
    Stage("b.stn", "90.100 mph",
          {{"Bob Ray", 250, 200, "88.000", 10},
           {"Cpu Adams", 250, 0, "88.412", 9},
           {"Cpu Baker", 249, 50, "88.950", 8},
           {"Cpu Clark", 101, 0, "88.700", 7}});
    const MergeOutcome merged = Merge();
    EXPECT_EQ(Rows("SELECT Name, Finish, Points, Bonus, AvgSpeed FROM Stats JOIN Driver "
                   "USING (DriverID) WHERE RaceID=? ORDER BY Finish",
                   {Value(merged.raceId)}),
              (std::vector<std::string>{"Ann Lee|1|86|0|92.69", "Bob Ray|2|84|0|90.1"}));
}

TEST_F(OfflineMergeTest, ACriterionThatCannotRankEveryDriverIsRefusedAndChangesNothing) {
    Open(Sim(Simulation::NascarRacing3), kOffline);
    StageThreeMembers();
    const auto before = Rows("SELECT * FROM STNStats ORDER BY STNStatsID");
    for (const auto& [query, message] : std::vector<std::pair<std::string, std::string>>{
             {"Nonsense DESC", "The rank criterion \"Laps Led\" cannot run: no such column"},
             {"LapsLed DESC LIMIT 1 --", "they leave drivers out"},
             {"(SELECT 1)) --", "reaches beyond its own sort order"},
             {"LapsLed; DELETE FROM Race", "more than one statement"}}) {
        SCOPED_TRACE(query);
        Db().Execute("UPDATE RankCriteria SET Query=? WHERE Name='Laps Led'", {Value(query)});
        EXPECT_TRUE(test::Has(test::ErrorOf([&] { Merge(); }), message));
        EXPECT_EQ(Rows("SELECT * FROM STNStats ORDER BY STNStatsID"), before);
        EXPECT_EQ(Count("Race") + Count("Stats") + Count("Driver"), 0);
    }
}

} // namespace
} // namespace scorewell
