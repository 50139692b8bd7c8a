// The reports shipped in the program database, run on a small hand-made league; their rows are
// compared with tests/fixtures/reports/shipped-reports.txt, whose figures were checked by hand.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "data/Database.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
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

    // Four races, one of them not run yet, and one worst result dropped per driver. bob and Fay
    // are rookies; bob's lower-case name must still sort among the others. Carl is excluded
    // though his results are still stored; Ed has no result at all.
    void FillLeague() {
        const char* driver = "INSERT INTO Driver (DriverID, Name, Exclude, Rookie) "
                             "VALUES (?, ?, ?, ?)";
        league_.Execute(driver, {1, "Alan Ash", 0, 0});
        league_.Execute(driver, {2, "bob Burns", 0, 1});
        league_.Execute(driver, {3, "Carl Cole", 1, 0});
        league_.Execute(driver, {4, "Dan Drew", 0, 0});
        league_.Execute(driver, {5, "Ed Eby", 0, 0});
        league_.Execute(driver, {6, "Fay Fox", 0, 1});

        const char* race = "INSERT INTO Race (RaceID, Name, FileName, Length, Laps) "
                           "VALUES (?, ?, ?, ?, ?)";
        league_.Execute(race, {1, "Daytona 500", "day.txt", 2.5, 200});
        league_.Execute(race, {2, nullptr, "race2.txt", 1.5, 100});
        league_.Execute(race, {3, "Bristol", "bri.txt", 0.533, 500});
        league_.Execute(race, {4, "Talladega", "tal.txt", 2.66, 188});

        const char* result = "INSERT INTO Stats (RaceID, DriverID, Start, Finish, LapsRun, "
                             "LapsLed, Status, Points, Bonus, PrizeMoney, Qualifying, Dropped) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
        auto add = [&](int raceId, int driverId, int start, int finish, int lapsRun, int lapsLed,
                       Value status, int points, int bonus, Value prize, double qualifying,
                       int dropped) {
            league_.Execute(result, {raceId, driverId, start, finish, lapsRun, lapsLed, status,
                                     points, bonus, prize, qualifying, dropped});
        };
        // The excluded driver takes pole, the win and the most laps led.
        add(1, 3, 1, 1, 200, 120, "Running", 185, 10, 5000, 191.5, 0);
        add(1, 1, 2, 2, 200, 60, "Running", 180, 10, 3000, 190.25, 0);
        add(1, 2, 3, 3, 200, 20, "running", 170, 5, 2000, 189.0, 1);
        add(1, 4, 4, 4, 150, 0, "Engine", 160, 0, 1000, 188.5, 0);
        add(1, 6, 5, 5, 199, 0, nullptr, 155, 0, nullptr, 187.0, 0);
        // Alan and bob lead 40 laps each; bob finishes ahead. Dan's start is not known.
        add(2, 1, 1, 2, 100, 40, "Running", 180, 10, 2500, 150.0, 0);
        add(2, 2, 2, 1, 100, 40, "Running", 185, 10, 4000, 149.5, 0);
        add(2, 4, 0, 3, 100, 20, "Running", 170, 5, 1500, 0.0, 0);
        add(2, 6, 3, 4, 98, 0, "Accident", 160, 0, nullptr, 148.0, 1);
        add(3, 4, 1, 1, 500, 300, "Running", 185, 10, 3000, 125.5, 0);
        add(3, 2, 2, 2, 500, 200, "Running", 175, 5, 2000, 124.9, 0);
        add(3, 1, 3, 3, 500, 0, "Running", 165, 0, 1000, 124.0, 1);
        add(3, 6, 4, 4, 12, 0, "Engine", 160, 0, nullptr, 123.0, 0);
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
