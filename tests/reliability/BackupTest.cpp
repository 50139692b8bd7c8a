// Actions that remove data without asking, or that cannot be undone, keep the league as it was
// beside it as LEAGUE.slf.bak (one generation) before they start.

#include <gtest/gtest.h>

#include <filesystem>

#include "LeagueCheck.h"
#include "common/Errors.h"
#include "common/Platform.h"
#include "common/Paths.h"
#include "data/League.h"
#include "data/Program.h"
#include "data/RaceList.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

const std::string kDemo = std::string(SCOREWELL_SOURCE_DIR) + "/resources/demo/";

class BackupTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir.File("cup.slf");
    std::string backup = path + ".bak";

    test::ProcessResult Cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--program-folder", dir.File("prog")});
        return test::RunCli(args);
    }

    void SetUp() override {
        ASSERT_EQ(Cli({"new", path, "--sim", "0"}).exitCode, 0);
        std::vector<std::string> args = {"import", path};
        for (const auto& entry : std::filesystem::directory_iterator(kDemo)) {
            if (entry.path().extension() == ".stn") {
                args.push_back(entry.path().string());
            }
        }
        ASSERT_EQ(Cli(args).exitCode, 0);
    }
};

TEST_F(BackupTest, RemovingRacesKeepsTheLeagueAsItWasOneGenerationDeep) {
    const std::string original = test::KeyColumns(path);
    Program program(dir.File("prog"));
    {
        League league(program, path);
        RemoveRaces(league.Db(), {2, 4});
        EXPECT_EQ(ReadRaceList(league.Db()).size(), 4u);
        league.Close();
    }
    ASSERT_TRUE(FileExists(backup));
    EXPECT_EQ(test::LeagueProblems(backup), "");
    EXPECT_EQ(test::KeyColumns(backup), original);
    const std::string afterFirst = test::KeyColumns(path);

    // The next removal keeps the league as the first one left it; the older copy is gone.
    {
        League league(program, path);
        RemoveRaces(league.Db(), {1});
        league.Close();
    }
    EXPECT_EQ(test::KeyColumns(backup), afterFirst);
    EXPECT_FALSE(FileExists(backup + ".new"));
}

TEST_F(BackupTest, WhenTheCopyCannotBeWrittenNothingIsRemoved) {
    std::filesystem::create_directory(backup);
    test::WriteFileBytes(backup + "/occupied", "x");
    const std::string original = test::KeyColumns(path);
    Program program(dir.File("prog"));
    League league(program, path);
    try {
        RemoveRaces(league.Db(), {1, 2});
        ADD_FAILURE() << "removed without a copy";
    } catch (const ScorewellError& e) {
        EXPECT_NE(std::string(e.what()).find(backup), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadRaceList(league.Db()).size(), 6u);
    league.Close();
    EXPECT_EQ(test::KeyColumns(path), original);
}

TEST_F(BackupTest, RemovingExcludedResultsKeepsTheLeagueAsItWas) {
    const auto excluded = Cli({"exclude", path, "Amos Whitlock"});
    ASSERT_EQ(excluded.exitCode, 0) << excluded.err;
    const std::string original = test::KeyColumns(path);
    const auto removed = Cli({"remove-excluded", path});
    ASSERT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_EQ(removed.out.substr(0, removed.out.find('\n')), "removed\t6 results");
    ASSERT_TRUE(FileExists(backup));
    EXPECT_EQ(test::LeagueProblems(backup), "");
    EXPECT_EQ(test::KeyColumns(backup), original);
    EXPECT_NE(test::KeyColumns(path), original);
}

} // namespace
} // namespace scorewell
