// The reports shipped in the program database, run on a small hand-made league; their rows are
// compared with tests/fixtures/golden/reports/shipped-reports.txt, whose figures were checked by
// hand.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/LeagueFixture.h"
#include "data/Database.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "support/Golden.h"
#include "support/TempDir.h"

namespace scorewell {

namespace {

// A value with its type: text quoted, reals with six decimals, Null as NULL.
std::string ShownValue(const Value& value) {
    switch (value.GetType()) {
    case Value::Type::Null:
        return "NULL";
    case Value::Type::Integer:
        return std::to_string(value.AsInteger());
    case Value::Type::Real: {
        char text[64];
        std::snprintf(text, sizeof text, "%.6f", value.AsDouble());
        return text;
    }
    case Value::Type::Text:
        break;
    }
    return '"' + value.Text() + '"';
}

class ReportQueriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateLeagueFile(leaguePath_, 0, 0, program_.Db(), 1, 0);
        league_ = Database::Open(leaguePath_);
    }

    // The columns and rows of each report, one line each, values separated by tabs.
    std::string Shown(std::initializer_list<const char*> reports) {
        std::string shown;
        for (const char* name : reports) {
            const Value query =
                program_.Db().Scalar("SELECT Query FROM Report WHERE Name = ?", {name});
            EXPECT_FALSE(query.IsNull()) << "no report " << name;
            const ResultSet rs = league_.QueryAll(query.AsText());
            shown += std::string("== ") + name + "\n";
            for (std::size_t i = 0; i < rs.columns.size(); ++i) {
                shown += (i ? "\t" : "") + rs.columns[i];
            }
            for (const auto& row : rs.rows) {
                shown += "\n";
                for (std::size_t i = 0; i < row.size(); ++i) {
                    shown += (i ? "\t" : "") + ShownValue(row[i]);
                }
            }
            shown += "\n";
        }
        return shown;
    }
    std::string ShownAll() {
        return Shown({"Point Standings", "Driver Statistics", "Race Winners", "Laps Led",
                      "Prize Money", "Qualifying", "Rookie Standings"});
    }

    test::TempDir dir_;
    Program program_{dir_.Path()};
    std::string leaguePath_ = dir_.File("league.slf");
    Database league_;
};

// That every shipped query is one read-only statement giving the columns its report lists is
// checked by the reliability tests of confined SQL, which run each report.
//
// What the figures show: bob and Alan both keep 360 points and bob's win puts him ahead; dropped
// results and bonuses do not count, but their prize money does; Carl (excluded) and Ed (no
// result) are not listed; an unknown start (0) stays out of the averages; letter case does not
// decide the order of names; a missing status and "running" count as running; race 2 has no name
// and shows its file; a tie on laps led goes to the better finisher; race 4 has no results yet;
// rookies are measured from the leading rookie; qualifying ranks poles, then the average start.
TEST_F(ReportQueriesTest, TheShippedReportsGiveTheFiguresWorkedOutByHand) {
    test::RunSqlFixture(league_, "sql/report-league.sql");
    test::ExpectGolden("reports/shipped-reports.txt", ShownAll());
}

// The adjustments of sql/report-adjustments.sql count in full, even in a dropped race, and their
// sum is shown: bob 365, Alan 360, Dan 355, Fay 315, with intervals 0, 5, 10 and 50, Adj 5 for
// bob and -160 for Dan; the excluded Carl's penalty changes nothing.
TEST_F(ReportQueriesTest, StandingsCountAdjustmentsInFullAndShowTheirSum) {
    test::RunSqlFixture(league_, "sql/report-league.sql");
    test::RunSqlFixture(league_, "sql/report-adjustments.sql");
    test::ExpectGolden("reports/adjusted-standings.txt",
                       Shown({"Point Standings", "Rookie Standings"}));
}

// Each report gives its columns and no row.
TEST_F(ReportQueriesTest, ALeagueWithoutRacesGivesEmptyReports) {
    league_.Execute("INSERT INTO Driver (Name, Rookie) VALUES ('Alan Ash', 1)");
    test::ExpectGolden("reports/no-races.txt", ShownAll());
}

} // namespace
} // namespace scorewell
