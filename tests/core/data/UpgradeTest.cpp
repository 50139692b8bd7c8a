#include <gtest/gtest.h>

#include <filesystem>

#include "core/LeagueFixture.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "editing/Adjustments.h"
#include "reports/ReportEngine.h"
#include "support/Checks.h"
#include "support/Golden.h"
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
        test::RunSqlFixture(db, "oldest-layout.sql");
        return db;
    }
};

TEST_F(UpgradeTest, TheOldestLayoutIsBroughtUpToDateKeepingItsData) {
    Database db = OldestLayout();
    program.Db().Execute("ALTER TABLE ReportField DROP COLUMN Hidden");
    UpgradeLeagueFile(db, program.Db());

    // Car numbers gone, the later fields added, names keyed under a unique index, and the weather
    // fields widened with the checks of the current layout.
    test::ExpectGolden("league-upgraded.txt", Schema(db));
    EXPECT_TRUE(program.Db().FieldExists("ReportField", "Hidden"));
    EXPECT_EQ(db.Scalar("SELECT Name || Handicap || Points || Dropped || NameKey FROM Driver "
                        "JOIN Stats")
                  .AsText(),
              "Ann Able01800ann able");
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
        EXPECT_TRUE(test::Has(before, db.Scalar(sql).AsText())) << t;
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

// A league and a program database of version 1.0, as their user left them: they gain the
// adjustments and the new report queries, and keep the user's column choices and report.
TEST(UpgradeFromVersion1, TheLeagueAndTheProgramDatabaseGainAdjustmentsKeepingTheUsersChoices) {
    const std::string fixtures = std::string(SCOREWELL_FIXTURES_DIR) + "/version-1.0/";
    test::TempDir dir;
    std::filesystem::create_directories(dir.File("prog"));
    std::filesystem::copy_file(fixtures + "Tabulon.dat", dir.File("prog/Tabulon.dat"));
    std::filesystem::copy_file(fixtures + "league.slf", dir.File("league.slf"));
    test::TempDir shippedDir;
    Program shipped(shippedDir.Path());

    {
        Program program(dir.File("prog"));
        Database& db = program.Db();
        auto columns = [&](int report) {
            return db
                .Scalar("SELECT group_concat(Name || IIF(Hidden, '-', '+'), ' ') FROM "
                        "(SELECT * FROM ReportField WHERE ReportID=? ORDER BY Sequence)",
                        {report})
                .AsText();
        };
        EXPECT_EQ(columns(1), "Driver+ Wins+ Points+ Interval- Starts+ Top 5+ Top 10+ Poles+ "
                              "Laps Led+ Bonus+ Avg Start+ Avg Finish+ Winnings+ Adj.-");
        EXPECT_EQ(columns(6), "Driver+ Points+ Interval+ Starts+ Wins+ Top 5+ Top 10+ Poles+ "
                              "Laps Led- Bonus+ Avg Start+ Avg Finish+ Winnings- Adj.-");
        EXPECT_EQ(columns(8), "Driver+ Starts+");
        for (int report = 1; report <= 7; ++report) {
            const std::string sql =
                "SELECT Query FROM Report WHERE ReportID=" + std::to_string(report);
            EXPECT_EQ(db.Scalar(sql).AsText(), shipped.Db().Scalar(sql).AsText()) << report;
        }
        EXPECT_EQ(db.Scalar("PRAGMA user_version").AsInteger(),
                  shipped.Db().Scalar("PRAGMA user_version").AsInteger());

        League league(program, dir.File("league.slf"));
        EXPECT_EQ(MissingLayoutField(league.Db()), std::nullopt);
        AddAdjustment(league.Db(), {"Amos Whitlock", 2, "-25", "Wreck"});
        const ReportTable rookies = RunReport(league.Db(), LoadReportDefinition(db, 6), ".");
        EXPECT_EQ(rookies.RowCount(), 2u);
        const ReportTable table = RunReport(league.Db(), LoadReportDefinition(db, 1), ".");
        ASSERT_GT(table.RowCount(), 0u);
        league.Close();
    }
    // Brought up to date once: opened again, the program database is not written.
    const std::string before = test::ReadFileBytes(dir.File("prog/Tabulon.dat"));
    Program again(dir.File("prog"));
    EXPECT_EQ(test::ReadFileBytes(dir.File("prog/Tabulon.dat")), before);
}

} // namespace
} // namespace scorewell
