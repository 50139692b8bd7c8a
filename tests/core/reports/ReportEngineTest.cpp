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
    // A tab inside a name would shift the columns; that name is quoted and escaped. A backslash
    // alone is no reason to.
    league_.Execute("UPDATE Driver SET Name='Alan\\Ash' WHERE DriverID=1");
    EXPECT_EQ(lines(RunReport(league_, LoadReportDefinition(program_.Db(), id), ".")),
              "Driver\tAvg Finish\tPoints\n"
              "Bob Burns\t1.5\t355\n"
              "Alan\\Ash\t2.0\t300\n"
              "\"Carl\\tCole\"\t2.0\t150\n");

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

class DroppedTest : public test::LeagueFixture {
protected:
    void SetUp() override { Open(); }

    void AddRaces(int count) {
        for (int i = 0; i < count; ++i) {
            Db().Execute("INSERT INTO Race (Name) VALUES ('Race')");
        }
    }
    int AddDriver(const std::string& name) {
        Db().Execute("INSERT INTO Driver (Name) VALUES (?)", {Value(name)});
        return static_cast<int>(Db().LastInsertRowId());
    }
    // One result in race raceId; gives its StatsID.
    int AddResult(int raceId, Value driverId, Value points, int bonus = 0, int lapsLed = 0) {
        Db().Execute("INSERT INTO Stats (RaceID, DriverID, Points, Bonus, LapsLed, Dropped) "
                     "VALUES (?, ?, ?, ?, ?, FALSE)",
                     {Value(raceId), driverId, points, Value(bonus), Value(lapsLed)});
        return static_cast<int>(Db().LastInsertRowId());
    }
    // The points of a driver's dropped results, best first.
    std::vector<std::string> DroppedPoints(int driverId) {
        return Rows("SELECT Points FROM Stats WHERE DriverID = ? AND Dropped ORDER BY Points DESC",
                    {Value(driverId)});
    }
    bool IsDropped(int statsId) {
        return Db()
            .Scalar("SELECT Dropped FROM Stats WHERE StatsID = ?", {Value(statsId)})
            .AsBool();
    }
};

TEST_F(DroppedTest, EachDriverKeepsHisBestResultsOfTheLeaguesRaceCount) {
    DroppedMarking marking = MarkDroppedResults(Db(), 2);
    EXPECT_EQ(StandingsCaption(marking), "Results after 0 events:");

    AddRaces(10);
    const int nine = AddDriver("Nine Starts");
    const int five = AddDriver("Five Starts");
    const int ten = AddDriver("Ten Starts");
    // Results are entered out of order, so the marking has to sort them.
    for (int race = 1; race <= 10; ++race) {
        if (race <= 9) {
            AddResult(race, nine, (race * 7) % 10 * 10);
        }
        if (race <= 5) {
            AddResult(race, five, race);
        }
        AddResult(race, ten, 100 + race);
    }
    marking = MarkDroppedResults(Db(), 2);
    EXPECT_EQ(DroppedPoints(nine), (std::vector<std::string>{"10"}));
    EXPECT_TRUE(DroppedPoints(five).empty());
    EXPECT_EQ(DroppedPoints(ten), (std::vector<std::string>{"102", "101"}));
    EXPECT_EQ(StandingsCaption(marking),
              "Results based on each driver's best 8 finishes of 10 events:");

    // Marking again starts from scratch: a flag set by hand does not survive, and a changed
    // result changes what is kept.
    Db().Execute("UPDATE Stats SET Dropped = TRUE WHERE DriverID = ?", {Value(five)});
    Db().Execute("UPDATE Stats SET Points = 1 WHERE DriverID = ? AND Points = 110", {Value(ten)});
    MarkDroppedResults(Db(), 2);
    EXPECT_TRUE(DroppedPoints(five).empty());
    EXPECT_EQ(DroppedPoints(ten), (std::vector<std::string>{"101", "1"}));

    // No dropping, or a negative count, clears every flag of an earlier marking.
    for (int dropped : {0, -1}) {
        marking = MarkDroppedResults(Db(), dropped);
        EXPECT_EQ(Count("Stats WHERE Dropped"), 0);
        EXPECT_EQ(StandingsCaption(marking), "Results after 10 events:");
        MarkDroppedResults(Db(), 1);
    }
}

TEST_F(DroppedTest, DroppingMoreThanTheRacesKeepsEachDriversBestResult) {
    AddRaces(2);
    const int a = AddDriver("A");
    const int b = AddDriver("B");
    AddResult(1, a, 50);
    AddResult(2, a, 60);
    AddResult(2, b, 70);
    // A result of no driver stays dropped while dropping.
    const int orphan = AddResult(1, Value(), 100);
    const DroppedMarking marking = MarkDroppedResults(Db(), 3);
    EXPECT_EQ(marking.keptCount, 1);
    EXPECT_EQ(DroppedPoints(a), (std::vector<std::string>{"50"}));
    EXPECT_TRUE(DroppedPoints(b).empty());
    EXPECT_TRUE(IsDropped(orphan));
    EXPECT_EQ(StandingsCaption(marking),
              "Results based on each driver's best 1 finishes of 2 events:");
    MarkDroppedResults(Db(), 0);
    EXPECT_FALSE(IsDropped(orphan));
}

TEST_F(DroppedTest, EqualPointsAreDecidedByBonusThenLapsLedThenEntryOrder) {
    AddRaces(3);
    const int bonus = AddDriver("Bonus decides");
    const int best = AddResult(1, bonus, 100, 5, 0);
    const int lower = AddResult(2, bonus, 100, 10, 0);
    AddResult(3, bonus, 120, 0, 0);

    const int laps = AddDriver("Laps led decide");
    const int fewer = AddResult(1, laps, 100, 5, 3);
    const int more = AddResult(2, laps, 100, 5, 30);
    AddResult(3, laps, 120, 0, 0);

    const int same = AddDriver("All equal");
    const int first = AddResult(1, same, 90, 5, 3);
    const int second = AddResult(2, same, 90, 5, 3);
    // A result without points is the worst of all.
    const int none = AddResult(3, same, Value(), 50, 50);

    MarkDroppedResults(Db(), 1);
    auto dropped = [&](std::initializer_list<int> ids) {
        std::vector<bool> out;
        for (int id : ids) {
            out.push_back(IsDropped(id));
        }
        return out;
    };
    EXPECT_EQ(dropped({best, lower, fewer, more, first, second, none}),
              (std::vector<bool>{true, false, true, false, false, false, true}));
    MarkDroppedResults(Db(), 2);
    EXPECT_EQ(dropped({first, second}), (std::vector<bool>{false, true}));
}

} // namespace
} // namespace scorewell
