// SQL that travels inside league files and program databases (bonus conditions, rank criteria,
// report queries) may read the league and score its own results, nothing more. A hostile one is
// refused with a message naming it and the rule it broke, and leaves the league as it was; the
// shipped ones all run. Names are always bound, never spliced into a statement.

#include <gtest/gtest.h>

#include <iostream>

#include "common/Paths.h"
#include "data/ConfinedSql.h"
#include "data/League.h"
#include "data/Program.h"
#include "reports/ReportEngine.h"
#include "scoring/Scoring.h"
#include "support/CliFixture.h"
#include "support/Golden.h"

namespace scorewell {
namespace {

using namespace std::chrono_literals;

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

    // Runs the text the way the program runs SQL of its kind ("report", "bonus" rule condition or
    // "rank" criterion), within the time limit; the refusal message, or "runs".
    std::string Run(const std::string& kind, const std::string& text,
                    std::chrono::milliseconds limit = kConfinedTimeLimit) {
        try {
            if (kind == "bonus") {
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
            } else if (kind == "rank") {
                RunConfinedQuery(Db(), "The rank criterion \"Evil\"",
                                 "SELECT STNStatsID FROM STNStats ORDER BY " + text + ", " +
                                     "STNStatsID",
                                 limit);
            } else {
                EXPECT_EQ(kind, "report");
                ReportDefinition report;
                report.name = "Evil";
                report.query = text;
                report.columns.push_back(ReportColumn{});
                report.columns.back().field = "x";
                RunReport(Db(), report, ".", limit);
            }
        } catch (const ScorewellError& e) {
            return e.what();
        }
        return "runs";
    }
};

// The cases of reliability/confined-sql.txt, hostile and everyday, then the SQL every new league
// and program database gets.
TEST_F(ConfinedSqlTest, HostileSqlIsRefusedNamingTheRuleAndChangesNothingEverydaySqlRuns) {
    int blocked = 0, hostile = 0, accepted = 0, tried = 0;
    const auto cases = test::ReadFixtureCases("reliability/confined-sql.txt");
    ASSERT_GT(cases.size(), 40u);
    for (const auto& [input, expected] : cases) {
        SCOPED_TRACE(input);
        // "KIND: TEXT" or "KIND in 300 ms: TEXT".
        const std::size_t colon = input.find(": ");
        const bool shortLimit = input.substr(0, colon).ends_with(" in 300 ms");
        const std::string before = State();
        const std::string outcome =
            Run(input.substr(0, input.find_first_of(" :")), input.substr(colon + 2),
                shortLimit ? 300ms : kConfinedTimeLimit);
        EXPECT_EQ(outcome, expected);
        EXPECT_FALSE(Db().InTransaction());
        if (expected == "runs") {
            ++tried;
            accepted += outcome == "runs";
        } else {
            ++hostile;
            blocked += outcome != "runs";
            EXPECT_EQ(State(), before);
        }
    }
    EXPECT_FALSE(FileExists(dir.File("stolen.db")));
    EXPECT_FALSE(FileExists("stolen.db"));
    std::cout << "malicious SQL blocked " << blocked << "/" << hostile << "\n";

    auto accept = [&](const std::string& kind, const std::string& text) {
        ++tried;
        SCOPED_TRACE(text);
        const std::string outcome = Run(kind, text);
        EXPECT_EQ(outcome, "runs");
        accepted += outcome == "runs";
    };
    // The bonus rules and rank criteria every new league gets, one by one.
    const ResultSet rules = program->Db().QueryAll("SELECT Query FROM Bonus ORDER BY BonusID");
    ASSERT_FALSE(rules.rows.empty());
    for (const auto& rule : rules.rows) {
        accept("bonus", rule[0].AsText());
    }
    const ResultSet criteria =
        program->Db().QueryAll("SELECT Query FROM RankCriteria ORDER BY Priority");
    ASSERT_FALSE(criteria.rows.empty());
    std::string all;
    for (const auto& criterion : criteria.rows) {
        accept("rank", criterion[0].AsText());
        all += (all.empty() ? "" : ", ") + criterion[0].AsText();
    }
    accept("rank", all);

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

    // Every shipped report runs too, under the same confinement: its rows are in the golden
    // reports/shipped-reports.txt (tests/core/reports) and PublishedPagesTest publishes each.
    std::cout << "legitimate SQL accepted " << accepted << "/" << tried << "\n";
}

// Names that look like SQL are stored, listed and found by name as typed:
// tests/fixtures/cli/refusals.txt; those a race final brings, in PublishedPagesTest.

} // namespace
} // namespace scorewell
