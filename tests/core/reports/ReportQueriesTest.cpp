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
std::string Shown(const Value& value) {
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

const char* const kReportNames[] = {"Point Standings", "Driver Statistics", "Race Winners",
                                    "Laps Led",        "Prize Money",       "Qualifying",
                                    "Rookie Standings"};

class ReportQueriesTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateLeagueFile(leaguePath_, 0, 0, program_.Db(), 1, 0);
        league_ = Database::Open(leaguePath_);
    }

    std::string QueryOf(std::string_view report) {
        const Value query =
            program_.Db().Scalar("SELECT Query FROM Report WHERE Name = ?", {report});
        EXPECT_FALSE(query.IsNull()) << "no report " << report;
        return query.AsText();
    }

    ResultSet Run(std::string_view report) { return league_.QueryAll(QueryOf(report)); }

    // The league of fixtures/sql/report-league.sql.
    void FillLeague() { test::RunSqlFixture(league_, "sql/report-league.sql"); }

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
    FillLeague();
    std::string shown;
    for (const char* name : kReportNames) {
        const ResultSet rs = Run(name);
        shown += std::string("== ") + name + "\n";
        for (std::size_t i = 0; i < rs.columns.size(); ++i) {
            shown += (i ? "\t" : "") + rs.columns[i];
        }
        for (const auto& row : rs.rows) {
            shown += "\n";
            for (std::size_t i = 0; i < row.size(); ++i) {
                shown += (i ? "\t" : "") + Shown(row[i]);
            }
        }
        shown += "\n";
    }
    test::ExpectGolden("reports/shipped-reports.txt", shown);
}

TEST_F(ReportQueriesTest, StandingsCountAdjustmentsInFullAndShowTheirSum) {
    FillLeague();
    const char* adjust = "INSERT INTO Adjustment (DriverID, RaceID, Points, Reason, Entered) "
                         "VALUES (?, ?, ?, 'Stewards', '2026-12-06')";
    // Dan loses 160; bob gets 10 back for the race he drops and loses 5 for the season; the
    // excluded Carl's penalty changes nothing.
    league_.Execute(adjust, {4, 3, -160});
    league_.Execute(adjust, {2, 1, 10});
    league_.Execute(adjust, {2, nullptr, -5});
    league_.Execute(adjust, {3, nullptr, -100});
    auto column = [&](const ResultSet& rs, std::string_view field) {
        std::string values;
        for (const auto& row : rs.rows) {
            values += (values.empty() ? "" : " ") +
                      Shown(row[static_cast<std::size_t>(rs.ColumnIndex(field))]);
        }
        return values;
    };
    ResultSet rs = Run("Point Standings");
    EXPECT_EQ(column(rs, "Driver"), "\"bob Burns\" \"Alan Ash\" \"Dan Drew\" \"Fay Fox\"");
    EXPECT_EQ(column(rs, "Points"), "365 360 355 315");
    EXPECT_EQ(column(rs, "Interval"), "0 5 10 50");
    EXPECT_EQ(column(rs, "Adj"), "5 NULL -160 NULL");
    rs = Run("Rookie Standings");
    EXPECT_EQ(column(rs, "Points"), "365 315");
    EXPECT_EQ(column(rs, "Adj"), "5 NULL");
}

TEST_F(ReportQueriesTest, ALeagueWithoutRacesGivesEmptyReports) {
    league_.Execute("INSERT INTO Driver (Name, Rookie) VALUES ('Alan Ash', 1)");
    for (const char* name : kReportNames) {
        SCOPED_TRACE(name);
        ResultSet rs;
        EXPECT_NO_THROW(rs = Run(name));
        EXPECT_TRUE(rs.rows.empty());
        EXPECT_FALSE(rs.columns.empty());
    }
}

} // namespace
} // namespace scorewell
