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
#include "support/TempDir.h"

namespace scorewell {
namespace {

class ReportEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateLeagueFile(path_, 0, 0, program_.Db(), 0, 0);
        league_ = Database::Open(path_);
        test::RunSqlFixture(league_, "sql/two-races.sql");
    }

    // A report of the program database with the given query and columns
    // (caption, width, alignment, format, hidden, field); gives its id.
    std::int32_t AddReport(const std::string& name, const std::string& query,
                           const std::vector<std::vector<Value>>& columns, int sequence = 99) {
        program_.Db().Execute("INSERT INTO Report (Name, Query, Sequence) VALUES (?, ?, ?)",
                              {Value(name), Value(query), Value(sequence)});
        const auto id = static_cast<std::int32_t>(program_.Db().LastInsertRowId());
        // Entered last column first: the order has to come from Sequence.
        for (std::size_t i = columns.size(); i-- > 0;) {
            const auto& c = columns[i];
            program_.Db().Execute(
                "INSERT INTO ReportField (ReportID, Sequence, Name, ColWidth, ColAlignment, "
                "ColFormat, Hidden, Field) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                {Value(id), Value(static_cast<int>(10 * (i + 1))), c[0], c[1], c[2], c[3], c[4],
                 c[5]});
        }
        return id;
    }

    std::string ErrorOf(std::int32_t reportId) {
        return test::ErrorOf(
            [&] { RunReport(league_, LoadReportDefinition(program_.Db(), reportId), "."); });
    }

    test::TempDir dir_;
    Program program_{dir_.Path()};
    std::string path_ = dir_.File("league.slf");
    Database league_;
};

TEST_F(ReportEngineTest, ReportsAreListedInSequenceAndFoundByNameOrNumber) {
    const std::vector<ReportInfo> reports = ListReports(program_.Db());
    ASSERT_EQ(reports.size(), 7u);

    AddReport("Ärger", "SELECT 1 AS x", {}, 0);
    AddReport("3", "SELECT 1 AS x", {}, 50);
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
    const std::int32_t id =
        AddReport("Short",
                  "SELECT Driver.Name AS Driver, Sum(Points) AS Points, Sum(PrizeMoney) AS Cash, "
                  "Avg(Finish) AS AvgFinish FROM Driver INNER JOIN Stats ON Stats.DriverID = "
                  "Driver.DriverID GROUP BY Driver.DriverID ORDER BY Points DESC",
                  {{"Driver", 2500, 1, nullptr, 0, "Driver"},
                   {"Money", 900, 4, "#,##0", 1, "Cash"},
                   {"Avg Finish", 900, 4, "0.0", 0, "AvgFinish"},
                   {"Points", 800, 4, nullptr, 0, "Points"}});
    const ReportTable table = RunReport(league_, LoadReportDefinition(program_.Db(), id), ".");
    EXPECT_EQ(table.texts[0][1], "17,000");
    // A tab inside a name would shift the columns; it is escaped, and so is a backslash.
    league_.Execute("UPDATE Driver SET Name='Alan\\Ash' WHERE DriverID=1");
    EXPECT_EQ(lines(RunReport(league_, LoadReportDefinition(program_.Db(), id), ".")),
              "Driver\tAvg Finish\tPoints\n"
              "Bob Burns\t1.5\t355\n"
              "Alan\\\\Ash\t2.0\t300\n"
              "Carl\\tCole\t2.0\t150\n");

    league_.Execute("DELETE FROM Stats");
    EXPECT_EQ(lines(RunReport(league_, LoadReportDefinition(program_.Db(), id), ".")),
              "Driver\tAvg Finish\tPoints\n");
    // A report without columns runs nothing, not even its broken query.
    const std::int32_t empty = AddReport("Empty", "SELECT Nonsense FROM Nowhere", {});
    const ReportTable none = RunReport(league_, LoadReportDefinition(program_.Db(), empty), ".");
    EXPECT_EQ(none.RowCount(), 0u);
    EXPECT_TRUE(none.columns.empty());
}

// Queries that would do more than read the league are refused; the reliability tests of confined
// SQL run the hostile ones.

TEST_F(ReportEngineTest, FailingQueriesAreReportedWithTheirNameAndReason) {
    const std::int32_t missingTable = AddReport("Broken", "SELECT Nope AS Driver FROM Driver",
                                                {{"Driver", 2500, 1, nullptr, 0, "Driver"}});
    EXPECT_EQ(ErrorOf(missingTable), "The report \"Broken\" cannot run: no such column: Nope.");

    const std::int32_t missingField = AddReport(
        "Short of a column", "SELECT Name AS Driver FROM Driver",
        {{"Driver", 2500, 1, nullptr, 0, "Driver"}, {"Points", 800, 4, nullptr, 0, "Points"}});
    EXPECT_EQ(ErrorOf(missingField),
              "The report \"Short of a column\" cannot run: its query gives no column "
              "\"Points\".");

    // A query that never ends is stopped.
    const std::int32_t endless =
        AddReport("Endless",
                  "WITH RECURSIVE n(Driver) AS (SELECT 1 UNION ALL SELECT Driver + 1 FROM n) "
                  "SELECT Driver FROM n WHERE Driver < 0",
                  {{"Driver", 2500, 1, nullptr, 0, "Driver"}});
    EXPECT_EQ(test::ErrorOf([&] {
                  RunReport(league_, LoadReportDefinition(program_.Db(), endless), ".",
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

TEST(DataTableTest, CsvQuotesOnlyWhatNeedsItWithCrLfLines) {
    EXPECT_EQ(ToCsv(Awkward()),
              "Driver,Points,Interval,Avg Finish,Note\r\n"
              "\"Smith, \"\"Smokey\"\"\",175,--,\"1,5\",\"line\r\nbreak\ttab\x01\"\r\n"
              "Zoë Ångström,007,168,,42\r\n");
}

TEST(DataTableTest, JsonHasNumbersAsShownAndTextsEscaped) {
    EXPECT_EQ(ToJson(Awkward()),
              "{\n  \"title\": \"Point \\\"Standings\\\"\",\n"
              "  \"caption\": \"Results after 2 events:\",\n"
              "  \"columns\": [\"Driver\", \"Points\", \"Interval\", \"Avg Finish\", \"Note\"],\n"
              "  \"rows\": [\n"
              // A zero interval shown as "--" is the number 0; "1,5" with a comma separator 1.5.
              "    [\"Smith, \\\"Smokey\\\"\", 175, 0, 1.5, \"line\\r\\nbreak\\ttab\\u0001\"],\n"
              // A number that is a text (a name "42") stays a text; Null is null.
              "    [\"Zoë Ångström\", 7, 168, null, \"42\"]\n"
              "  ]\n}\n");
    DataTable empty;
    EXPECT_EQ(ToJson(empty), "{\n  \"title\": \"\",\n  \"caption\": \"\",\n  \"columns\": [],\n"
                             "  \"rows\": []\n}\n");
}

TEST(ReportColumns, SavingRenumbersInListOrderAsOneChange) {
    test::TempDir dir;
    Program program(dir.Path());
    Database& db = program.Db();
    db.Execute("INSERT INTO Report (Name, Query, Sequence) VALUES ('Mine', 'SELECT 1 AS A', 9)");
    const Value id(db.LastInsertRowId());
    std::vector<std::int32_t> ids;
    for (auto [sequence, name, hidden] :
         {std::tuple{10, "One", 0}, std::tuple{20, "Two", 1}, std::tuple{30, "Three", 0}}) {
        db.Execute("INSERT INTO ReportField (ReportID, Sequence, Name, Hidden, Field) "
                   "VALUES (?, ?, ?, ?, 'A')",
                   {id, Value(sequence), Value(name), Value(hidden)});
        ids.push_back(static_cast<std::int32_t>(db.LastInsertRowId()));
    }
    auto stored = [&] {
        return db
            .Scalar("SELECT group_concat(Name || Sequence || Hidden, ' ') FROM (SELECT * FROM "
                    "ReportField WHERE ReportID = ? ORDER BY ReportFieldID)",
                    {id})
            .AsText();
    };
    // Saved as listed, nothing moved: only the numbering changes.
    SaveReportColumns(db, {{ids[0], true}, {ids[1], false}, {ids[2], true}});
    EXPECT_EQ(stored(), "One10 Two21 Three30");
    // Three moved to the top and hidden, Two shown again.
    SaveReportColumns(db, {{ids[2], false}, {ids[0], true}, {ids[1], true}});
    EXPECT_EQ(stored(), "One20 Two30 Three11");
    // An update refused half-way leaves every column as it was.
    db.Execute("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON main.ReportField "
               "WHEN old.Name = 'Two' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_THROW(SaveReportColumns(db, {{ids[0], false}, {ids[1], false}, {ids[2], true}}),
                 DbError);
    EXPECT_EQ(stored(), "One20 Two30 Three11");
}

} // namespace
} // namespace scorewell
