#include "data/RaceResults.h"

#include <gtest/gtest.h>

#include "common/Errors.h"
#include "data/LeagueFile.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

// The windows show the results that are stored; what cannot be stored must leave no trace.
TEST(RaceResultsTest, AResultThatCannotBeStoredChangesNothing) {
    test::TempDir dir;
    Program program(dir.File("prog"));
    CreateLeagueFile(dir.File("l.slf"), 0, 0, program.Db(), 0, 0);
    League league(program, dir.File("l.slf"));
    Database& db = league.Db();
    db.Execute("INSERT INTO Race (Name, FileName, Length, Laps) VALUES ('Harbor', 'hp.stn', 1.5, "
               "200)");
    const auto raceId = static_cast<std::int32_t>(db.LastInsertRowId());
    auto entry = [](const std::string& finish, const std::string& qualifying,
                    const std::string& reasonOut) {
        return ResultEntry{finish, "3", "Other Driver", "200",    "12", "175",
                           "5",    "0", qualifying,     reasonOut};
    };
    const std::int32_t id =
        AddResult(league, RaceSource::League, raceId, entry("1", "182.5", "Running"));
    auto all = [&] {
        std::string text;
        const ResultSet rows = db.QueryAll("SELECT * FROM Stats NATURAL JOIN Driver");
        for (const auto& row : rows.rows) {
            for (const Value& v : row) {
                text += v.AsText() + "|";
            }
        }
        return text;
    };
    const std::string before = all();

    // Another name on a refused change: the driver it would have added is not kept either.
    ResultEntry renamed = entry("1", "1.2.3", "Running");
    renamed.name = "New Driver";
    EXPECT_THROW(UpdateResult(league, RaceSource::League, id, renamed), ScorewellError);
    EXPECT_THROW(AddResult(league, RaceSource::League, raceId, entry("99999", "1", "Running")),
                 ScorewellError);
    EXPECT_THROW(
        AddResult(league, RaceSource::League, raceId, entry("1", "1", std::string(26, 'x'))),
        ScorewellError);
    EXPECT_EQ(all(), before);
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Driver").AsInteger(), 1);
    EXPECT_FALSE(db.InTransaction());
}

} // namespace
} // namespace scorewell
