#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Program.h"
#include "reports/ReportColumns.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

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
