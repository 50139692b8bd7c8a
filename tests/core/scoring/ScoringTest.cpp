#include <gtest/gtest.h>

#include "common/Paths.h"
#include "core/LeagueFixture.h"
#include "data/ConfinedSql.h"
#include "data/Drivers.h"
#include "scoring/Recalculation.h"
#include "scoring/Scoring.h"
#include "support/Checks.h"

namespace scorewell {
namespace {

class ScoringTest : public test::LeagueFixture {
protected:
    // Opens a league of the simulation with the staged races of sql/staged-races.sql.
    void OpenStaged(int sim = 0) {
        Open(sim);
        test::RunSqlFixture(Db(), "sql/staged-races.sql");
    }
    // "finish/start driver points+bonus", and " $prize" when there is prize money.
    std::vector<std::string> Results(std::int32_t key, bool staging = true) {
        std::vector<std::string> out;
        std::string sql = staging ? "SELECT Finish, Start, DriverName, Points, Bonus, PrizeMoney "
                                    "FROM STNStats WHERE STNRaceID=? ORDER BY Finish"
                                  : "SELECT Finish, Start, Name, Points, Bonus, PrizeMoney FROM "
                                    "Stats JOIN Driver USING (DriverID) WHERE RaceID=? "
                                    "ORDER BY Finish";
        for (Cursor c = Db().Query(sql, {Value(key)}); !c.AtEnd(); c.MoveNext()) {
            out.push_back(c.Field(0).AsText() + "/" + c.Field(1).AsText() + " " +
                          c.Field(2).AsText() + " " + c.Field(3).AsText() + "+" +
                          c.Field(4).AsText() +
                          (c.Field(5).IsNull() ? "" : " $" + c.Field(5).AsText()));
        }
        return out;
    }
};

// Names are bound, never spliced; in any script the first spelling of a name is the one kept.
TEST_F(ScoringTest, DriversAreFoundWithoutRegardToCaseAndAddedWhenMissing) {
    Open();
    const std::pair<const char*, const char*> names[] = {
        {"Robert'); DROP TABLE Stats;--", "ROBERT'); drop table stats;--"},
        {"Zoë Ødegård", "ZOË ØDEGÅRD"},
        {"Šimon Œlsner", "šIMON œLSNER"},
        {"Σίσυφος Ίων", "ΣΊΣΥΦΟΣ ΊΩΝ"},
        {"Юрий Ёжиков", "ЮРИЙ ЁЖИКОВ"}};
    for (const auto& [name, other] : names) {
        const std::int32_t id = GetDriverID(Db(), name);
        EXPECT_EQ(GetDriverID(Db(), other), id) << other;
        EXPECT_EQ(FindDriversByName(Db(), other), std::vector<std::int32_t>{id}) << other;
    }
    EXPECT_NE(GetDriverID(Db(), " Robert'); DROP TABLE Stats;--"), 1); // not trimmed
    EXPECT_THROW(GetDriverID(Db(), "   "), DbError);
    EXPECT_EQ(Rows("SELECT Name, NameKey FROM Driver ORDER BY DriverID")[1],
              "Zoë Ødegård|zoë ødegård");
    EXPECT_EQ(Count("Driver"), 6);
    Db().Execute("UPDATE Driver SET Exclude=1 WHERE DriverID=1");
    EXPECT_TRUE(IsDriverNameExcluded(Db(), "robert'); drop table stats;--"));
    EXPECT_FALSE(IsDriverNameExcluded(Db(), "Nobody"));
    SetDriversExcluded(Db(), {"σίσυφος ίων"}, true);
    EXPECT_TRUE(IsDriverNameExcluded(Db(), "ΣΊΣΥΦΟΣ ΊΩΝ"));
    // The key's index stands guard should any code ever add a second spelling.
    EXPECT_THROW(Db().Execute("INSERT INTO Driver (Name, NameKey) VALUES ('ZOË', 'zoë ødegård')"),
                 DbError);
}

TEST(CheckedDriverName, ANameIsTakenWithoutOuterBlanksAndNeverCut) {
    EXPECT_EQ(CheckedDriverName("  Ann Able "), "Ann Able");
    EXPECT_EQ(CheckedDriverName(std::string(50, 'x')), std::string(50, 'x'));
    const std::string longName = std::string(49, 'x') + " Jr.";
    EXPECT_EQ(test::ErrorOf([&] { CheckedDriverName(longName); }),
              "The driver's name \"" + longName +
                  "\" has 53 characters; a name has at most 50. Shorten it and save again.");
    EXPECT_THROW(CheckedDriverName("   "), ScorewellError);
}

TEST_F(ScoringTest, PointGapIsTheMostFrequentNeighbourDifference) {
    Open();
    auto gap = [&](std::vector<int> points) {
        Db().Execute("INSERT INTO STNRace (Name) VALUES ('Gap')");
        const Value race(Db().LastInsertRowId());
        for (int p : points) {
            Db().Execute("INSERT INTO STNStats (STNRaceID, Points) VALUES (?, ?)", {race, p});
        }
        return DetectPointGap(Db(), static_cast<std::int32_t>(race.AsInteger()), true);
    };
    EXPECT_EQ(gap({25, 20, 17, 16, 15, 14, 13}), 1);
    EXPECT_EQ(gap({10, 8, 6, 5}), 2);
    EXPECT_EQ(gap({10, 10, 9, 9}), -1); // the gap 0 wins the tie
    EXPECT_EQ(gap({6, 3, 0, 0}), 3);    // no gap counted after a row of 0
    EXPECT_EQ(gap({50, 40, 30}), -1);
    EXPECT_EQ(gap({}), -1);
}

// The staged races 1 to 4 of sql/staged-races.sql.
TEST_F(ScoringTest, BuiltInBonusesGoToLeadersAndEveryDriverTiedForMostLed) {
    OpenStaged();
    ApplyBonusPoints(*league, Simulation::NascarRacing3, 1, true);
    EXPECT_EQ(Results(1), (std::vector<std::string>{"1/1 A 185+10", "2/2 B 180+10", "3/3 C 170+5",
                                                    "4/4 D 160+0"}));
    // Nobody led: everyone matches "most laps led".
    ApplyBonusPoints(*league, Simulation::NascarRacing2, 2, true);
    EXPECT_EQ(Results(2), (std::vector<std::string>{"1/1 A 180+5", "2/2 B 175+5"}));
    // NASCAR Legends gives none.
    ApplyBonusPoints(*league, Simulation::NascarLegends, 3, true);
    EXPECT_EQ(Results(3), (std::vector<std::string>{"1/1 A 43+0"}));
}

TEST_F(ScoringTest, CustomRulesReplaceTheBuiltInOnesAndServeStoredRaces) {
    OpenStaged();
    Db().Execute("UPDATE Settings SET SettingValue='1' WHERE SettingsID=14");
    league->LoadWorkingSettings();
    Db().Execute("DELETE FROM Bonus");
    // No rules: not even the built-in ones.
    ApplyBonusPoints(*league, Simulation::NascarRacing3, 4, true);
    EXPECT_EQ(Results(4), (std::vector<std::string>{"1/2 A 175+0", "2/1 B 170+0"}));

    // A rule written against the staging tables, with the race marker.
    Db().Execute("INSERT INTO Bonus (Name, Points, Query) VALUES ('Winner', 7, "
                 "'STNStatsID = (SELECT STNStatsID FROM STNStats WHERE STNRaceID = <RACEID> "
                 "AND Finish = 1)'), ('Pole', 3, 'Start = 1')");
    ApplyBonusPoints(*league, Simulation::NascarRacing3, 4, true);
    EXPECT_EQ(Results(4), (std::vector<std::string>{"1/2 A 182+7", "2/1 B 173+3"}));

    // The same rules on a stored race, once "STN" is taken out of them.
    Db().Execute("INSERT INTO Race (Name) VALUES ('Stored')");
    std::int32_t a = GetDriverID(Db(), "A"), b = GetDriverID(Db(), "B");
    Db().Execute("INSERT INTO Stats (RaceID, DriverID, Finish, Start, LapsLed, Points, Bonus) "
                 "VALUES (1, ?, 1, 2, 60, 175, 0), (1, ?, 2, 1, 10, 170, 0)",
                 {Value(a), Value(b)});
    ApplyBonusPoints(*league, Simulation::NascarRacing3, 1, false);
    EXPECT_EQ(Results(1, false), (std::vector<std::string>{"1/2 A 182+7", "2/1 B 173+3"}));
}

// A bonus rule may change Points and Bonus of its own table only; the reliability tests of
// confined SQL run the hostile conditions through the scoring.
TEST_F(ScoringTest, ABonusRuleThatWritesElsewhereIsRefused) {
    Open();
    for (const char* statement :
         {"UPDATE STNStats SET Finish=9 WHERE STNRaceID=1", "UPDATE Driver SET Exclude=1",
          "DELETE FROM STNStats", "ATTACH DATABASE 'x.db' AS x", "PRAGMA foreign_keys=OFF",
          "DROP TABLE Driver"}) {
        EXPECT_THROW(RunBonusRule(Db(), "Rule", statement, "STNStats"), ConfinedSqlError)
            << statement;
    }
    EXPECT_TRUE(Db().TableExists("Driver"));
    EXPECT_EQ(Db().Scalar("PRAGMA foreign_keys").AsInteger(), 1);
}

TEST_F(ScoringTest, RecalculationRenumbersAndRescoresFromScratch) {
    OpenStaged();
    RecalculateRace(*league, 5, true);
    RecalculateRace(*league, 5, true); // twice gives the same
    // Starts: C fastest; A and D tie on speed and keep their old order; B has no speed.
    EXPECT_EQ(Results(5), (std::vector<std::string>{"1/3 A 175+0", "2/4 B 180+10", "3/1 C 165+0",
                                                    "4/2 D 165+5"}));
}

TEST_F(ScoringTest, LegendsRacesAreRescoredWithTheScaleTheyWereScoredWith) {
    OpenStaged(1);
    RecalculateRace(*league, 6, true);
    EXPECT_EQ(Results(6),
              (std::vector<std::string>{"1/1 A 86+0", "2/2 B 84+0", "3/3 C 82+0", "4/4 D 80+0"}));
    // Without a recognisable scale the standard one is used.
    RecalculateRace(*league, 7, true);
    EXPECT_EQ(Results(7), (std::vector<std::string>{"1/1 A 175+0", "2/2 B 170+0"}));
}

TEST(ScorePosition, BeyondTheTableScoresNothing) {
    PointTable table(2, 2);
    table.Set(1, 0, Value(10));
    table.Set(1, 1, Value(500));
    EXPECT_EQ(ScorePosition(table, 1, 0, true).prizeMoney, Value(500));
    EXPECT_TRUE(ScorePosition(table, 1, 0, false).prizeMoney.IsNull());
    EXPECT_EQ(ScorePosition(table, 2, 0, true).points, Value(0)); // empty cell
    EXPECT_EQ(ScorePosition(table, 3, 0, true).points, Value(0));
    EXPECT_TRUE(ScorePosition(table, 3, 0, true).prizeMoney.IsNull());
}

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
