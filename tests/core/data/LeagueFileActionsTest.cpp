#include <gtest/gtest.h>

#include <filesystem>

#include "common/Errors.h"
#include "common/Paths.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/LeagueFileActions.h"
#include "data/Settings.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

class LeagueFileActionsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.File("prog")};
    std::string path = dir.File("cup.slf");
};

TEST_F(LeagueFileActionsTest, AFileIsInUseWhileAnotherConnectionHoldsALock) {
    CreateNewLeagueFile(path, 0, 0, program.Db(), 0, 0);
    EXPECT_FALSE(DatabaseFileInUse(path));
    EXPECT_FALSE(DatabaseFileInUse(dir.File("missing.slf")));
    test::WriteFileBytes(dir.File("text.slf"), "not a database at all, just some text");
    EXPECT_FALSE(DatabaseFileInUse(dir.File("text.slf")));

    Database other = Database::Open(path);
    EXPECT_FALSE(DatabaseFileInUse(path)); // open and idle
    other.Execute("BEGIN IMMEDIATE");
    EXPECT_TRUE(DatabaseFileInUse(path));
    other.Execute("ROLLBACK");
    EXPECT_FALSE(DatabaseFileInUse(path));
}

TEST_F(LeagueFileActionsTest, ANewLeagueReplacesAnExistingFileWhole) {
    test::WriteFileBytes(path, "an old file of the same name");
    test::WriteFileBytes(path + "-journal", "a journal of the old file");
    CreateNewLeagueFile(path, 3, 1, program.Db(), 4, 1);
    EXPECT_FALSE(FileExists(path + ".new"));
    EXPECT_FALSE(FileExists(path + "-journal"));
    League league(program, path);
    EXPECT_EQ(league.Settings().simTitle, 3);
    EXPECT_EQ(league.Settings().leagueType, 1);
    EXPECT_EQ(league.Settings().droppedRaces, 4);
    EXPECT_EQ(league.Settings().lapReportingMethod, 1);
}

TEST_F(LeagueFileActionsTest, AFailedCreationLeavesTheOldFileAsItWas) {
    test::WriteFileBytes(path, "precious");
    // A folder in the way of the temporary file makes the build fail.
    std::filesystem::create_directory(path + ".new");
    test::WriteFileBytes(path + ".new/x", "x");
    try {
        CreateNewLeagueFile(path, 0, 0, program.Db(), 0, 0);
        FAIL();
    } catch (const ScorewellError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::ReadFileBytes(path), "precious");

    try {
        CreateNewLeagueFile(dir.File("no/such/folder/x.slf"), 0, 0, program.Db(), 0, 0);
        FAIL();
    } catch (const ScorewellError& e) {
        EXPECT_NE(std::string(e.what()).find("does not exist"), std::string::npos) << e.what();
    }
}

TEST_F(LeagueFileActionsTest, SameFileFollowsTheFileSystem) {
    CreateNewLeagueFile(path, 0, 0, program.Db(), 0, 0);
    EXPECT_TRUE(IsSameFile(path, dir.Path() + "/./cup.slf"));
    EXPECT_FALSE(IsSameFile(path, dir.File("other.slf")));
    EXPECT_TRUE(IsSameFile(dir.File("A.slf"), dir.File("a.SLF"))); // neither exists
}

TEST_F(LeagueFileActionsTest, PropertiesAreStoredAndTakenIntoTheWorkingSettings) {
    CreateNewLeagueFile(path, 0, 0, program.Db(), 0, 0);
    {
        League league(program, path);
        SaveLeagueProperties(league, 7, 1);
        EXPECT_EQ(league.Settings().droppedRaces, 7);
        EXPECT_EQ(league.Settings().lapReportingMethod, 1);
        league.Close();
    }
    Database db = Database::Open(path);
    EXPECT_EQ(ReadSetting(db, 6), "7");
    EXPECT_EQ(ReadSetting(db, 17), "1");
}

} // namespace
} // namespace scorewell
