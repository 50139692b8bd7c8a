#include <gtest/gtest.h>

#include "common/Errors.h"
#include "common/Paths.h"
#include "core/LeagueFixture.h"
#include "data/LeagueFile.h"
#include "data/LeagueFileActions.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "support/Checks.h"
#include "support/Golden.h"
#include "support/TempDir.h"
#include <filesystem>

namespace scorewell {
namespace {

class LeagueFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.Path()};
    std::string path = dir.File("cup.slf");

    Database Build(int sim = 2, int type = 1, int drop = 3, int lap = 1) {
        CreateLeagueFile(path, sim, type, program.Db(), drop, lap);
        return Database::Open(path);
    }
};

// The tables, their fields, checks, keys and indexes, and the nine settings of a new league,
// against the reviewed layout in tests/fixtures/golden/league-file.txt.
TEST_F(LeagueFileTest, BuildsTheLayoutAndWritesTheNineSettingsAndCopiesTheDefaults) {
    Database db = Build(2, 1, 3, 1);
    std::string layout;
    for (const char* sql : {"SELECT type || ' ' || name || char(10) || sql FROM sqlite_schema "
                            "WHERE sql IS NOT NULL ORDER BY type, name",
                            "SELECT SettingsID || '|' || SettingName || '|' || SettingValue || '|' "
                            "|| typeof(SettingValue) FROM Settings ORDER BY SettingsID"}) {
        for (const auto& row : db.QueryAll(sql).rows) {
            layout += row[0].AsText() + "\n";
        }
    }
    test::ExpectGolden("league-file.txt", layout);

    // The rules are copied from the program database: none there, none here.
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Bonus").AsInteger(), 5);
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM PointSystem WHERE PrizeMoney IS NULL").AsInteger(),
              43);
    EXPECT_THROW(CreateLeagueFile(path, 0, 0, program.Db(), 0, 0), DbError);
    program.Db().Execute("DELETE FROM Bonus");
    CreateLeagueFile(dir.File("bare.slf"), 0, 0, program.Db(), 0, 0);
    EXPECT_EQ(Database::Open(dir.File("bare.slf")).Scalar("SELECT Count(*) FROM Bonus").AsInteger(),
              0);
}

// The checks, keys and cascades themselves stand in the golden layout; what they mean for values
// it does not show: numbers given as text, and Null in a Yes/No field.
TEST_F(LeagueFileTest, TheFileStoresNumbersAsNumbersAndNullAsNo) {
    Database db = Build();
    db.Execute("INSERT INTO Race (Name, Length, Laps) VALUES ('R', '2.5', '200')");
    EXPECT_EQ(db.Scalar("SELECT typeof(Length) || typeof(Laps) FROM Race").AsText(), "realinteger");
    EXPECT_THROW(db.Execute("INSERT INTO Race (Name, Laps) VALUES ('R', 'many')"), DbError);
    db.Execute("INSERT INTO Driver (Name, Rookie) VALUES ('N', NULL), ('n', 0)");
    EXPECT_EQ(db.Scalar("SELECT Sum(Rookie) FROM Driver WHERE Name='n'").AsInteger(), 0);
}

// The other naming rules are run through the command line's "new".
TEST(NewLeagueFileName, ADotInAFolderNameIsNoExtension) {
    EXPECT_EQ(NewLeagueFileName("/data.d/league", "/p"), "/data.d/league.slf");
}

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
