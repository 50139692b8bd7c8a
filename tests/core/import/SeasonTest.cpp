// The 1992 NASCAR Winston Cup season, written as race finals, imported into a NASCAR Racing 3
// league with the preset point system and the built-in bonuses, gives every driver the points
// officially awarded that year.

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/LeagueFile.h"
#include "import/RaceFinal.h"
#include "import/RaceFinalWriter.h"
#include "import/StagedImport.h"
#include "support/Seasons.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

using Row = test::CsvRow;

TEST(SeasonTest, The1992SeasonGivesTheOfficialPoints) {
    const std::vector<RaceFinalRace> races = test::Cup1992Races();
    const std::vector<Row> standings = test::ReadCup1992("standings.csv");
    ASSERT_EQ(races.size(), 29u);

    test::TempDir dir;
    std::vector<std::string> files;
    // Officially worth nothing: the car never took the start, so the race finals leave it out.
    std::map<std::string, int> notStarted;
    for (const Row& result : test::ReadCup1992("results.csv")) {
        notStarted[result.at("driver")] += result.at("status") == "did not start";
    }
    for (const RaceFinalRace& race : races) {
        // No qualifying known and no points printed: the league scores the season itself.
        files.push_back(dir.File("race" + std::to_string(files.size() + 1) + ".stn"));
        WriteRaceFinal(files.back(), race);
    }

    Program program(dir.File("prog"));
    CreateLeagueFile(dir.File("cup1992.slf"), 0, 0, program.Db(), 0, 0);
    League league(program, dir.File("cup1992.slf"));
    Database& db = league.Db();
    {
        Transaction transaction(db);
        const PointTable table = league.LoadPointTable();
        for (const std::string& file : files) {
            const StagingResult staged = ImportSTNFile(
                league, table, file, Simulation::NascarRacing3, LapReportingMethod::Speed);
            ASSERT_TRUE(staged.Staged()) << file << ": " << staged.message;
        }
        EXPECT_EQ(ImportStagedRaces(league), 29);
        transaction.Commit();
    }

    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Driver").AsInteger(),
              static_cast<std::int64_t>(standings.size()));
    for (const Row& s : standings) {
        const std::string& driver = s.at("driver");
        ResultSet got = db.QueryAll("SELECT Sum(Points), Count(*), Sum(Finish=1) FROM Stats "
                                    "JOIN Driver USING (DriverID) WHERE Name=?",
                                    {Value(driver)});
        EXPECT_EQ(got.rows[0][0].AsInteger(), std::stoi(s.at("official_pts_sum"))) << driver;
        EXPECT_EQ(got.rows[0][1].AsInteger(), std::stoi(s.at("starts")) - notStarted[driver])
            << driver;
        EXPECT_EQ(got.rows[0][2].AsInteger(), std::stoi(s.at("wins"))) << driver;
    }
    // The champion by the narrowest of margins.
    EXPECT_EQ(db.Scalar("SELECT Name FROM Driver JOIN Stats USING (DriverID) GROUP BY DriverID "
                        "ORDER BY Sum(Points) DESC LIMIT 1")
                  .AsText(),
              "Alan Kulwicki");
}

} // namespace
} // namespace scorewell
