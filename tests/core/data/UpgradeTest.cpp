#include <gtest/gtest.h>

#include "data/LeagueFile.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

std::string Schema(Database& db) {
    std::string all;
    for (Cursor c = db.Query("SELECT name, sql FROM sqlite_schema WHERE sql IS NOT NULL "
                             "ORDER BY name");
         !c.AtEnd(); c.MoveNext()) {
        all += c.Field(1).AsText() + "\n";
    }
    return all;
}

class UpgradeTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.Path()};

    // The oldest layout (car numbers on drivers and staged results, none of the later fields),
    // with one result.
    Database OldestLayout() {
        Database db = Database::Create(dir.File("old.slf"));
        const std::string sql =
            test::ReadFileBytes(std::string(SCOREWELL_FIXTURES_DIR) + "/oldest-layout.sql");
        for (std::size_t from = 0, end; (end = sql.find(";\n", from)) != std::string::npos;
             from = end + 2) {
            db.Execute(sql.substr(from, end - from));
        }
        return db;
    }
};

TEST_F(UpgradeTest, TheOldestLayoutIsBroughtUpToDateKeepingItsData) {
    Database db = OldestLayout();
    program.Db().Execute("ALTER TABLE ReportField DROP COLUMN Hidden");
    UpgradeLeagueFile(db, program.Db());

    EXPECT_FALSE(db.FieldExists("Driver", "CarNumber"));
    EXPECT_FALSE(db.FieldExists("STNStats", "DriverNum"));
    EXPECT_TRUE(db.FieldExists("Race", "LeadChanges"));
    EXPECT_EQ(db.DeclaredSize("Race", "Weather"), 50);
    EXPECT_EQ(db.DeclaredSize("STNRace", "Weather"), 50);
    EXPECT_FALSE(db.FieldExists("Race", "Weather2"));
    EXPECT_TRUE(program.Db().FieldExists("ReportField", "Hidden"));

    EXPECT_EQ(db.Scalar("SELECT Name || Handicap || Points || Dropped FROM Driver "
                        "JOIN Stats")
                  .AsText(),
              "Ann Able01800");
    // Names get their key, under a unique index.
    EXPECT_EQ(db.Scalar("SELECT NameKey FROM Driver").AsText(), "ann able");
    EXPECT_THROW(db.Execute("INSERT INTO Driver (Name, NameKey) VALUES ('ANN ABLE', 'ann able')"),
                 DbError);
    // The new text fields refuse what the layout refuses.
    EXPECT_THROW(db.Execute("UPDATE Race SET Weather=''"), DbError);
    EXPECT_THROW(db.Execute("UPDATE Race SET Weather=?", {Value(std::string(51, 'w'))}), DbError);
    db.Execute("UPDATE Race SET Weather=?", {Value(std::string(50, 'w'))});

    // Running it again changes nothing.
    std::string before = Schema(db);
    UpgradeLeagueFile(db, program.Db());
    EXPECT_EQ(Schema(db), before);
}

TEST_F(UpgradeTest, StepsAreIndependentSoOneFailingStepLeavesItsPartAlone) {
    // Staged races without a weather field: the weather step cannot complete...
    Database db = OldestLayout();
    db.Execute("ALTER TABLE STNRace DROP COLUMN Weather");
    UpgradeLeagueFile(db, program.Db());
    // ...so its part stays exactly as it was,
    EXPECT_EQ(db.DeclaredSize("Race", "Weather"), 20);
    EXPECT_FALSE(db.FieldExists("Race", "Weather2"));
    // while every other step ran.
    EXPECT_TRUE(db.FieldExists("Stats", "AvgSpeed"));
    EXPECT_FALSE(db.FieldExists("Driver", "CarNumber"));
}

TEST_F(UpgradeTest, AMissingStagingAreaIsCreatedWithTheDefaultRulesEvenWithRaces) {
    Database db = OldestLayout();
    db.Execute("DROP TABLE STNStats");
    db.Execute("DROP TABLE STNRace");
    UpgradeLeagueFile(db, program.Db());
    EXPECT_TRUE(db.TableExists("STNStats"));
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Bonus").AsInteger(), 5);
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM PointSystem").AsInteger(), 43);
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Race").AsInteger(), 1);
    // The car-number step ran after the staging tables were made, without the old index.
    EXPECT_FALSE(db.FieldExists("Driver", "CarNumber"));
}

TEST_F(UpgradeTest, ACurrentFileChangesOnlyInItsWeatherFields) {
    CreateLeagueFile(dir.File("new.slf"), 0, 0, program.Db(), 0, 0);
    Database db = Database::Open(dir.File("new.slf"));
    std::string before = Schema(db);
    UpgradeLeagueFile(db, program.Db());
    EXPECT_EQ(db.DeclaredSize("STNRace", "Weather"), 50);
    EXPECT_EQ(db.Fields("Race").size(), 11u);
    // Every other table is exactly as it was created.
    for (const char* t : {"Driver", "Stats", "Settings", "STNStats", "PointSystem", "Bonus"}) {
        std::string sql = "SELECT sql FROM sqlite_schema WHERE name='" + std::string(t) + "'";
        EXPECT_NE(before.find(db.Scalar(sql).AsText()), std::string::npos) << t;
    }
}

TEST_F(UpgradeTest, MissingSettingsMakeAnOnlineLeagueWithPresetScoring) {
    Database db = OldestLayout();
    db.Execute("INSERT INTO Settings VALUES (13, 'Use Custom Point System', '1')");
    AddMissingSettings(db);
    EXPECT_EQ(db.Scalar("SELECT group_concat(SettingsID || SettingName || SettingValue, '|') "
                        "FROM Settings WHERE SettingsID > 5")
                  .AsText(),
              "12League Type0|13Use Custom Point System1|14Use Custom Bonus System0");
}

} // namespace
} // namespace scorewell
