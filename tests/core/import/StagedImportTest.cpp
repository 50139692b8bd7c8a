#include "import/StagedImport.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/Text.h"
#include "core/LeagueFixture.h"
#include "editing/Adjustments.h"
#include "editing/RankCriteriaOrder.h"
#include "import/OfflineMerge.h"
#include "import/RaceFinal.h"
#include "import/SimilarNames.h"
#include "reports/ReportEngine.h"
#include "scoring/Recalculation.h"
#include "scoring/Scoring.h"
#include "support/Checks.h"
#include "support/Golden.h"
#include "support/Seasons.h"
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
    GetDriverID(Db(), "WES HARLAN"); // known before the import, in capitals
    const std::int32_t harbor = Stage(Fixture("nr3-harbor-point.stn"));
    const std::int32_t millbrook = Stage(Fixture("nr3-millbrook-laptimes-lf.stn"), 1);
    // The results editor may have changed a staged race; what is staged is what is imported.
    Db().Execute("UPDATE STNStats SET Points=Points+1, AvgSpeed=123.5 WHERE Finish=2");
    std::string progress;
    EXPECT_EQ(ImportStagedRaces(*league,
                                [&](int done, int total) {
                                    progress +=
                                        std::to_string(done) + "/" + std::to_string(total) + " ";
                                }),
              2);

    // Results in staging order, with points, bonus and prize money as staged; the staged
    // average speed is not carried.
    test::ExpectGolden("import/staged-races.txt",
                       Lines({"SELECT RaceID, Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
                              "VictoryMargin, Cautions, LeadChanges, Weather FROM Race",
                              "SELECT RaceID, Name, Start, Finish, LapsRun, LapsLed, Status, "
                              "Points, Bonus, PrizeMoney, Qualifying, AvgSpeed, Dropped FROM Stats "
                              "JOIN Driver USING (DriverID) ORDER BY StatsID"}));
    // The known driver is found whatever the letter case (the golden file shows his name as
    // known); the others are added once each.
    EXPECT_EQ(Count("Driver"), 10);
    EXPECT_EQ(progress, "0/10 1/10 2/10 3/10 4/10 5/10 6/10 7/10 8/10 9/10 10/10 ");
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
        return Lines({"SELECT * FROM Driver", "SELECT * FROM Race", "SELECT * FROM Stats",
                      "SELECT seq FROM sqlite_sequence"});
    };
    const std::string before = content();
    // Each breakage comes late in the second race and is mended before the next one; the
    // messages, the league's path written as cup.slf, in the golden file.
    const std::vector<const char*> breakages[] = {
        // The results editor may give a staged race one driver twice.
        {"UPDATE STNStats SET DriverName='INÈS CALDWELL' WHERE DriverName='Pip Castellano'"},
        {"UPDATE STNStats SET DriverName=NULL WHERE DriverName='INÈS CALDWELL'"},
        {"UPDATE STNStats SET DriverName='Pip Castellano', Start=NULL WHERE DriverName IS NULL"},
        {"UPDATE STNStats SET Start=4 WHERE Start IS NULL",
         "CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.Stats WHEN NEW.Status = 'Overheating' "
         "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"},
    };
    std::string messages;
    for (const auto& statements : breakages) {
        for (const char* sql : statements) {
            Db().Execute(sql);
        }
        messages +=
            ReplaceAll(test::ErrorOf([&] { ImportStagedRaces(*league); }), path, "cup.slf") + "\n";
        EXPECT_EQ(content(), before);
    }
    test::ExpectGolden("import/staged-import-refusals.txt", messages);
    Db().Execute("DROP TRIGGER refuse");
    EXPECT_EQ(ImportStagedRaces(*league), 2);
    EXPECT_EQ(Count("Stats"), 10);
}

TEST_F(StagedImportTest, ARaceIsAlreadyImportedOnlyWithTheSameRaceAndResults) {
    Open();
    Stage(Fixture("nr3-harbor-point.stn"));
    Stage(Fixture("nr3-millbrook-laptimes-lf.stn"), 1);
    ASSERT_EQ(ImportStagedRaces(*league), 2);
    // Each change of tests/fixtures/sql/changes-to-a-staged-race.sql and the race it is found to
    // be, if any, in the golden file.
    std::string sql =
        test::ReadFileBytes(SCOREWELL_FIXTURES_DIR "/sql/changes-to-a-staged-race.sql");
    std::erase(sql, '\r');
    std::string found;
    for (std::size_t from = 0, end; (end = sql.find(";\n", from)) != std::string::npos;
         from = end + 2) {
        std::string change = sql.substr(from, end - from);
        while (change.starts_with("--")) {
            change.erase(0, change.find('\n') + 1);
        }
        ClearStaging(*league);
        const std::int32_t staged = Stage(Fixture("nr3-harbor-point.stn"));
        Db().Execute(change);
        const std::optional<ImportedRace> race = FindImportedRace(*league, staged);
        found += change + "\n  " +
                 (race ? std::to_string(race->raceId) + " \"" + race->name + "\"" : "new") + "\n";
    }
    test::ExpectGolden("import/changes-to-a-staged-race.txt", found);
    // Of two equal races, the first is named.
    ClearStaging(*league);
    Stage(Fixture("nr3-harbor-point.stn"));
    ASSERT_EQ(ImportStagedRaces(*league), 1);
    ClearStaging(*league);
    EXPECT_EQ(FindImportedRace(*league, Stage(Fixture("nr3-harbor-point.stn")))->raceId, 1);
}

TEST(SimilarNamesTest, SlipsOfTypingLookAlikeAndOtherDriversDoNot) {
    EXPECT_EQ(NameSkeleton("Zo\u00eb \u00d8deg\u00e5rd-Smith, Jr."), "zoeodegardsmithjr");
    std::string pairs = test::ReadFileBytes(SCOREWELL_FIXTURES_DIR "/similar-name-pairs.txt");
    std::erase(pairs, '\r');
    int checked = 0;
    for (const std::string& line : Split(pairs, '\n')) {
        const std::vector<std::string> pair = Split(line, '\t');
        if (pair.size() == 4 && ++checked) {
            EXPECT_EQ(NamesLookAlike(pair[1], pair[2]), pair[0] == "alike") << line;
        }
    }
    EXPECT_EQ(checked, 10);
    // New names are compared with known ones and with each other.
    const auto similar = FindSimilarNames({"Dale Earnhart", "Rusty Wallace", "Rusty Walace"},
                                          {"Dale Earnhardt", "Kenny Wallace"});
    ASSERT_EQ(similar.size(), 2u);
    EXPECT_EQ(similar[0].newName + "|" + similar[0].existingName, "Dale Earnhart|Dale Earnhardt");
    EXPECT_EQ(similar[1].newName + "|" + similar[1].existingName, "Rusty Walace|Rusty Wallace");
}

// The index finds exactly the pairs that comparing every pair finds, in the same order, on the
// names of tests/fixtures/similar-names.txt, full of slips, suffixes and numbers: the first 150
// known, the others new, compared with the known ones and the new ones before them.
TEST(SimilarNamesTest, TheIndexFindsWhatComparingEveryPairFinds) {
    std::string text = test::ReadFileBytes(SCOREWELL_FIXTURES_DIR "/similar-names.txt");
    std::erase(text, '\r');
    std::vector<std::string> names = Split(text, '\n');
    names.pop_back(); // after the last line end
    ASSERT_EQ(names.size(), 400u);
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

class OfflineMergeTest : public test::LeagueFixture {
protected:
    // Stages members' race finals of tests/fixtures/stn/offline, written for the league's
    // simulation.
    void Stage(std::initializer_list<const char*> files) {
        for (const char* file : files) {
            const StagingResult staged = ImportSTNFile(
                *league, league->LoadPointTable(), Fixture("offline/" + std::string(file)),
                league->Settings().simTitle, LapReportingMethod::Speed);
            ASSERT_TRUE(staged.Staged()) << file << ": " << staged.message;
        }
    }
    // Three members against the same computer cars; Sam Ortiz is in two files, once in capitals,
    // and the second file names the race otherwise.
    void StageThreeMembers() { Stage({"member-a.stn", "member-b.stn", "member-c.stn"}); }
    // Merges the staged races, and adds the merged race and its results to the dump.
    MergeOutcome Merge(const std::string& what) {
        const MergeOutcome merged =
            MergeStagedRaces(*league, league->LoadPointTable(), [&](int done, int total) {
                progress += std::to_string(done) + "/" + std::to_string(total) + " ";
            });
        const std::string race = std::to_string(merged.raceId);
        dump += "== " + what + ": " + std::to_string(merged.drivers) + " drivers into \"" +
                merged.raceName + "\"\n" +
                Lines({"SELECT RaceID, Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
                       "VictoryMargin, Cautions, LeadChanges, Weather FROM Race WHERE RaceID=" +
                           race,
                       "SELECT Name, Start, Finish, LapsRun, LapsLed, Points, Bonus, PrizeMoney, "
                       "Qualifying, AvgSpeed FROM Stats JOIN Driver USING (DriverID) WHERE "
                       "RaceID=" +
                           race + " ORDER BY Finish"});
        return merged;
    }
    void Reopen(Simulation sim, const std::string& separator = ".") {
        path = dir.File(std::to_string(static_cast<int>(sim)) + ".slf");
        Open(static_cast<int>(sim), static_cast<int>(LeagueType::Offline), 0, 0, separator);
    }
    std::string dump;
    std::string progress; // of the merges so far
};

// Start by qualifying; finish by the rank criteria (laps, then the average speed of each one's
// own race), points of the scale with 5 for leading a lap and 5 for leading the most.
TEST_F(OfflineMergeTest, MembersOfEveryFileMergeIntoOneRaceOrderedByTheRankCriteria) {
    Reopen(Simulation::NascarRacing3);
    StageThreeMembers();
    EXPECT_TRUE(Merge("NR3, preset criteria").merged);
    EXPECT_EQ(Count("Driver"), 3);
    EXPECT_EQ(progress, "0/9 1/9 2/9 3/9 4/9 5/9 6/9 7/9 8/9 9/9 ");
    // Laps led first: the same files give another order, and the drivers are found again.
    ClearStaging(*league);
    StageThreeMembers();
    OrderRankCriteriaByNames(*league,
                             {"laps led", "Laps Completed", "AVERAGE SPEED", "Qualifying Speed"});
    Merge("NR3, laps led first");
    EXPECT_EQ(Count("Driver"), 3);

    // Equal on every criterion: the better place in one's own race first, then the file staged
    // first; nobody of the three led a lap, so each led the most. NASCAR Racing 2 / 1999 files
    // and the league's own two-place point system with prize money: beyond it nothing is won.
    Reopen(Simulation::NascarRacing2);
    UseCustomPoints({{10, Value(500)}, {6, Value(300)}});
    Stage({"nr2-x.stn", "nr2-y-200.stn", "nr2-z-200.stn"});
    Merge("NR2, own points, all tied");
    // Without rank criteria that order is the whole order, whatever the laps.
    ClearStaging(*league);
    Db().Execute("DELETE FROM RankCriteria");
    Stage({"nr2-x.stn", "nr2-y-199.stn", "nr2-z-199.stn"});
    Merge("NR2, own points, no criteria, the first two a lap down");

    // NASCAR Legends scores with the preset scale of the first file (two points between places,
    // no bonuses), and a decimal comma in the staged average speed still reads as the number.
    Reopen(Simulation::NascarLegends, ",");
    Stage({"legends-a.stn", "legends-b.stn"});
    Merge("Legends, decimal comma");
    test::ExpectGolden("import/offline-merges.txt", dump);
}

TEST_F(OfflineMergeTest, FilesOfComputerCarsOnlyOrACriterionThatCannotRankAreRefusedWhole) {
    Reopen(Simulation::NascarRacing3);
    // Ann Lee is a member in one file and a computer car in the other, in other letter case.
    Stage({"cars-only-a.stn", "cars-only-b.stn"});
    auto before = Rows("SELECT * FROM STNStats ORDER BY STNStatsID");
    EXPECT_FALSE(Merge("cars only").merged);
    EXPECT_EQ(Rows("SELECT * FROM STNStats ORDER BY STNStatsID"), before);
    EXPECT_EQ(Count("Race") + Count("Stats") + Count("Driver"), 0);

    ClearStaging(*league);
    StageThreeMembers();
    before = Rows("SELECT * FROM STNStats ORDER BY STNStatsID");
    for (const auto& [query, message] : std::vector<std::pair<std::string, std::string>>{
             {"Nonsense DESC", "The rank criterion \"Laps Led\" cannot run: no such column"},
             {"LapsLed DESC LIMIT 1 --", "they leave drivers out"},
             {"(SELECT 1)) --", "reaches beyond its own sort order"},
             {"LapsLed; DELETE FROM Race", "more than one statement"}}) {
        SCOPED_TRACE(query);
        Db().Execute("UPDATE RankCriteria SET Query=? WHERE Name='Laps Led'", {Value(query)});
        EXPECT_TRUE(test::Has(test::ErrorOf([&] { Merge("a broken criterion"); }), message));
        EXPECT_EQ(Rows("SELECT * FROM STNStats ORDER BY STNStatsID"), before);
        EXPECT_EQ(Count("Race") + Count("Stats") + Count("Driver"), 0);
    }
}

// The 1992 NASCAR Winston Cup season, written as race finals, imported into a NASCAR Racing 3
// league with the preset point system and the built-in bonuses, gives every driver the points
// officially awarded that year.
class SeasonTest : public test::LeagueFixture {
protected:
    void SetUp() override {
        test::CopyCup1992League(path);
        league = std::make_unique<League>(*program, path);
    }
};

TEST_F(SeasonTest, The1992SeasonGivesTheOfficialPoints) {
    // Cars that never took the start are counted among the starts, but not written.
    std::map<std::string, int> notStarted;
    for (const test::CsvRow& r : test::ReadCup1992("results.csv")) {
        notStarted[r.at("driver")] += r.at("status") == "did not start";
    }
    const std::vector<test::CsvRow> standings = test::ReadCup1992("standings.csv");
    EXPECT_EQ(Db().Scalar("SELECT Count(*) FROM Driver").AsInteger(),
              static_cast<std::int64_t>(standings.size()));
    for (const test::CsvRow& s : standings) {
        const std::string& driver = s.at("driver");
        const ResultSet got =
            Db().QueryAll("SELECT Sum(Points), Count(*), Sum(Finish=1) FROM Stats "
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
// exactly those totals, the intervals and the order, and survive scoring every race again. (Their
// pages are golden in the page writer's tests; that they go with their driver or race is the
// adjustments' own test.)
TEST_F(SeasonTest, AdjustmentsMoveThe1992TitleAndSurviveARescore) {
    AddAdjustment(Db(), {"alan kulwicki", 29, "-25", "Rough driving under caution"});
    AddAdjustment(Db(), {"Bill Elliott", std::nullopt, "10", "Points restored on appeal"});

    const ReportDefinition report = LoadReportDefinition(program->Db(), 1);
    auto top = [&] {
        const ReportTable table = RunReport(Db(), report, ".");
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
    RecalculateAllRaces(*league, [](int, int) {});
    EXPECT_EQ(top(), adjusted);
}

} // namespace
} // namespace scorewell
