#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Text.h"
#include "core/LeagueFixture.h"
#include "data/Database.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "reports/DataTable.h"
#include "reports/Dropped.h"
#include "reports/ReportColumns.h"
#include "reports/ReportEngine.h"
#include "support/Checks.h"
#include "support/Golden.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

class ReportEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateLeagueFile(path_, 0, 0, program_.Db(), 0, 0);
        league_ = Database::Open(path_);
        test::RunSqlFixture(league_, "sql/two-races.sql");
        test::RunSqlFixture(program_.Db(), "sql/odd-reports.sql");
    }

    ReportTable Run(std::int32_t reportId) {
        return RunReport(league_, LoadReportDefinition(program_.Db(), reportId), ".");
    }
    std::string ErrorOf(std::int32_t reportId) {
        return test::ErrorOf([&] { Run(reportId); });
    }

    test::TempDir dir_;
    Program program_{dir_.Path()};
    std::string path_ = dir_.File("league.slf");
    Database league_;
};

// The reports of sql/odd-reports.sql come with the shipped ones.
TEST_F(ReportEngineTest, ReportsAreListedInSequenceAndFoundByNameOrNumber) {
    EXPECT_EQ(ListReports(program_.Db()).front().name, "Ärger");
    EXPECT_EQ(FindReport(program_.Db(), "äRGER")->name, "Ärger");
    EXPECT_EQ(FindReport(program_.Db(), "2")->name, "Driver Statistics");
    // A name wins over a number.
    EXPECT_EQ(FindReport(program_.Db(), "3")->name, "3");
    EXPECT_FALSE(FindReport(program_.Db(), "2.0"));
    EXPECT_FALSE(FindReport(program_.Db(), "Standings"));
    EXPECT_THROW(LoadReportDefinition(program_.Db(), 4242), ReportError);
}

TEST_F(ReportEngineTest, RowsCarryRawValuesAndTextsFormattedAsTheColumnSays) {
    MarkDroppedResults(league_, 0);
    const ReportDefinition report = LoadReportDefinition(program_.Db(), 1);
    const ReportTable table = RunReport(league_, report, ",");
    ASSERT_EQ(table.RowCount(), 3u);
    ASSERT_EQ(table.columns.size(), 14u);
    // Bob 355, Alan 300, Carl 150. Winnings is hidden, yet its values are there.
    EXPECT_EQ(table.values[0][1], Value(355));
    EXPECT_EQ(table.texts[0][2], "--");
    EXPECT_EQ(table.texts[1][2], "55");
    EXPECT_EQ(table.values[1][10].GetType(), Value::Type::Real);
    EXPECT_EQ(table.texts[1][10], "2,0");
    EXPECT_TRUE(table.columns[12].hidden);
    EXPECT_EQ(table.values[0][12], Value(17000));
    EXPECT_EQ(table.texts[0][12], "17.000");

    EXPECT_EQ(table.VisibleColumns().back(), 11u);
}

TEST_F(ReportEngineTest, VisibleTextsAsTabSeparatedLinesShowTheVisibleColumns) {
    auto lines = [&](const ReportTable& table) {
        std::string text;
        for (const auto& line : VisibleTexts(table)) {
            text += TabSeparatedLine(line);
        }
        return text;
    };
    EXPECT_EQ(Run(103).texts[0][1], "17,000");
    // A tab inside a name would shift the columns; that name is quoted and escaped. A backslash
    // alone is no reason to.
    league_.Execute("UPDATE Driver SET Name='Alan\\Ash' WHERE DriverID=1");
    EXPECT_EQ(lines(Run(103)), "Driver\tAvg Finish\tPoints\n"
                               "Bob Burns\t1.5\t355\n"
                               "Alan\\Ash\t2.0\t300\n"
                               "\"Carl\\tCole\"\t2.0\t150\n");

    league_.Execute("DELETE FROM Stats");
    EXPECT_EQ(lines(Run(103)), "Driver\tAvg Finish\tPoints\n");
    // A report without columns runs nothing, not even its broken query.
    const ReportTable none = Run(104);
    EXPECT_EQ(none.RowCount(), 0u);
    EXPECT_TRUE(none.columns.empty());
}

// Queries that would do more than read the league are refused; the reliability tests of confined
// SQL run the hostile ones.

TEST_F(ReportEngineTest, FailingQueriesAreReportedWithTheirNameAndReason) {
    EXPECT_EQ(ErrorOf(105), "The report \"Broken\" cannot run: no such column: Nope.");
    EXPECT_EQ(ErrorOf(106), "The report \"Short of a column\" cannot run: its query gives no "
                            "column \"Points\".");
    // A query that never ends is stopped.
    EXPECT_EQ(test::ErrorOf([&] {
                  RunReport(league_, LoadReportDefinition(program_.Db(), 107), ".",
                            std::chrono::milliseconds(200));
              }),
              "The report \"Endless\" is stopped: it runs longer than 0.2 seconds.");
    // The connection is left as it was: ordinary statements still run without limits.
    EXPECT_EQ(league_.Scalar("SELECT Count(*) FROM Driver").AsInteger(), 3);
    league_.Execute("UPDATE Driver SET Rookie = TRUE WHERE DriverID = 1");
}

// Tables given out as CSV and JSON for other programs.
DataTable Awkward() {
    DataTable t;
    t.title = "Point \"Standings\"";
    t.caption = "Results after 2 events:";
    t.columns = {"Driver", "Points", "Interval", "Avg Finish", "Note"};
    t.rows = {
        {{"Smith, \"Smokey\"", Value("Smith, \"Smokey\"")},
         {"175", Value(175)},
         {"--", Value(0)},
         {"1,5", Value(1.5)},
         {"line\r\nbreak\ttab\x01", Value("line\r\nbreak\ttab\x01")}},
        {{"Zoë Ångström", Value("Zoë Ångström")},
         {"007", Value(7)},
         {"168", Value(168)},
         {"", Value()},
         {"42", Value("42")}},
    };
    return t;
}

// What the goldens show: the CSV quotes only what needs it, with CR LF lines; the JSON has a zero
// interval shown as "--" as the number 0 and "1,5" with a comma separator as 1.5, while a number
// that is a text (a name "42") stays a text and Null is null.
TEST(DataTableTest, CsvAndJsonKeepEveryTextWhole) {
    test::ExpectGolden("reports/awkward.csv", ToCsv(Awkward()));
    test::ExpectGolden("reports/awkward.json", ToJson(Awkward()));
    EXPECT_EQ(ToJson(DataTable()), "{\n  \"title\": \"\",\n  \"caption\": \"\",\n  "
                                   "\"columns\": [],\n  \"rows\": []\n}\n");
}

TEST_F(ReportEngineTest, SavingColumnsRenumbersInListOrderAsOneChange) {
    Database& db = program_.Db();
    auto stored = [&] {
        return db
            .Scalar("SELECT group_concat(Name || Sequence || Hidden, ' ') FROM (SELECT * FROM "
                    "ReportField WHERE ReportID = 108 ORDER BY ReportFieldID)")
            .AsText();
    };
    // Saved as listed, nothing moved: only the numbering changes.
    SaveReportColumns(db, {{901, true}, {902, false}, {903, true}});
    EXPECT_EQ(stored(), "One10 Two21 Three30");
    // Three moved to the top and hidden, Two shown again.
    SaveReportColumns(db, {{903, false}, {901, true}, {902, true}});
    EXPECT_EQ(stored(), "One20 Two30 Three11");
    // An update refused half-way leaves every column as it was.
    db.Execute("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON main.ReportField "
               "WHEN old.Name = 'Two' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_THROW(SaveReportColumns(db, {{901, false}, {902, false}, {903, true}}), DbError);
    EXPECT_EQ(stored(), "One20 Two30 Three11");
}

class DroppedTest : public test::LeagueFixture {
protected:
    void SetUp() override { Open(); }

    // The dropped results as "driver race", in the order of the drivers.
    std::string Dropped() {
        return Db()
            .Scalar("SELECT ifnull(group_concat(r, ', '), '') FROM (SELECT ifnull(Name, "
                    "'nobody') || ' ' || RaceID AS r FROM Stats LEFT JOIN Driver "
                    "USING (DriverID) WHERE Dropped ORDER BY DriverID, RaceID)")
            .Text();
    }
};

TEST_F(DroppedTest, EachDriverKeepsHisBestResultsOfTheLeaguesRaceCount) {
    EXPECT_EQ(StandingsCaption(MarkDroppedResults(Db(), 2)), "Results after 0 events:");
    test::RunSqlFixture(Db(), "sql/dropped-ten-races.sql");
    DroppedMarking marking = MarkDroppedResults(Db(), 2);
    // Nine Starts drops his 10 points; Five Starts keeps all five; Ten Starts drops 101 and 102.
    EXPECT_EQ(Dropped(), "Nine Starts 3, Ten Starts 1, Ten Starts 2");
    EXPECT_EQ(StandingsCaption(marking),
              "Results based on each driver's best 8 finishes of 10 events:");

    // Marking again starts from scratch: a flag set by hand does not survive, and a changed
    // result changes what is kept.
    Db().Execute("UPDATE Stats SET Dropped = TRUE WHERE DriverID = 2");
    Db().Execute("UPDATE Stats SET Points = 1 WHERE DriverID = 3 AND Points = 110");
    MarkDroppedResults(Db(), 2);
    EXPECT_EQ(Dropped(), "Nine Starts 3, Ten Starts 1, Ten Starts 10");

    // No dropping, or a negative count, clears every flag of an earlier marking.
    for (int dropped : {0, -1}) {
        marking = MarkDroppedResults(Db(), dropped);
        EXPECT_EQ(Dropped(), "");
        EXPECT_EQ(StandingsCaption(marking), "Results after 10 events:");
        MarkDroppedResults(Db(), 1);
    }
}

// The league of sql/dropped-ties.sql, whose comments give each driver's results. A result of no
// driver stays dropped while dropping.
TEST_F(DroppedTest, TiesAreDecidedByBonusThenLapsLedThenEntryOrder) {
    test::RunSqlFixture(Db(), "sql/dropped-ties.sql");
    // Two kept: the higher bonus, the more laps led; a result without points is the worst.
    MarkDroppedResults(Db(), 1);
    EXPECT_EQ(Dropped(), "nobody 1, Bonus decides 1, Laps led decide 1, All equal 3");
    // One kept: of equals, the result entered first.
    const std::string oneKept = "nobody 1, A 1, Bonus decides 1, Bonus decides 2, "
                                "Laps led decide 1, Laps led decide 2, All equal 2, All equal 3";
    MarkDroppedResults(Db(), 2);
    EXPECT_EQ(Dropped(), oneKept);
    // Dropping more than the races keeps each driver's best result.
    EXPECT_EQ(StandingsCaption(MarkDroppedResults(Db(), 4)),
              "Results based on each driver's best 1 finishes of 3 events:");
    EXPECT_EQ(Dropped(), oneKept);
    MarkDroppedResults(Db(), 0);
    EXPECT_EQ(Dropped(), "");
}

} // namespace
} // namespace scorewell
