#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Database.h"
#include "data/Program.h"
#include "reports/ReportColumns.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

// Columns of a report as the program database has them: caption, Sequence, Hidden.
std::vector<std::string> Stored(Database& db, std::int32_t reportId) {
    std::vector<std::string> rows;
    for (Cursor c = db.Query("SELECT Name, Sequence, Hidden FROM ReportField WHERE ReportID = ? "
                             "ORDER BY ReportFieldID",
                             {Value(reportId)});
         !c.AtEnd(); c.MoveNext()) {
        rows.push_back(c.Field(0).AsText() + " " + c.Field(1).AsText() + " " + c.Field(2).AsText());
    }
    return rows;
}

TEST(ReportColumns, SavingRenumbersInListOrderAsOneChange) {
    test::TempDir dir;
    Program program(dir.Path());
    Database& db = program.Db();
    db.Execute("INSERT INTO Report (Name, Query, Sequence) VALUES ('Mine', 'SELECT 1 AS A', 9)");
    const auto id = static_cast<std::int32_t>(db.LastInsertRowId());
    const char* field = "INSERT INTO ReportField (ReportID, Sequence, Name, Hidden, Field) "
                        "VALUES (?, ?, ?, ?, 'A')";
    std::vector<std::int32_t> ids;
    for (auto [sequence, name, hidden] :
         {std::tuple{10, "One", 0}, std::tuple{20, "Two", 1}, std::tuple{30, "Three", 0}}) {
        db.Execute(field, {Value(id), Value(sequence), Value(name), Value(hidden)});
        ids.push_back(static_cast<std::int32_t>(db.LastInsertRowId()));
    }

    // Saved as listed, nothing moved: only the numbering changes.
    SaveReportColumns(db, {{ids[0], true}, {ids[1], false}, {ids[2], true}});
    EXPECT_EQ(Stored(db, id), (std::vector<std::string>{"One 1 0", "Two 2 1", "Three 3 0"}));

    // Three moved to the top and hidden, Two shown again.
    SaveReportColumns(db, {{ids[2], false}, {ids[0], true}, {ids[1], true}});
    EXPECT_EQ(Stored(db, id), (std::vector<std::string>{"One 2 0", "Two 3 0", "Three 1 1"}));

    // An update refused half-way leaves every column as it was.
    db.Execute("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON main.ReportField "
               "WHEN old.Name = 'Two' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_THROW(SaveReportColumns(db, {{ids[0], false}, {ids[1], false}, {ids[2], true}}),
                 DbError);
    EXPECT_EQ(Stored(db, id), (std::vector<std::string>{"One 2 0", "Two 3 0", "Three 1 1"}));
}

} // namespace
} // namespace scorewell
