#include <gtest/gtest.h>

#include <filesystem>

#include "common/Errors.h"
#include "common/Paths.h"
#include "core/LeagueFixture.h"
#include "data/LeagueFileActions.h"
#include "support/Checks.h"

namespace scorewell {
namespace {

using LeagueFileActionsTest = test::LeagueFixture;

TEST_F(LeagueFileActionsTest, ALeagueIsInUseWhileAProgramHasItOpen) {
    CreateNewLeagueFile(path, 0, 0, program->Db(), 0, 0);
    EXPECT_FALSE(DatabaseFileInUse(dir.File("missing.slf")));
    test::WriteFileBytes(dir.File("text.slf"), "not a database at all, just some text");
    EXPECT_FALSE(DatabaseFileInUse(dir.File("text.slf")));
    for (LeagueAccess access : {LeagueAccess::Change, LeagueAccess::Read}) {
        league = std::make_unique<League>(*program, path, access);
        EXPECT_TRUE(DatabaseFileInUse(path));
        league->Close();
        EXPECT_FALSE(DatabaseFileInUse(path));
    }
    EXPECT_TRUE(IsSameFile(path, dir.Path() + "/./cup.slf"));
    EXPECT_TRUE(IsSameFile(dir.File("A.slf"), dir.File("a.SLF"))); // neither exists
}

TEST_F(LeagueFileActionsTest, ANewLeagueReplacesAnOldFileWholeOrLeavesItAsItWas) {
    test::WriteFileBytes(path, "precious");
    // A folder in the way of the temporary file makes the build fail.
    std::filesystem::create_directory(path + ".new");
    test::WriteFileBytes(path + ".new/x", "x");
    EXPECT_TRUE(test::Has(
        test::ErrorOf([&] { CreateNewLeagueFile(path, 0, 0, program->Db(), 0, 0); }), path));
    EXPECT_EQ(test::ReadFileBytes(path), "precious");
    EXPECT_THROW(CreateNewLeagueFile(dir.File("no/such/x.slf"), 0, 0, program->Db(), 0, 0),
                 ScorewellError);

    std::filesystem::remove_all(path + ".new");
    test::WriteFileBytes(path + "-journal", "a journal of the old file");
    CreateNewLeagueFile(path, 3, 1, program->Db(), 4, 1);
    EXPECT_FALSE(FileExists(path + ".new"));
    EXPECT_FALSE(FileExists(path + "-journal"));
    // Saving the properties is run through the league properties window.
    league = std::make_unique<League>(*program, path);
    EXPECT_EQ(league->Settings().simTitle, Simulation::NascarRacing4);
}

} // namespace
} // namespace scorewell
