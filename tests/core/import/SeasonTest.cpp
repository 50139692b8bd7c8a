// The 1992 NASCAR Winston Cup season, written as race finals, imported into a NASCAR Racing 3
// league with the preset point system and the built-in bonuses, gives every driver the points
// officially awarded that year.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/LeagueFile.h"
#include "import/RaceFinal.h"
#include "import/StagedImport.h"
#include "support/Season1992.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

TEST(SeasonTest, The1992SeasonGivesTheOfficialPoints) {
    test::TempDir dir;
    const test::Season1992 season = test::WriteSeason1992(dir.Path());
    ASSERT_EQ(season.files.size(), 29u);
    const std::vector<std::string>& files = season.files;
    const std::vector<test::CsvRow>& standings = season.standings;

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
    for (const test::CsvRow& s : standings) {
        const std::string& driver = s.at("driver");
        const auto notStarted = season.notStarted.find(driver);
        const int started = std::stoi(s.at("starts")) -
                            (notStarted == season.notStarted.end() ? 0 : notStarted->second);
        ResultSet got = db.QueryAll("SELECT Sum(Points), Count(*), Sum(Finish=1) FROM Stats "
                                    "JOIN Driver USING (DriverID) WHERE Name=?",
                                    {Value(driver)});
        EXPECT_EQ(got.rows[0][0].AsInteger(), std::stoi(s.at("official_pts_sum"))) << driver;
        EXPECT_EQ(got.rows[0][1].AsInteger(), started) << driver;
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
