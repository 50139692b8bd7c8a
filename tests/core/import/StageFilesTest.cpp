#include "import/StageFiles.h"

#include <gtest/gtest.h>

#include <memory>

#include "data/LeagueFile.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

std::string Fixture(const std::string& name) {
    return std::string(SCOREWELL_FIXTURES_DIR) + "/stn/" + name;
}

TEST(StageFilesTest, ABadFileAmongGoodOnesIsReportedAndLeavesTheOthersStaged) {
    test::TempDir dir;
    Program program(dir.File("prog"));
    CreateLeagueFile(dir.File("l.slf"), 0, 0, program.Db(), 0, 0);
    League league(program, dir.File("l.slf"));

    std::vector<std::size_t> reading;
    StageFilesProgress progress;
    progress.reading = [&](std::size_t i) {
        reading.push_back(i);
    };
    const std::vector<StagingResult> results = StageResultFiles(
        league, league.LoadPointTable(),
        {Fixture("nr3-harbor-point.stn"), Fixture("refused-header.stn"),
         Fixture("refused-unclosed-table.stn"),
         std::string(SCOREWELL_SOURCE_DIR) + "/resources/demo/02-millbrook-500.stn"},
        0, 0, progress);
    EXPECT_EQ(reading, (std::vector<std::size_t>{0, 1, 2, 3}));
    ASSERT_EQ(results.size(), 4u);
    EXPECT_TRUE(results[0].Staged());
    EXPECT_FALSE(results[1].Staged());
    EXPECT_EQ(results[1].title, "Error Reading '" + Fixture("refused-header.stn") + "'");
    EXPECT_NE(results[1].message.find("does not seem to be a race final!"), std::string::npos);
    EXPECT_FALSE(results[2].Staged());
    EXPECT_TRUE(results[3].Staged());
    EXPECT_FALSE(league.Db().InTransaction());
    EXPECT_EQ(league.Db().Scalar("SELECT Count(*) FROM STNRace").AsInteger(), 2);
    EXPECT_EQ(league.Db()
                  .Scalar("SELECT Count(*) FROM STNStats WHERE STNRaceID NOT IN (?, ?)",
                          {Value(results[0].stnRaceId), Value(results[3].stnRaceId)})
                  .AsInteger(),
              0);

    RemoveStagedRaces(league, {results[0].stnRaceId, results[3].stnRaceId});
    EXPECT_EQ(league.Db().Scalar("SELECT Count(*) FROM STNStats").AsInteger(), 0);
}

} // namespace
} // namespace scorewell
