#include <gtest/gtest.h>

#include "common/Paths.h"
#include "core/LeagueFixture.h"
#include "data/Drivers.h"
#include "scoring/Recalculation.h"

namespace scorewell {
namespace {

class RecalculationTest : public test::LeagueFixture {
protected:
    void SetUp() override {
        Open();
        test::RunSqlFixture(Db(), "sql/bob-wins-twice.sql");
    }
    std::string Race(int id) {
        return league->Db()
            .Scalar("SELECT group_concat(r, ' ') FROM (SELECT Name || ':' || Start || '/' || "
                    "Finish || '=' || Points AS r FROM Stats JOIN Driver USING (DriverID) "
                    "WHERE RaceID=? ORDER BY Finish)",
                    {Value(id)})
            .AsText();
    }
};

TEST_F(RecalculationTest, RemovingExcludedResultsClosesUpEveryRaceAndKeepsACopyFirst) {
    SetDriversExcluded(league->Db(), {"bob baker"}, true);
    RemoveExcludedResults(*league);
    EXPECT_EQ(Race(1), "Ann Able:1/1=180 Cy Cole:2/2=175");
    EXPECT_EQ(Race(2), "Ann Able:1/1=180 Cy Cole:2/2=175");
    // The excluded driver stays on the roster.
    EXPECT_EQ(ListDrivers(league->Db()).size(), 3u);
    // The copy holds the league as it was.
    ASSERT_TRUE(FileExists(league->BackupPath()));
    Database copy = Database::Open(league->BackupPath());
    EXPECT_EQ(copy.Scalar("SELECT Count(*) FROM Stats").AsInteger(), 6);
}

TEST_F(RecalculationTest, UnknownNamesChangeNothingAndAllRacesRescore) {
    EXPECT_THROW(SetDriversExcluded(league->Db(), {"Cy Cole", "Nobody"}, true), ScorewellError);
    EXPECT_EQ(league->Db().Scalar("SELECT Sum(Exclude) FROM Driver").AsInteger(), 0);
    league->Db().Execute("UPDATE Stats SET Points=0, Bonus=0");
    int calls = 0;
    RecalculateAllRaces(*league, [&](int done, int total) {
        ++calls;
        EXPECT_EQ(total, 2);
        EXPECT_EQ(done, calls);
    });
    EXPECT_EQ(Race(2), "Bob Baker:1/1=185 Ann Able:2/2=170 Cy Cole:3/3=165");
}

} // namespace
} // namespace scorewell
