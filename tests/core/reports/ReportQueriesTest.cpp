// The reports shipped in the program database, run on a small hand-made league whose figures are
// worked out by hand below.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "data/Database.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "support/TempDir.h"

namespace scorewell {

static void PrintTo(const Value& value, std::ostream* os) {
    switch (value.GetType()) {
    case Value::Type::Null:
        *os << "Null";
        break;
    case Value::Type::Integer:
        *os << value.AsInteger();
        break;
    case Value::Type::Real:
        *os << value.AsDouble() << " (real)";
        break;
    case Value::Type::Text:
        *os << '"' << value.Text() << '"';
        break;
    }
}

namespace {

using Values = std::vector<Value>;

// The values of one result column, top to bottom.
Values Column(const ResultSet& rs, std::string_view field) {
    const int index = rs.ColumnIndex(field);
    if (index < 0) {
        ADD_FAILURE() << "no result column " << field;
        return {};
    }
    Values values;
    for (const auto& row : rs.rows) {
        values.push_back(row[static_cast<std::size_t>(index)]);
    }
    return values;
}

// Averages come back as reals; Null where there is nothing to average.
void ExpectReals(const ResultSet& rs, std::string_view field,
                 const std::vector<std::optional<double>>& want) {
    const Values got = Column(rs, field);
    ASSERT_EQ(got.size(), want.size()) << field;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (!want[i]) {
            EXPECT_TRUE(got[i].IsNull()) << field << " row " << i + 1;
            continue;
        }
        EXPECT_EQ(got[i].GetType(), Value::Type::Real) << field << " row " << i + 1;
        EXPECT_NEAR(got[i].AsDouble(), *want[i], 1e-9) << field << " row " << i + 1;
    }
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

TEST_F(ReportQueriesTest, PointStandingsCountKeptResultsAndBreakTiesByWins) {
    FillLeague();
    const ResultSet rs = Run("Point Standings");
    // bob and Alan both keep 360 points; bob's win puts him ahead. Fay's dropped race and bob's
    // dropped bonus do not count; Carl (excluded) and Ed (no result) are not listed.
    EXPECT_EQ(Column(rs, "Driver"), (Values{"Dan Drew", "bob Burns", "Alan Ash", "Fay Fox"}));
    EXPECT_EQ(Column(rs, "Points"), (Values{515, 360, 360, 315}));
    EXPECT_EQ(Column(rs, "Interval"), (Values{0, 155, 155, 200}));
    EXPECT_EQ(Column(rs, "Wins"), (Values{1, 1, 0, 0}));
    EXPECT_EQ(Column(rs, "Poles"), (Values{1, 0, 1, 0}));
    EXPECT_EQ(Column(rs, "LapsLed"), (Values{320, 260, 100, 0}));
    EXPECT_EQ(Column(rs, "Bonus"), (Values{15, 15, 20, 0}));
    // An unknown start (0) stays out of the average.
    ExpectReals(rs, "AvgStart", {2.5, 7.0 / 3, 2.0, 4.0});
    ExpectReals(rs, "AvgFinish", {8.0 / 3, 2.0, 7.0 / 3, 13.0 / 3});
    EXPECT_EQ(Column(rs, "Winnings"), (Values{5500, 8000, 6500, nullptr}));
}

TEST_F(ReportQueriesTest, RookieStandingsMeasureTheIntervalFromTheLeadingRookie) {
    FillLeague();
    const ResultSet rs = Run("Rookie Standings");
    EXPECT_EQ(Column(rs, "Driver"), (Values{"bob Burns", "Fay Fox"}));
    EXPECT_EQ(Column(rs, "Interval"), (Values{0, 45}));
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
    ResultSet rs = Run("Point Standings");
    EXPECT_EQ(Column(rs, "Driver"), (Values{"bob Burns", "Alan Ash", "Dan Drew", "Fay Fox"}));
    EXPECT_EQ(Column(rs, "Points"), (Values{365, 360, 355, 315}));
    EXPECT_EQ(Column(rs, "Interval"), (Values{0, 5, 10, 50}));
    EXPECT_EQ(Column(rs, "Adj"), (Values{5, nullptr, -160, nullptr}));
    rs = Run("Rookie Standings");
    EXPECT_EQ(Column(rs, "Points"), (Values{365, 315}));
    EXPECT_EQ(Column(rs, "Adj"), (Values{5, nullptr}));
}

TEST_F(ReportQueriesTest, DriverStatisticsListDriversByNameAndCountNonRunningFinishesAsDnf) {
    FillLeague();
    const ResultSet rs = Run("Driver Statistics");
    // Letter case does not decide the order; a missing status and "running" count as running.
    EXPECT_EQ(Column(rs, "Driver"), (Values{"Alan Ash", "bob Burns", "Dan Drew", "Fay Fox"}));
    EXPECT_EQ(Column(rs, "LapsRun"), (Values{800, 800, 750, 309}));
    EXPECT_EQ(Column(rs, "DNF"), (Values{0, 0, 1, 2}));
    ExpectReals(rs, "AvgStart", {2.0, 7.0 / 3, 2.5, 4.0});
}

TEST_F(ReportQueriesTest, RaceWinnersListEveryRaceAndLeaveExcludedDriversOut) {
    FillLeague();
    const ResultSet rs = Run("Race Winners");
    // Race 2 has no name and shows its file; a tie on laps led goes to the better finisher;
    // race 4 has no results yet.
    EXPECT_EQ(Column(rs, "Race"), (Values{"Daytona 500", "race2.txt", "Bristol", "Talladega"}));
    EXPECT_EQ(Column(rs, "Winner"), (Values{nullptr, "bob Burns", "Dan Drew", nullptr}));
    EXPECT_EQ(Column(rs, "Pole"), (Values{nullptr, "Alan Ash", "Dan Drew", nullptr}));
    EXPECT_EQ(Column(rs, "MostLapsLed"), (Values{nullptr, "bob Burns", "Dan Drew", nullptr}));
}

TEST_F(ReportQueriesTest, LapsLedPrizeMoneyAndQualifyingRankTheirDrivers) {
    FillLeague();

    const ResultSet led = Run("Laps Led");
    EXPECT_EQ(Column(led, "Driver"), (Values{"Dan Drew", "bob Burns", "Alan Ash"}));
    EXPECT_EQ(Column(led, "RacesLed"), (Values{2, 3, 2}));
    EXPECT_EQ(Column(led, "MostLed"), (Values{300, 200, 60}));

    // Money counts in dropped races too; a driver without any prize money comes last.
    const ResultSet money = Run("Prize Money");
    EXPECT_EQ(Column(money, "Driver"), (Values{"bob Burns", "Alan Ash", "Dan Drew", "Fay Fox"}));
    EXPECT_EQ(Column(money, "Winnings"), (Values{8000, 6500, 5500, nullptr}));
    ExpectReals(money, "AvgWinnings", {8000.0 / 3, 6500.0 / 3, 5500.0 / 3, std::nullopt});

    // Poles first, then the better average start.
    const ResultSet qualifying = Run("Qualifying");
    EXPECT_EQ(Column(qualifying, "Driver"),
              (Values{"Alan Ash", "Dan Drew", "bob Burns", "Fay Fox"}));
    ExpectReals(qualifying, "AvgStart", {2.0, 2.5, 7.0 / 3, 4.0});
    ExpectReals(qualifying, "BestQualifying", {190.25, 188.5, 189.0, 187.0});
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
