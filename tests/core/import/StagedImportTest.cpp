#include "import/StagedImport.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/Errors.h"
#include "core/LeagueFixture.h"
#include "import/RaceFinal.h"
#include "import/SimilarNames.h"
#include "scoring/Scoring.h"
#include "support/Checks.h"
#include "support/Golden.h"

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
                        {"Terry Labonte", "Bobby Labonte"}}) {
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

} // namespace
} // namespace scorewell
