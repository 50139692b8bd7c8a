#include "import/StagedImport.h"

#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "RaceFinalWriter.h"
#include "common/Domain.h"
#include "common/Errors.h"
#include "core/LeagueFixture.h"
#include "data/League.h"
#include "data/Program.h"
#include "editing/Adjustments.h"
#include "editing/RankCriteriaOrder.h"
#include "html/PageWriter.h"
#include "import/OfflineMerge.h"
#include "import/RaceFinal.h"
#include "import/SimilarNames.h"
#include "reports/ReportEngine.h"
#include "scoring/Recalculation.h"
#include "scoring/Scoring.h"
#include "support/Checks.h"
#include "support/Golden.h"
#include "support/Seasons.h"
#include "support/TempDir.h"
#include <map>

namespace scorewell {
namespace {

std::string Fixture(const std::string& name) {
    return std::string(SCOREWELL_FIXTURES_DIR) + "/stn/" + name;
}

class StagedImportTest : public test::LeagueFixture {
protected:
    std::int32_t Stage(const std::string& file, int lapReportingMethod = 0) {
        StagingResult result =
            ImportSTNFile(*league, league->LoadPointTable(), file, league->Settings().simTitle,
                          static_cast<LapReportingMethod>(lapReportingMethod));
        EXPECT_TRUE(result.Staged()) << file << ": " << result.message;
        return result.stnRaceId;
    }
};

TEST_F(StagedImportTest, StagedRacesBecomeRacesWithTheirResultsAndDrivers) {
    Open();
    UseCustomPoints({{45, Value(4000)}, {40, Value(3000)}, {35, Value(2000)}, {30, Value(1000)}});
    const std::int32_t known = GetDriverID(Db(), "WES HARLAN");
    const std::int32_t harbor = Stage(Fixture("nr3-harbor-point.stn"));
    const std::int32_t millbrook = Stage(Fixture("nr3-millbrook-laptimes-lf.stn"), 1);
    // The results editor may have changed a staged race; what is staged is what is imported.
    Db().Execute("UPDATE STNStats SET Points=Points+1, AvgSpeed=123.5 WHERE Finish=2");
    std::vector<std::pair<int, int>> calls;
    EXPECT_EQ(
        ImportStagedRaces(*league, [&](int done, int total) { calls.emplace_back(done, total); }),
        2);

    // Results in staging order, with points, bonus and prize money as staged; the staged
    // average speed is not carried.
    test::ExpectGolden("import/staged-races.txt",
                       Lines({"SELECT RaceID, Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
                              "VictoryMargin, Cautions, LeadChanges, Weather FROM Race",
                              "SELECT RaceID, Name, Start, Finish, LapsRun, LapsLed, Status, "
                              "Points, Bonus, PrizeMoney, Qualifying, AvgSpeed, Dropped FROM Stats "
                              "JOIN Driver USING (DriverID) ORDER BY StatsID"}));
    //  The known driver is found whatever the letter case; the others are added once each.
    EXPECT_EQ(Count("Driver"), 10);
    EXPECT_EQ(Db().Scalar("SELECT DriverID FROM Stats WHERE RaceID=2 AND Finish=3").AsInteger(),
              known);
    EXPECT_EQ(calls.size(), 11u);
    EXPECT_EQ(calls.front(), std::make_pair(0, 10));
    EXPECT_EQ(calls.back(), std::make_pair(10, 10));
    // The staged races stay until the staging area is next cleared.
    RemoveStagedRace(*league, harbor);
    EXPECT_EQ(Rows("SELECT DISTINCT STNRaceID FROM STNStats"),
              (std::vector<std::string>{std::to_string(millbrook)}));
    ClearStaging(*league);
    EXPECT_EQ(Count("STNRace") + Count("STNStats"), 0);
    EXPECT_EQ(ImportStagedRaces(*league), 0);
}

TEST_F(StagedImportTest, AFailureMidwayLeavesTheLeagueAsItWas) {
    Open();
    GetDriverID(Db(), "Renée Fässler");
    Stage(Fixture("nr3-harbor-point.stn"));
    Stage(Fixture("nr3-millbrook-laptimes-lf.stn"), 1);
    auto content = [&] {
        std::vector<std::string> all;
        for (const char* sql : {"SELECT * FROM Driver", "SELECT * FROM Race", "SELECT * FROM Stats",
                                "SELECT seq FROM sqlite_sequence"}) {
            const std::vector<std::string> rows = Rows(sql);
            all.insert(all.end(), rows.begin(), rows.end());
            all.push_back("--");
        }
        return all;
    };
    const std::vector<std::string> before = content();
    const char* const race = "\"nr3-millbrook-laptimes-lf.stn\"";
    // Each breakage comes late in the second race and is mended before the next one.
    const std::pair<std::vector<const char*>, std::string> breakages[] = {
        // The results editor may give a staged race one driver twice.
        {{"UPDATE STNStats SET DriverName='INÈS CALDWELL' WHERE DriverName='Pip Castellano'"},
         std::string("In ") + race +
             ", the driver \"Inès Caldwell\" is listed twice (also as \"INÈS CALDWELL\"); "
             "remove one of the two results."},
        {{"UPDATE STNStats SET DriverName=NULL WHERE DriverName='INÈS CALDWELL'"},
         std::string("In ") + race + ", the result in position 4 has no driver name."},
        {{"UPDATE STNStats SET DriverName='Pip Castellano', Start=NULL WHERE DriverName IS NULL"},
         std::string("In ") + race + ", the result of \"Pip Castellano\" has no start position."},
        {{"UPDATE STNStats SET Start=4 WHERE Start IS NULL",
          "CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.Stats WHEN NEW.Status = 'Overheating' "
          "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"},
         "The staged races could not be imported into \"" + path + "\" (at " + race +
             "): refused by the test."},
    };
    for (const auto& [statements, message] : breakages) {
        for (const char* sql : statements) {
            Db().Execute(sql);
        }
        EXPECT_EQ(test::ErrorOf([&] { ImportStagedRaces(*league); }), message);
        EXPECT_EQ(content(), before);
    }
    Db().Execute("DROP TRIGGER refuse");
    EXPECT_EQ(ImportStagedRaces(*league), 2);
    EXPECT_EQ(Count("Stats"), 10);
}

TEST_F(StagedImportTest, ARaceIsAlreadyImportedOnlyWithTheSameRaceAndResults) {
    Open();
    Stage(Fixture("nr3-harbor-point.stn"));
    Stage(Fixture("nr3-millbrook-laptimes-lf.stn"), 1);
    ASSERT_EQ(ImportStagedRaces(*league), 2);
    // Scoring and letter case are no difference; any other value of the race or a result is.
    const std::pair<const char*, bool> changes[] = {
        {"UPDATE STNStats SET Points=0, Bonus=0, PrizeMoney=NULL", true},
        {"UPDATE STNStats SET DriverName=upper(DriverName)", true},
        {"UPDATE STNStats SET DriverName='ZOË ØDEGÅRD' WHERE Finish=2", true},
        {"UPDATE STNStats SET DriverName='Zoe \"Ødegård\\' WHERE Finish=2", false},
        {"UPDATE STNRace SET Name='Harbor Point 401'", false},
        {"UPDATE STNRace SET Length=1.6", false},
        {"UPDATE STNRace SET Laps=266", false},
        {"UPDATE STNStats SET DriverName='Dale Quimbey' WHERE Finish=5", false},
        {"UPDATE STNStats SET Finish=7 WHERE Finish=6", false},
        {"UPDATE STNStats SET Start=7 WHERE Finish=6", false},
        {"UPDATE STNStats SET LapsRun=199 WHERE Finish=6", false},
        {"UPDATE STNStats SET LapsLed=1 WHERE Finish=6", false},
        {"UPDATE STNStats SET ReasonOut='Engine' WHERE Finish=6", false},
        {"UPDATE STNStats SET ReasonOut=NULL WHERE Finish=6", false},
        {"DELETE FROM STNStats WHERE Finish=6", false},
        {"INSERT INTO STNStats (STNRaceID, Finish, Start, DriverName, LapsRun, LapsLed, Points, "
         "Bonus) SELECT STNRaceID, 7, 7, 'Extra Driver', 1, 0, 0, 0 FROM STNRace",
         false},
    };
    for (const auto& [change, same] : changes) {
        SCOPED_TRACE(change);
        ClearStaging(*league);
        const std::int32_t staged = Stage(Fixture("nr3-harbor-point.stn"));
        Db().Execute(change);
        const std::optional<ImportedRace> found = FindImportedRace(*league, staged);
        ASSERT_EQ(found.has_value(), same);
        if (same) {
            EXPECT_EQ(found->raceId, 1);
            EXPECT_EQ(found->name, "Harbor Point 400");
        }
    }
    // Of two equal races, the first is named.
    ClearStaging(*league);
    Stage(Fixture("nr3-harbor-point.stn"));
    ASSERT_EQ(ImportStagedRaces(*league), 1);
    ClearStaging(*league);
    EXPECT_EQ(FindImportedRace(*league, Stage(Fixture("nr3-harbor-point.stn")))->raceId, 1);
}

TEST(SimilarNamesTest, SlipsOfTypingLookAlikeAndOtherDriversDoNot) {
    EXPECT_EQ(NameSkeleton("Zo\u00eb \u00d8deg\u00e5rd-Smith, Jr."), "zoeodegardsmithjr");
    for (auto [a, b] : {std::pair{"Zo\u00eb \u00d8deg\u00e5rd", "zoe odegard"},
                        {"Dale Earnhart", "Dale Earnhardt"},    // one letter left out
                        {"Soren Halverson", "Soren Halvorsen"}, // two letters swapped
                        {"J.D. McDuffie", "JD McDuffie"},       // punctuation
                        {"Rick Wilson", "Richard Wilson"}}) {   // surname and initial
        EXPECT_TRUE(NamesLookAlike(a, b)) << a << " / " << b;
    }
    for (auto [a, b] : {std::pair{"Dale Earnhardt", "DALE EARNHARDT"}, // the same name
                        {"Dale Earnhardt", "Dale Earnhardt Jr."},      // father and son
                        {"Ed Negre", "Ed Negri"},                      // short: 7 letters
                        {"Terry Labonte", "Bobby Labonte"},
                        {"Driver Number 12", "Driver Number 13"}}) { // numbers
        EXPECT_FALSE(NamesLookAlike(a, b)) << a << " / " << b;
    }
}

TEST(SimilarNamesTest, NewNamesAreComparedWithKnownOnesAndEachOther) {
    const auto similar = FindSimilarNames({"Dale Earnhart", "Rusty Wallace", "Rusty Walace"},
                                          {"Dale Earnhardt", "Kenny Wallace"});
    ASSERT_EQ(similar.size(), 2u);
    EXPECT_EQ(similar[0].newName + "|" + similar[0].existingName, "Dale Earnhart|Dale Earnhardt");
    EXPECT_EQ(similar[1].newName + "|" + similar[1].existingName, "Rusty Walace|Rusty Wallace");
}

// The index finds exactly the pairs that comparing every pair finds, in the same order, on names
// full of slips, suffixes and numbers.
TEST(SimilarNamesTest, TheIndexFindsWhatComparingEveryPairFinds) {
    const char* firsts[] = {"Dale", "Darrell", "Bobby", "Rusty", "Kenny", "Ricky", "Zoë", "Ned"};
    const char* lasts[] = {"Earnhardt", "Waltrip", "Allison", "Wallace",
                           "Rudd",      "Ødegård", "Jarrett", "Labonte"};
    const char* suffixes[] = {"", "", "", " Jr.", " II"};
    std::mt19937 random(7);
    auto pick = [&](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    std::vector<std::string> names;
    for (int i = 0; i < 400; ++i) {
        std::string name = std::string(firsts[pick(8)]) + " " + lasts[pick(8)];
        for (int slips = pick(3); slips > 0; --slips) {
            const auto at = static_cast<std::size_t>(pick(static_cast<int>(name.size())));
            if (pick(2) == 0) {
                name.erase(at, 1);
            } else {
                name.insert(at, 1, "aeiorst"[pick(7)]);
            }
        }
        name += suffixes[pick(5)];
        if (pick(6) == 0) {
            name += " " + std::to_string(pick(30));
        }
        names.push_back(name);
    }
    const std::vector<std::string> known(names.begin(), names.begin() + 150);
    const std::vector<std::string> fresh(names.begin() + 150, names.end());
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        for (const auto& k : known) {
            if (NamesLookAlike(fresh[i], k)) {
                expected.push_back(fresh[i] + "|" + k);
            }
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (NamesLookAlike(fresh[i], fresh[j])) {
                expected.push_back(fresh[i] + "|" + fresh[j]);
            }
        }
    }
    std::vector<std::string> found;
    for (const auto& s : FindSimilarNames(fresh, known)) {
        found.push_back(s.newName + "|" + s.existingName);
    }
    EXPECT_GT(expected.size(), 200u);
    EXPECT_EQ(found, expected);

    // A file of twenty thousand numbered drivers: no pair, found without comparing every pair.
    std::vector<std::string> numbered;
    for (int i = 1; i <= 20000; ++i) {
        numbered.push_back("Driver Number " + std::to_string(i));
    }
    EXPECT_TRUE(FindSimilarNames(numbered, {"Driver Number"}).empty());
}

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

// The 1992 NASCAR Winston Cup season, written as race finals, imported into a NASCAR Racing 3
// league with the preset point system and the built-in bonuses, gives every driver the points
// officially awarded that year.
std::string Copy1992(const std::string& path) {
    test::CopyCup1992League(path);
    return path;
}

class SeasonTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.File("prog")};
    League league{program, Copy1992(dir.File("cup1992.slf"))};
    Database& db = league.Db();
};

TEST_F(SeasonTest, The1992SeasonGivesTheOfficialPoints) {
    // Cars that never took the start are counted among the starts, but not written.
    std::map<std::string, int> notStarted;
    for (const test::CsvRow& r : test::ReadCup1992("results.csv")) {
        notStarted[r.at("driver")] += r.at("status") == "did not start";
    }
    const std::vector<test::CsvRow> standings = test::ReadCup1992("standings.csv");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Driver").AsInteger(),
              static_cast<std::int64_t>(standings.size()));
    for (const test::CsvRow& s : standings) {
        const std::string& driver = s.at("driver");
        const ResultSet got = db.QueryAll("SELECT Sum(Points), Count(*), Sum(Finish=1) FROM Stats "
                                          "JOIN Driver USING (DriverID) WHERE Name=?",
                                          {Value(driver)});
        EXPECT_EQ(got.rows[0][0].AsInteger(), std::stoi(s.at("official_pts_sum"))) << driver;
        EXPECT_EQ(got.rows[0][1].AsInteger(), std::stoi(s.at("starts")) - notStarted[driver])
            << driver;
        EXPECT_EQ(got.rows[0][2].AsInteger(), std::stoi(s.at("wins"))) << driver;
    }
}

// The 1992 title went by 10 points. With a 25-point penalty for the champion in the last race
// and 10 points given back to the runner-up, the title changes hands: the adjustments move
// exactly those totals, the intervals and the order, survive scoring every race again, are
// published with their reasons, and go with the driver.
TEST_F(SeasonTest, AdjustmentsMoveThe1992TitleAndGoWithTheirDriver) {
    AddAdjustment(db, {"alan kulwicki", 29, "-25", "Rough driving under caution"});
    AddAdjustment(db, {"Bill Elliott", std::nullopt, "10", "Points restored on appeal"});

    const ReportDefinition report = LoadReportDefinition(program.Db(), 1);
    auto top = [&] {
        const ReportTable table = RunReport(db, report, ".");
        std::vector<std::string> lines;
        for (std::size_t r = 0; r < 4; ++r) {
            lines.push_back(table.texts[r][0] + " " + table.texts[r][1] + " " + table.texts[r][2] +
                            " " + table.texts[r][13]);
        }
        return lines;
    };
    const std::vector<std::string> adjusted = {"Bill Elliott 4078 -- +10",
                                               "Alan Kulwicki 4053 25 -25",
                                               "Davey Allison 4015 63 ", "Harry Gant 3955 123 "};
    EXPECT_EQ(top(), adjusted);
    RecalculateAllRaces(league, [](int, int) {});
    EXPECT_EQ(top(), adjusted);

    PageWriter writer(db, program.Db());
    PageRequest request;
    request.id = 1;
    const std::string page = dir.File("standings.htm");
    ASSERT_TRUE(writer.Write(request, page)) << writer.LastError();
    EXPECT_TRUE(test::Has(test::ReadFileBytes(page),
                          "Alan Kulwicki</FONT></TD>\r\n<TD ALIGN=\"LEFT\"><FONT >Hooters 500"
                          "</FONT></TD>\r\n<TD ALIGN=\"CENTER\"><FONT >-25</FONT></TD>\r\n"
                          "<TD ALIGN=\"LEFT\"><FONT >Rough driving under caution</FONT></TD>"));

    db.Execute("DELETE FROM Driver WHERE Name='Alan Kulwicki'");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Adjustment").AsInteger(), 1);
    ASSERT_TRUE(writer.Write(request, page)) << writer.LastError();
    EXPECT_FALSE(test::Has(test::ReadFileBytes(page), "Rough driving"));
}

} // namespace
} // namespace scorewell
