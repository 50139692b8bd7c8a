// SQL that travels inside league files and program databases (bonus conditions, rank criteria,
// report queries) may read the league and score its own results, nothing more. A hostile one is
// refused with a message naming it and the rule it broke, and leaves the league as it was; the
// shipped ones all run. Names are always bound, never spliced into a statement.

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "LeagueCheck.h"
#include "common/Paths.h"
#include "common/Platform.h"
#include "common/Text.h"
#include "data/ConfinedSql.h"
#include "data/Drivers.h"
#include "data/League.h"
#include "data/Program.h"
#include "reports/ReportEngine.h"
#include "scoring/Scoring.h"
#include "support/CliFixture.h"
#include "support/Golden.h"

namespace scorewell {
namespace {

using namespace std::chrono_literals;

enum class Kind { Bonus, Rank, Report };

// Each tries one thing that SQL kept as data must not do. The refusals, which name the rule and
// the rule it broke, are in the golden file reliability/hostile-sql.txt.
const std::pair<Kind, std::vector<const char*>> kHostile[] = {
    {Kind::Report,
     {// Another database, attached or read.
      "ATTACH DATABASE 'stolen.db' AS stolen", "DETACH DATABASE main",
      "SELECT name AS x FROM temp.sqlite_temp_master",
      // PRAGMA, as a statement or a table-valued function; the engine's catalogue.
      "PRAGMA writable_schema=ON", "PRAGMA foreign_keys=OFF",
      "SELECT name AS x FROM pragma_table_info('Stats')", "SELECT sql AS x FROM sqlite_schema",
      // Schema changes.
      "CREATE TABLE Evil (x)", "CREATE TEMP TABLE Evil (x)", "DROP TABLE Stats",
      "ALTER TABLE Driver ADD COLUMN Evil", "ALTER TABLE Driver RENAME TO Evil",
      "DROP INDEX RaceStats", "CREATE VIEW Evil AS SELECT 1",
      "CREATE TRIGGER Evil AFTER INSERT ON Stats BEGIN DELETE FROM Driver; END", "REINDEX",
      "ANALYZE",
      // Writes beyond what the rule may write; a second statement; transactions; loading code.
      "DELETE FROM Stats", "UPDATE Stats SET Points=1000",
      "INSERT INTO Driver (Name) VALUES ('Intruder')",
      "REPLACE INTO Driver (DriverID, Name) VALUES (1, 'Intruder')",
      "UPDATE Driver SET Name='Intruder' RETURNING Name", "VACUUM INTO 'stolen.db'",
      "SELECT 1; DELETE FROM Driver", "SELECT 1;\nDROP TABLE Stats", "COMMIT", "SAVEPOINT evil",
      "SELECT load_extension('/tmp/evil.so') AS x"}},
    {Kind::Bonus,
     {"1); ATTACH DATABASE 'stolen.db' AS stolen; --",
      "Finish IN (SELECT cid FROM pragma_table_info('Stats'))",
      "(SELECT Count(*) FROM sqlite_master) > 0", "1=1) OR (1=1", "LapsLed > 0)) OR ((1",
      "1); DELETE FROM Driver; --", "LapsLed > 0; DELETE FROM Driver",
      "load_extension('/tmp/evil.so') IS NULL"}},
    {Kind::Rank,
     {"(SELECT Count(*) FROM pragma_database_list)", "LapsRun DESC; DELETE FROM Driver"}},
};

// Queries that would run for ever, as each kind of SQL: stopped by a short time limit.
const char* const kEndless = "(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c) "
                             "SELECT Count(*) FROM c)";

// Rules a league administrator may well write: quotes, parentheses in texts, comments, the race
// marker.
const char* const kLegitimateRules[] = {
    "(Finish <= 3) AND ('(top three' <> ')')",
    "/* top three */ Finish <= 3",
    "LapsLed = (SELECT Max(LapsLed) FROM STNStats WHERE STNRaceID=<RACEID>)",
    "\"Start\" = 1 AND [Finish] = 1",
    "DriverID IN (SELECT DriverID FROM Driver WHERE Rookie=TRUE)",
};

class ConfinedSqlTest : public test::CliFixture {
protected:
    std::string path = dir.File("cup.slf");
    std::unique_ptr<Program> program;
    std::unique_ptr<League> league;

    void SetUp() override {
        MakeDemoLeague(path, 2);
        program = std::make_unique<Program>(prog);
        league = std::make_unique<League>(*program, path);
        Db().Execute("UPDATE Settings SET SettingValue='True' WHERE SettingsID=14");
        Db().Execute("UPDATE Driver SET Rookie=TRUE WHERE DriverID IN (1, 2)");
        league->LoadWorkingSettings();
        // A staged race too, for the rank criteria, which order the staged results.
        Db().Execute("INSERT INTO STNRace (Name, FileName, Length, Laps) "
                     "VALUES ('Staged', 'staged.stn', 1.5, 100)");
        Db().Execute("INSERT INTO STNStats (STNRaceID, Finish, Start, DriverName, LapsRun, "
                     "LapsLed, Points, Qualifying, Bonus) "
                     "SELECT ?, Finish, Start, 'D' || DriverID, LapsRun, LapsLed, Points, "
                     "Qualifying, 0 FROM Stats WHERE RaceID=1",
                     {Value(Db().LastInsertRowId())});
    }

    Database& Db() { return league->Db(); }

    // Everything the statements could reach: content, schema and attached databases.
    std::string State() {
        std::string state;
        for (const char* sql :
             {"SELECT group_concat(StatsID || ':' || Points || ':' || Bonus || ':' || Finish) "
              "FROM Stats",
              "SELECT group_concat(STNStatsID || ':' || Points || ':' || Bonus) FROM STNStats",
              "SELECT group_concat(DriverID || ':' || Name || ':' || Exclude) FROM Driver",
              "SELECT group_concat(type || ':' || name) FROM sqlite_schema",
              "SELECT Count(*) FROM pragma_database_list", "PRAGMA foreign_keys",
              "PRAGMA writable_schema"}) {
            state += Db().Scalar(sql).AsText() + "\n";
        }
        return state;
    }

    // Runs the text the way the program runs SQL of its kind; the refusal message, or nothing.
    std::optional<std::string> Run(Kind kind, const std::string& text,
                                   std::chrono::milliseconds limit) {
        try {
            switch (kind) {
            case Kind::Bonus: {
                Db().Execute("DELETE FROM Bonus");
                Db().Execute("INSERT INTO Bonus (Name, Points, Query) VALUES ('Evil', 5, ?)",
                             {Value(text)});
                if (limit >= kConfinedTimeLimit) {
                    RecalculateRace(*league, 1, false);
                } else {
                    // As the scoring builds it, with a short time limit.
                    RunBonusRule(Db(), "The bonus rule \"Evil\"",
                                 "UPDATE Stats SET Bonus=Bonus+5, Points=Points+5 WHERE "
                                 "(RaceID=1) AND (" +
                                     text + ")",
                                 "Stats", limit);
                }
                break;
            }
            case Kind::Rank:
                RunConfinedQuery(Db(), "The rank criterion \"Evil\"",
                                 "SELECT STNStatsID FROM STNStats ORDER BY " + text + ", " +
                                     "STNStatsID",
                                 limit);
                break;
            case Kind::Report: {
                ReportDefinition report;
                report.name = "Evil";
                report.query = text;
                report.columns.push_back(ReportColumn{});
                report.columns.back().field = "x";
                RunReport(Db(), report, ".", limit);
                break;
            }
            }
        } catch (const ScorewellError& e) {
            return e.what();
        }
        return std::nullopt;
    }
};

TEST_F(ConfinedSqlTest, HostileSqlIsRefusedNamingTheRuleAndChangesNothing) {
    const std::string before = State();
    int blocked = 0;
    int tried = 0;
    std::string refusals;
    auto refuse = [&](Kind kind, const std::string& text, std::chrono::milliseconds limit) {
        SCOPED_TRACE(text);
        const auto refusal = Run(kind, text, limit);
        refusals += text + "\n  " + refusal.value_or("NOT REFUSED") + "\n";
        EXPECT_FALSE(Db().InTransaction());
        EXPECT_EQ(State(), before);
        blocked += refusal.has_value();
        ++tried;
    };
    for (const auto& [kind, texts] : kHostile) {
        for (const char* text : texts) {
            refuse(kind, text, kConfinedTimeLimit);
        }
    }
    refuse(Kind::Report, std::string("SELECT ") + kEndless + " AS x", 300ms);
    refuse(Kind::Bonus, kEndless + std::string(" > 0"), 300ms);
    refuse(Kind::Rank, kEndless, 300ms);
    test::ExpectGolden("reliability/hostile-sql.txt", refusals);
    EXPECT_FALSE(FileExists(dir.File("stolen.db")));
    EXPECT_FALSE(FileExists("stolen.db"));
    std::cout << "malicious SQL blocked " << blocked << "/" << tried << "\n";
}

TEST_F(ConfinedSqlTest, TheShippedAndEverydaySqlRuns) {
    int accepted = 0;
    int tried = 0;
    auto accept = [&](Kind kind, const std::string& text) {
        ++tried;
        SCOPED_TRACE(text);
        const auto refusal = Run(kind, text, kConfinedTimeLimit);
        EXPECT_FALSE(refusal) << *refusal;
        accepted += !refusal;
    };
    // The bonus rules and rank criteria every new league gets, one by one.
    const ResultSet rules = program->Db().QueryAll("SELECT Query FROM Bonus ORDER BY BonusID");
    ASSERT_FALSE(rules.rows.empty());
    for (const auto& rule : rules.rows) {
        accept(Kind::Bonus, rule[0].AsText());
    }
    for (const char* rule : kLegitimateRules) {
        accept(Kind::Bonus, rule);
    }
    const ResultSet criteria =
        program->Db().QueryAll("SELECT Query FROM RankCriteria ORDER BY Priority");
    ASSERT_FALSE(criteria.rows.empty());
    std::string all;
    for (const auto& criterion : criteria.rows) {
        accept(Kind::Rank, criterion[0].AsText());
        all += (all.empty() ? "" : ", ") + criterion[0].AsText();
    }
    accept(Kind::Rank, all);

    // All the shipped rules at once score as the built-in bonuses do: 5 for a lap led, 5 more
    // for the most.
    Db().Execute("DELETE FROM Bonus");
    Db().Execute("ATTACH DATABASE ? AS prog", {Value(program->Db().Path())});
    Db().Execute("INSERT INTO main.Bonus SELECT * FROM prog.Bonus");
    Db().Execute("DETACH DATABASE prog");
    RecalculateRace(*league, 1, false);
    EXPECT_EQ(
        Db().Scalar("SELECT Sum(Bonus) FROM Stats WHERE RaceID=1").AsInteger(),
        Db().Scalar("SELECT 5 * Count(*) FROM Stats WHERE RaceID=1 AND LapsLed > 0").AsInteger() +
            5);

    // Every shipped report, with rows.
    for (const ReportInfo& info : ListReports(program->Db())) {
        ++tried;
        SCOPED_TRACE(info.name);
        try {
            const ReportTable table =
                RunReport(Db(), LoadReportDefinition(program->Db(), info.id), ".");
            EXPECT_FALSE(table.texts.empty());
            ++accepted;
        } catch (const ScorewellError& e) {
            ADD_FAILURE() << e.what();
        }
    }
    std::cout << "legitimate SQL accepted " << accepted << "/" << tried << "\n";
}

TEST_F(ConfinedSqlTest, NamesAreStoredAsTypedWhateverTheyHold) {
    const std::string names[] = {"Robert'); DROP TABLE Stats;--", "x\" OR \"1\"=\"1",
                                 "'; ATTACH DATABASE 'stolen.db' AS s; --", "%_\\ LIKE me"};
    for (const std::string& name : names) {
        const std::int32_t id = GetDriverID(Db(), name);
        EXPECT_EQ(Db().Scalar("SELECT Name FROM Driver WHERE DriverID=?", {Value(id)}).AsText(),
                  name);
        EXPECT_EQ(FindDriversByName(Db(), name), std::vector<std::int32_t>{id});
    }
    EXPECT_TRUE(Db().TableExists("Stats"));
    league->Close();

    // Through the command line too: the drivers listed as stored (the backslash as it is, as in
    // every listed value without a control character), excluded by name.
    const auto excluded = Cli({"exclude", path, names[0], names[2]});
    EXPECT_EQ(excluded.exitCode, 0) << excluded.err;
    const auto drivers = Cli({"drivers", path});
    for (const std::string& name : names) {
        EXPECT_NE(drivers.out.find("\t" + TabSeparatedValue(name) + "\t"), std::string::npos)
            << name;
    }
    EXPECT_NE(drivers.out.find(names[0] + "\tYes"), std::string::npos);
    EXPECT_NE(drivers.out.find("\t%_\\ LIKE me\tNo"), std::string::npos);
    EXPECT_EQ(test::LeagueProblems(path), "");
    Database db = Database::Open(path);
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Stats").AsInteger(), 40);
}

} // namespace
} // namespace scorewell
