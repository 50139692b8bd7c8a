#include <gtest/gtest.h>

#include "common/Errors.h"
#include "common/Paths.h"
#include "core/LeagueFixture.h"
#include "data/LeagueFileActions.h"
#include "editing/Adjustments.h"
#include "reports/ReportEngine.h"
#include "support/Checks.h"
#include "support/Golden.h"
#include <filesystem>

namespace scorewell {
namespace {

class LeagueFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.Path()};
    std::string path = dir.File("cup.slf");
};

// The tables, their fields, checks, keys and indexes, and the nine settings of a new league,
// against the reviewed layout in tests/fixtures/golden/league-file.txt.
TEST_F(LeagueFileTest, BuildsTheLayoutAndWritesTheNineSettingsAndCopiesTheDefaults) {
    CreateLeagueFile(path, 2, 1, program.Db(), 3, 1);
    Database db = Database::Open(path);
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

    // The checks, keys and cascades themselves stand in the golden layout; what they mean for
    // values it does not show: numbers given as text, and Null in a Yes/No field.
    db.Execute("INSERT INTO Race (Name, Length, Laps) VALUES ('R', '2.5', '200')");
    EXPECT_EQ(db.Scalar("SELECT typeof(Length) || typeof(Laps) FROM Race").AsText(), "realinteger");
    EXPECT_THROW(db.Execute("INSERT INTO Race (Name, Laps) VALUES ('R', 'many')"), DbError);
    db.Execute("INSERT INTO Driver (Name, Rookie) VALUES ('N', NULL), ('n', 0)");
    EXPECT_EQ(db.Scalar("SELECT Sum(Rookie) FROM Driver WHERE Name='n'").AsInteger(), 0);

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
    // A dot in a folder name is no extension; the other naming rules are run through the
    // command line's "new".
    EXPECT_EQ(NewLeagueFileName("/data.d/league", "/p"), "/data.d/league.slf");
    // Saving the properties is run through the league properties window.
    league = std::make_unique<League>(*program, path);
    EXPECT_EQ(league->Settings().simTitle, Simulation::NascarRacing4);
}

std::string Schema(Database& db) {
    std::string all;
    for (Cursor c = db.Query("SELECT name, sql FROM sqlite_schema WHERE sql IS NOT NULL "
                             "ORDER BY name");
         !c.AtEnd(); c.MoveNext()) {
        all += c.Field(1).AsText() + "\n";
    }
    return all;
}

using UpgradeTest = LeagueFileTest;

// The oldest layout (car numbers on drivers and staged results, none of the later fields, one
// result), whole and with a part missing, and a current file, brought up to date: each layout and
// what it holds in the golden file. Upgrading again changes nothing.
TEST_F(UpgradeTest, OldLayoutsAreBroughtUpToDateStepByStepKeepingTheirData) {
    program.Db().Execute("ALTER TABLE ReportField DROP COLUMN Hidden");
    const std::pair<const char*, std::vector<const char*>> layouts[] = {
        // Car numbers gone, the later fields added, names keyed under a unique index, and the
        // weather fields widened with the checks of the current layout.
        {"the oldest layout", {}},
        // The weather step cannot complete, so its part (Race.Weather of 20, no Weather2) stays
        // exactly as it was, while every other step runs: the steps are independent.
        {"without the staged races' weather", {"ALTER TABLE STNRace DROP COLUMN Weather"}},
        // A missing staging area is created with the default rules even with races; the
        // car-number step runs after it, without the old index. A setting of the league's own is
        // kept beside the missing ones added with their defaults (an online league with preset
        // scoring).
        {"without staging area",
         {"DROP TABLE STNStats", "DROP TABLE STNRace",
          "INSERT INTO Settings VALUES (13, 'Use Custom Point System', '1')"}},
        // A current file keeps the layout it was created with (that of league-file.txt).
        {"a current file", {}},
    };
    std::string dump;
    for (const auto& [what, changes] : layouts) {
        const std::string file = dir.File(std::string(what) + ".slf");
        if (std::string(what) == "a current file") {
            CreateLeagueFile(file, 0, 0, program.Db(), 0, 0);
        } else {
            Database old = Database::Create(file);
            test::RunSqlFixture(old, "oldest-layout.sql");
        }
        Database db = Database::Open(file);
        for (const char* sql : changes) {
            db.Execute(sql);
        }
        UpgradeLeagueFile(db, program.Db());
        AddMissingSettings(db); // as opening a league does after the upgrade
        const std::string upgraded = Schema(db);
        UpgradeLeagueFile(db, program.Db());
        EXPECT_EQ(Schema(db), upgraded) << what;
        dump += "== " + std::string(what) + "\n" + upgraded +
                db.Scalar("SELECT Name || '|' || Handicap || '|' || Points || '|' || Dropped || "
                          "'|' || NameKey FROM Driver JOIN Stats")
                    .AsText() +
                "\n" +
                db.Scalar("SELECT group_concat(SettingsID || '|' || SettingName || '|' || "
                          "SettingValue, char(10)) FROM Settings")
                    .AsText() +
                "\n";
        for (const char* table : {"Race", "Bonus", "PointSystem"}) {
            if (db.TableExists(table)) {
                dump += table +
                        (": " + db.Scalar(std::string("SELECT Count(*) FROM ") + table).AsText()) +
                        "\n";
            }
        }
    }
    EXPECT_TRUE(program.Db().FieldExists("ReportField", "Hidden"));
    test::ExpectGolden("league-upgrades.txt", dump);
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
        // The columns of every report in their order, in the golden file.
        std::string columns;
        for (const auto& row : db.QueryAll("SELECT ReportID || ' ' || Name || IIF(Hidden, ' "
                                           "(hidden)', '') FROM ReportField ORDER BY ReportID, "
                                           "Sequence")
                                   .rows) {
            columns += row[0].AsText() + "\n";
        }
        test::ExpectGolden("version-1.0-report-columns.txt", columns);
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
