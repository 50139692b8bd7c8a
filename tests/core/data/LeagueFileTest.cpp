#include <gtest/gtest.h>

#include "data/LeagueFile.h"
#include "data/Program.h"
#include "data/Settings.h"
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
// against the reviewed layout in tests/fixtures/league-file.txt.
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

TEST_F(LeagueFileTest, TheFileItselfRefusesWhatTheLayoutRefuses) {
    Database db = Build();
    auto refused = [&](const std::string& sql) {
        try {
            db.Execute(sql);
            return false;
        } catch (const DbError&) {
            return true;
        }
    };
    EXPECT_TRUE(refused("INSERT INTO Driver (Name) VALUES ('')"));
    EXPECT_TRUE(refused("INSERT INTO Driver (Exclude) VALUES (1)")); // Null in a required field
    EXPECT_TRUE(refused("INSERT INTO Driver (Name) VALUES ('" + std::string(51, 'x') + "')"));
    EXPECT_FALSE(refused("INSERT INTO Driver (Name) VALUES ('" + std::string(50, 'x') + "')"));
    EXPECT_TRUE(refused("INSERT INTO STNStats (DriverName) VALUES ('')"));
    EXPECT_TRUE(refused("INSERT INTO Race (Name, Laps) VALUES ('R', 'many')"));
    EXPECT_TRUE(refused("INSERT INTO Race (Name, Laps) VALUES ('R', 40000)"));
    EXPECT_TRUE(refused("INSERT INTO Bonus (Name, Query) VALUES ('B', '')"));
    // Numbers given as text are stored as numbers; Yes/No Null reads back as No.
    EXPECT_FALSE(refused("INSERT INTO Race (Name, Length, Laps) VALUES ('R', '2.5', '200')"));
    EXPECT_EQ(db.Scalar("SELECT typeof(Length) || typeof(Laps) FROM Race").AsText(), "realinteger");
    EXPECT_FALSE(refused("INSERT INTO Driver (Name, Rookie) VALUES ('N', NULL)"));
    EXPECT_EQ(db.Scalar("SELECT Rookie FROM Driver WHERE Name='n'").AsInteger(), 0);
    // Results must name a race and a driver that exist.
    EXPECT_TRUE(refused("INSERT INTO Stats (RaceID, DriverID) VALUES (99, 1)"));
    EXPECT_TRUE(refused("INSERT INTO Stats (RaceID, DriverID, Dropped) VALUES (1, 1, 2)"));
    // Two drivers of the same name are the program's business, not the file's.
    EXPECT_FALSE(refused("INSERT INTO Driver (Name) VALUES ('N')"));
}

TEST_F(LeagueFileTest, DeletingARaceDriverOrStagedRaceTakesItsResultsAlong) {
    Database db = Build();
    db.Execute("INSERT INTO Driver (Name) VALUES ('A'), ('B')");
    db.Execute("INSERT INTO Race (Name) VALUES ('R1'), ('R2')");
    db.Execute("INSERT INTO Stats (RaceID, DriverID) VALUES (1,1), (1,2), (2,1), (2,2)");
    db.Execute("DELETE FROM Race WHERE RaceID=1");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Stats").AsInteger(), 2);
    db.Execute("DELETE FROM Driver WHERE DriverID=2");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Stats").AsInteger(), 1);
    db.Execute("INSERT INTO STNRace (Name) VALUES ('S')");
    db.Execute("INSERT INTO STNStats (STNRaceID, DriverName) VALUES (1, 'A'), (1, 'B')");
    db.Execute("DELETE FROM STNRace");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM STNStats").AsInteger(), 0);
    // Keys keep growing after deletions, so the largest key is always the newest row.
    db.Execute("INSERT INTO Race (Name) VALUES ('R3')");
    EXPECT_EQ(GetMaxID(db, "Race", "RaceID"), 3);
}

// The other naming rules are run through the command line's "new".
TEST(NewLeagueFileName, ADotInAFolderNameIsNoExtension) {
    EXPECT_EQ(NewLeagueFileName("/data.d/league", "/p"), "/data.d/league.slf");
}

} // namespace
} // namespace scorewell
