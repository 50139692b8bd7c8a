#include "import/StagedImport.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "data/LeagueFile.h"
#include "import/RaceFinal.h"
#include "scoring/Scoring.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

std::string Fixture(const std::string& name) {
    return std::string(SCOREWELL_FIXTURES_DIR) + "/stn/" + name;
}

class StagedImportTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.File("prog")};
    std::unique_ptr<League> league;

    void Open(int sim = 0) {
        CreateLeagueFile(dir.File("l.slf"), sim, 0, program.Db(), 0, 0);
        league = std::make_unique<League>(program, dir.File("l.slf"));
    }
    Database& Db() { return league->Db(); }
    std::int32_t Stage(const std::string& path, int lapReportingMethod = 0) {
        StagingResult result = ImportSTNFile(*league, league->LoadPointTable(), path,
                                             league->Settings().simTitle, lapReportingMethod);
        EXPECT_TRUE(result.Staged()) << path << ": " << result.message;
        return result.stnRaceId;
    }
    std::int64_t Count(const std::string& table) {
        return Db().Scalar("SELECT Count(*) FROM " + table).AsInteger();
    }
    // Every row of a query as one text, fields separated by "|".
    std::vector<std::string> Rows(const std::string& sql) {
        std::vector<std::string> out;
        for (const auto& row : Db().QueryAll(sql).rows) {
            std::string text;
            for (const Value& v : row) {
                text += (text.empty() ? "" : "|") + (v.IsNull() ? "NULL" : v.AsText());
            }
            out.push_back(text);
        }
        return out;
    }
    // What must stay untouched when an import fails.
    std::vector<std::string> LeagueContent() {
        std::vector<std::string> all = Rows("SELECT * FROM Driver ORDER BY DriverID");
        for (const char* sql :
             {"SELECT * FROM Race ORDER BY RaceID", "SELECT * FROM Stats ORDER BY StatsID",
              "SELECT seq FROM sqlite_sequence ORDER BY name"}) {
            std::vector<std::string> rows = Rows(sql);
            all.insert(all.end(), rows.begin(), rows.end());
            all.push_back("--");
        }
        return all;
    }
};

TEST_F(StagedImportTest, StagedRacesBecomeRacesWithTheirResultsAndDrivers) {
    Open();
    Db().Execute("DELETE FROM PointSystem");
    for (int position = 1; position <= 4; ++position) {
        Db().Execute("INSERT INTO PointSystem (Position, Points, PrizeMoney) VALUES (?,?,?)",
                     {Value(position), Value(50 - position * 5), Value(1000 * (5 - position))});
    }
    Db().Execute("UPDATE Settings SET SettingValue='1' WHERE SettingsID=13");
    league->LoadWorkingSettings();
    const std::int32_t known = GetDriverID(Db(), "WES HARLAN");

    const std::int32_t harbor = Stage(Fixture("nr3-harbor-point.stn"));
    const std::int32_t millbrook = Stage(Fixture("nr3-millbrook-laptimes-lf.stn"), 1);
    // The results editor may have changed a staged race; what is staged is what is imported.
    Db().Execute("UPDATE STNStats SET Points=Points+1, AvgSpeed=123.5 WHERE Finish=2");
    std::vector<std::pair<int, int>> calls;
    const int imported =
        ImportStagedRaces(*league, [&](int done, int total) { calls.emplace_back(done, total); });

    EXPECT_EQ(imported, 2);
    EXPECT_EQ(Rows("SELECT RaceID, Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
                   "VictoryMargin, Cautions, LeadChanges, Weather FROM Race ORDER BY RaceID"),
              (std::vector<std::string>{"1|Harbor Point 400|nr3-harbor-point.stn|1.5|267|"
                                        "4:05:31.870|97.873 mph|0.441 sec|4|12|Sunny, 78°F",
                                        "2|Millbrook 500|nr3-millbrook-laptimes-lf.stn|2.5|200|"
                                        "3:12:45.120|155.6 mph|1.2 sec|2|9|NULL"}));
    // Results in staging order, with points, bonus and prize money as staged; the staged
    // average speed is not carried.
    EXPECT_EQ(Rows("SELECT RaceID, Name, Start, Finish, LapsRun, LapsLed, Status, Points, Bonus, "
                   "PrizeMoney, Qualifying, AvgSpeed, Dropped FROM Stats JOIN Driver "
                   "USING (DriverID) ORDER BY StatsID"),
              (std::vector<std::string>{
                  "1|Renée Fässler|3|1|267|120|Running|55|10|4000|98.123|NULL|0",
                  "1|Zoë Ødegård|1|2|267|100|Running|46|5|3000|99.002|NULL|0",
                  "1|Kip Vandermeer|5|3|266|0|Running|35|0|2000|97.45|NULL|0",
                  "1|Tomasz O'Brien|2|4|266|47|Running|35|5|1000|98.876|NULL|0",
                  "1|Dale Quimby|6|5|250|0|Engine|0|0|NULL|0|NULL|0",
                  "1|Luca Bertolini|4|6|198|0|Crash|0|0|NULL|97.511|NULL|0",
                  "2|Bram Okonkwo|2|1|200|150|Running|55|10|4000|144|NULL|0",
                  "2|Inès Caldwell|1|2|200|48|Running|46|5|3000|288|NULL|0",
                  "2|WES HARLAN|3|3|199|2|Running|40|5|2000|0|NULL|0",
                  "2|Pip Castellano|4|4|120|0|Overheating|30|0|1000|138.4615|NULL|0",
              }));
    // The known driver is found whatever the letter case; the others are added once each.
    EXPECT_EQ(Count("Driver"), 10);
    EXPECT_EQ(Db().Scalar("SELECT DriverID FROM Stats WHERE RaceID=2 AND Finish=3").AsInteger(),
              known);
    EXPECT_EQ(calls.size(), 11u);
    EXPECT_EQ(calls.front(), std::make_pair(0, 10));
    EXPECT_EQ(calls.back(), std::make_pair(10, 10));
    // The staged races stay until the staging area is next cleared.
    EXPECT_EQ(Count("STNRace"), 2);

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
    const std::vector<std::string> before = LeagueContent();

    // The engine refuses a result without a driver name, late in the second race.
    Db().Execute("UPDATE STNStats SET DriverName=NULL WHERE DriverName='Pip Castellano'");
    try {
        ImportStagedRaces(*league);
        ADD_FAILURE() << "imported";
    } catch (const ScorewellError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "A staged result in \"nr3-millbrook-laptimes-lf.stn\" has no driver name.");
    }
    EXPECT_EQ(LeagueContent(), before);

    // A result without a start position cannot be stored.
    Db().Execute("UPDATE STNStats SET DriverName='Pip Castellano' WHERE DriverName IS NULL");
    Db().Execute("UPDATE STNStats SET Start=NULL WHERE DriverName='Inès Caldwell'");
    try {
        ImportStagedRaces(*league);
        ADD_FAILURE() << "imported";
    } catch (const ScorewellError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The staged result of \"Inès Caldwell\" in \"nr3-millbrook-laptimes-lf.stn\" has "
                  "no start position.");
    }
    EXPECT_EQ(LeagueContent(), before);

    // A value the league file refuses.
    Db().Execute("UPDATE STNStats SET Start=1 WHERE Start IS NULL");
    Db().Execute("CREATE TRIGGER refuse_ashby BEFORE INSERT ON Stats WHEN NEW.Status = "
                 "'Overheating' BEGIN SELECT RAISE(ABORT, 'refused by the test'); END");
    try {
        ImportStagedRaces(*league);
        ADD_FAILURE() << "imported";
    } catch (const ScorewellError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The staged races could not be imported (at "
                  "\"nr3-millbrook-laptimes-lf.stn\"): refused by the test.");
    }
    EXPECT_EQ(LeagueContent(), before);
    Db().Execute("DROP TRIGGER refuse_ashby");
    EXPECT_EQ(ImportStagedRaces(*league), 2);
    EXPECT_EQ(Count("Stats"), 10);
}

// The demo season shipped for the README's first steps must import as it stands.
TEST_F(StagedImportTest, TheDemoSeasonImports) {
    Open();
    const std::filesystem::path folder =
        std::filesystem::path(SCOREWELL_SOURCE_DIR) / "resources" / "demo";
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".stn") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 5u);
    Transaction t(Db());
    for (const std::string& file : files) {
        Stage(file);
    }
    EXPECT_EQ(ImportStagedRaces(*league), static_cast<int>(files.size()));
    t.Commit();
    EXPECT_GE(Count("Driver"), 15);
    EXPECT_EQ(Db().Scalar("SELECT Count(*) FROM Race WHERE Weather IS NULL OR RaceTime IS NULL")
                  .AsInteger(),
              0);
}

} // namespace
} // namespace scorewell
