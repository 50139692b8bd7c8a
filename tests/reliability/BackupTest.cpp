// Actions that remove data without asking, or that cannot be undone, keep the league as it was
// beside it as LEAGUE.slf.bak, the five newest copies in all; an action that removed nothing
// leaves the copies as they were.

#include <gtest/gtest.h>

#include "LeagueCheck.h"
#include "common/Paths.h"
#include "data/League.h"
#include "data/Program.h"
#include "data/RaceList.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

using BackupTest = test::CliFixture;

TEST_F(BackupTest, RemovingRacesKeepsTheFiveNewestCopiesOfTheLeague) {
    const std::string path = dir.File("cup.slf");
    const std::string backup = path + ".bak";
    MakeDemoLeague(path, 6);
    Program program(dir.File("prog"));
    std::vector<std::string> states = {test::KeyColumns(path)};
    for (std::int32_t race = 1; race <= 6; ++race) {
        League league(program, path);
        RemoveRaces(league.Db(), {race});
        league.Close();
        states.push_back(test::KeyColumns(path));
    }
    // Newest first: .bak holds the league before the last removal.
    for (int n = 0; n < PendingBackup::kGenerations; ++n) {
        const std::string copy = PendingBackup::GenerationPath(path, n);
        ASSERT_TRUE(FileExists(copy)) << copy;
        EXPECT_EQ(test::LeagueProblems(copy), "");
        EXPECT_EQ(test::KeyColumns(copy), states[states.size() - 2 - n]) << copy;
    }
    EXPECT_FALSE(FileExists(PendingBackup::GenerationPath(path, PendingBackup::kGenerations)));
    EXPECT_FALSE(FileExists(backup + ".pending"));

    // Removing a race that is no longer there changes nothing, so no copy moves.
    const std::string newest = test::ReadFileBytes(backup);
    League league(program, path);
    RemoveRaces(league.Db(), {1});
    league.Close();
    EXPECT_TRUE(test::ReadFileBytes(backup) == newest);
}

// A removal whose copy cannot be written removes nothing: tests/fixtures/cli/refusals.txt.
// Removing excluded results through the command line keeps the copy too:
// tests/fixtures/cli/refusals.txt.

} // namespace
} // namespace scorewell
