#include "data/RaceResults.h"

#include <gtest/gtest.h>

#include "common/Errors.h"
#include "core/LeagueFixture.h"

namespace scorewell {
namespace {

using RaceResultsTest = test::LeagueFixture;

// The windows show the results that are stored; what cannot be stored must leave no trace.
TEST_F(RaceResultsTest, AResultThatCannotBeStoredChangesNothing) {
    Open();
    Db().Execute("INSERT INTO Race (Name, FileName, Length, Laps) VALUES ('R', 'r.stn', 1.5, 200)");
    const auto raceId = static_cast<std::int32_t>(Db().LastInsertRowId());
    auto entry = [](const std::string& finish, const std::string& qualifying,
                    const std::string& reasonOut) {
        return ResultEntry{finish, "3", "Other Driver", "200",    "12", "175",
                           "5",    "0", qualifying,     reasonOut};
    };
    const std::int32_t id =
        AddResult(*league, RaceSource::League, raceId, entry("1", "182.5", "Running"));
    const auto before = Rows("SELECT * FROM Stats NATURAL JOIN Driver");

    // Another name on a refused change: the driver it would have added is not kept either.
    ResultEntry renamed = entry("1", "1.2.3", "Running");
    renamed.name = "New Driver";
    EXPECT_THROW(UpdateResult(*league, RaceSource::League, id, renamed), ScorewellError);
    EXPECT_THROW(AddResult(*league, RaceSource::League, raceId, entry("99999", "1", "Running")),
                 ScorewellError);
    EXPECT_THROW(
        AddResult(*league, RaceSource::League, raceId, entry("1", "1", std::string(26, 'x'))),
        ScorewellError);
    EXPECT_EQ(Rows("SELECT * FROM Stats NATURAL JOIN Driver"), before);
    EXPECT_EQ(Count("Driver"), 1);
    EXPECT_FALSE(Db().InTransaction());
}

} // namespace
} // namespace scorewell
