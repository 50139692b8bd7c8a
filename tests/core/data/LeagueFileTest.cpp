#include <gtest/gtest.h>

#include "data/LeagueFile.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "support/Golden.h"
#include "support/TempDir.h"

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

} // namespace
} // namespace scorewell
