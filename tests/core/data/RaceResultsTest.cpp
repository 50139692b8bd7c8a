#include "data/RaceResults.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/Errors.h"
#include "data/LeagueFile.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

class RaceResultsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.File("prog")};
    std::unique_ptr<League> league;
    std::int32_t raceId = 0;
    std::int32_t stagedId = 0;

    void SetUp() override {
        CreateLeagueFile(dir.File("l.slf"), 0, 0, program.Db(), 0, 0);
        league = std::make_unique<League>(program, dir.File("l.slf"));
        Db().Execute("INSERT INTO Race (Name, FileName, Length, Laps) "
                     "VALUES ('Harbor Point', 'hp.stn', 1.5, 200)");
        raceId = static_cast<std::int32_t>(Db().LastInsertRowId());
        Db().Execute("INSERT INTO STNRace (Name, FileName, Length, Laps) "
                     "VALUES ('Millbrook', 'mb.stn', 2.5, 100)");
        stagedId = static_cast<std::int32_t>(Db().LastInsertRowId());
        Db().Execute("INSERT INTO Driver (Name, Exclude) VALUES ('Ann Able', 1)");
    }
    Database& Db() { return league->Db(); }
    static ResultEntry Entry(const std::string& name, const std::string& finish,
                             const std::string& reasonOut) {
        return ResultEntry{finish, "3", name, "200", "12", "175", "5", "0", "182.5", reasonOut};
    }
    std::string Row(const std::string& sql) {
        std::string text;
        const ResultSet rows = Db().QueryAll(sql);
        for (const Value& v : rows.rows.at(0)) {
            text += (text.empty() ? "" : "|") + (v.IsNull() ? "NULL" : v.AsText());
        }
        return text;
    }
};

TEST_F(RaceResultsTest, ResultsOfBothKindsOfRaceAreAddedChangedAndRemovedAsTyped) {
    // A league race: the name finds its driver, or adds one; quotes stay as typed.
    const std::int32_t ann =
        AddResult(*league, RaceSource::League, raceId, Entry("ann able", "1", "O'Neil's \"DNF\""));
    const std::int32_t bob =
        AddResult(*league, RaceSource::League, raceId, Entry("Bob Baker", "2", " "));
    EXPECT_EQ(Row("SELECT Count(*) FROM Driver"), "2");
    EXPECT_EQ(Row("SELECT DriverID, Finish, Start, LapsRun, LapsLed, Status, Points, Bonus, "
                  "Qualifying, AvgSpeed, typeof(AvgSpeed) FROM Stats WHERE StatsID=" +
                  std::to_string(ann)),
              "1|1|3|200|12|O'Neil's \"DNF\"|175|5|182.5|0|text");
    EXPECT_EQ(Row("SELECT Status FROM Stats WHERE StatsID=" + std::to_string(bob)), "NULL");

    std::vector<ResultLine> lines = LoadResultLines(Db(), RaceSource::League, raceId);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].excluded);
    EXPECT_EQ(lines[0].name, "Ann Able");
    const auto cells = ResultCells(lines[0], 1.5f, 0, ",");
    EXPECT_EQ(cells[8], "182,500");
    EXPECT_EQ(cells[7], "--");
    EXPECT_EQ(EntryOf(lines[0]).qualifying, "182.5");

    // Another name moves the result to that driver.
    UpdateResult(*league, RaceSource::League, bob, Entry("Cy Cole", "2", "Engine"));
    EXPECT_EQ(Row("SELECT Driver.Name, Stats.Status FROM Stats INNER JOIN Driver ON "
                  "Driver.DriverID=Stats.DriverID WHERE StatsID=" +
                  std::to_string(bob)),
              "Cy Cole|Engine");

    // A staged race keeps the name and adds no driver; its average speed is a number.
    const std::int32_t staged =
        AddResult(*league, RaceSource::Staged, stagedId, Entry("Dee Dunn", "1", "Running"));
    UpdateResult(*league, RaceSource::Staged, staged, Entry("Dee Dunn Jr", "4", "It's done"));
    EXPECT_EQ(Row("SELECT DriverName, Finish, ReasonOut, typeof(AvgSpeed) FROM STNStats"),
              "Dee Dunn Jr|4|It's done|real");
    EXPECT_EQ(Row("SELECT Count(*) FROM Driver"), "3");

    RemoveResults(*league, RaceSource::League, {bob, 0, ann});
    RemoveResults(*league, RaceSource::Staged, {staged});
    EXPECT_EQ(Row("SELECT (SELECT Count(*) FROM Stats) + (SELECT Count(*) FROM STNStats)"), "0");
}

TEST_F(RaceResultsTest, AResultThatCannotBeStoredChangesNothing) {
    const std::int32_t id =
        AddResult(*league, RaceSource::League, raceId, Entry("New Driver", "1", "Running"));
    const std::string before = Row("SELECT * FROM Stats");
    ResultEntry bad = Entry("Other Driver", "1", "Running");
    bad.qualifying = "1.2.3";
    EXPECT_THROW(UpdateResult(*league, RaceSource::League, id, bad), ScorewellError);
    bad = Entry("Other Driver", "99999", "Running");
    EXPECT_THROW(AddResult(*league, RaceSource::League, raceId, bad), ScorewellError);
    bad = Entry("Other Driver", "1", std::string(26, 'x'));
    EXPECT_THROW(AddResult(*league, RaceSource::League, raceId, bad), ScorewellError);
    EXPECT_EQ(Row("SELECT * FROM Stats"), before);
    // The driver the refused results named was not kept either.
    EXPECT_EQ(Row("SELECT Count(*) FROM Driver WHERE Name='Other Driver'"), "0");
}

} // namespace
} // namespace scorewell
