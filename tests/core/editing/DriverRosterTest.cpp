#include <gtest/gtest.h>

#include "common/Errors.h"
#include "common/Paths.h"
#include "core/LeagueFixture.h"
#include "data/Drivers.h"
#include "editing/Adjustments.h"
#include "editing/DriverRoster.h"
#include "support/Checks.h"

namespace scorewell {
namespace {

class DriverRosterTest : public test::LeagueFixture {
protected:
    void SetUp() override {
        Open();
        test::RunSqlFixture(Db(), "sql/roster.sql");
    }
    std::string Roster() {
        std::string text;
        for (const RosterDriver& r : ListRoster(Db())) {
            const DriverRow& d = r.driver;
            text += d.name + ":" + std::to_string(r.results) + (d.exclude ? " x" : "") +
                    (d.rookie ? " r" : "") + (d.handicap ? " h" + std::to_string(d.handicap) : "") +
                    "; ";
        }
        return text;
    }
    const std::int32_t jones = 1, smith = 2, cole = 3;
};

TEST_F(DriverRosterTest, NamesClashWithoutRegardToLetterCaseButNotWithThemselves) {
    EXPECT_EQ(Roster(), "Al Smith:1; Cy Cole:3 x; Ray Jones:2 r h5; ");
    EXPECT_THROW(AddDriver(Db(), {"  al SMITH ", 0, false, false}), ScorewellError);
    EXPECT_THROW(AddDriver(Db(), {"Bar|Foo", 0, false, false}), ScorewellError);
    EXPECT_THROW(AddDriver(Db(), {"   ", 0, false, false}), ScorewellError);
    EXPECT_EQ(FindNameClash(Db(), "RAY JONES"), jones);
    EXPECT_EQ(FindNameClash(Db(), "RAY JONES", jones), 0);

    // Its own name in other case is a rename; another driver's is refused, changing nothing.
    UpdateDriver(Db(), jones, {"RAY JONES", -12, false, true});
    EXPECT_THROW(UpdateDriver(Db(), smith, {"ray jones", 0, true, true}), ScorewellError);
    EXPECT_EQ(Roster(), "Al Smith:1; Cy Cole:3 x; RAY JONES:2 x h-12; ");
    EXPECT_EQ(DriverByName(Db(), "ray jones"), jones);
    EXPECT_THROW(DriverByName(Db(), "Nobody"), ScorewellError);

    SetExcludedById(Db(), {smith, jones}, false);
    EXPECT_EQ(Roster(), "Al Smith:1; Cy Cole:3 x; RAY JONES:2 h-12; ");
}

TEST_F(DriverRosterTest, HandicapIsTheLeadingWholeNumber) {
    for (auto [text, value] :
         {std::pair{"", 0}, {"-", 0}, {"12-3", 12}, {"-45", -45}, {"--3", 0}, {"99999", 99999}}) {
        EXPECT_EQ(HandicapValue(text), value) << text;
    }
}

// The copy kept before a merge or a removal is checked by the transcript of the command line
// (tests/fixtures/cli/drivers.txt).
TEST_F(DriverRosterTest, DriversOfOneRaceAreNotMergedOthersAreWithEveryResult) {
    EXPECT_TRUE(test::Has(test::ErrorOf([&] { MergeDrivers(*league, cole, jones); }),
                          "\"Daytona\" (race 1) and \"Atlanta\" (race 2)"));
    EXPECT_EQ(Roster(), "Al Smith:1; Cy Cole:3 x; Ray Jones:2 r h5; ");
    EXPECT_FALSE(FileExists(league->BackupPath()));

    MergeDrivers(*league, smith, jones);
    // Jones keeps his name, flags and the points of every result; Smith is gone.
    EXPECT_EQ(Roster(), "Cy Cole:3 x; Ray Jones:3 r h5; ");
    EXPECT_EQ(
        Rows("SELECT RaceID, Points FROM Stats WHERE DriverID=? ORDER BY RaceID", {Value(jones)}),
        (std::vector<std::string>{"1|185", "2|170", "3|185"}));
}

TEST_F(DriverRosterTest, RemovingDriversTakesTheirResultsAlone) {
    EXPECT_EQ(RemoveDrivers(*league, {cole, smith}), 4);
    EXPECT_EQ(Roster(), "Ray Jones:2 r h5; ");
    // Nothing else is rescored.
    EXPECT_EQ(Rows("SELECT Finish, Points FROM Stats ORDER BY RaceID"),
              (std::vector<std::string>{"1|185", "2|170"}));
}

class AdjustmentsTest : public test::LeagueFixture {
protected:
    void SetUp() override {
        Open();
        test::RunSqlFixture(Db(), "sql/adjustments-league.sql");
    }
    // The message of the refusal, with nothing stored.
    std::string Refusal(const AdjustmentEntry& entry) {
        const std::string error = test::ErrorOf([&] { AddAdjustment(Db(), entry); });
        EXPECT_EQ(Count("Adjustment"), 0);
        return error;
    }
};

TEST_F(AdjustmentsTest, AnEntryIsCheckedWholeBeforeAnythingIsStored) {
    // An unknown driver or race, and the points "0" and "ten", are refused in the command line's
    // transcript (tests/fixtures/cli/drivers.txt) with their whole messages.
    for (const char* points : {"0", "-0", "abc", "2.5", "+-5", "", "3000000000", "&H10", "5 5"}) {
        EXPECT_TRUE(test::Has(Refusal({"Amos Whitlock", std::nullopt, points, "Wreck"}),
                              "a whole number other than 0"))
            << points;
    }
    EXPECT_TRUE(
        test::Has(Refusal({"Amos Whitlock", std::nullopt, "-25", " \t "}), "cannot be blank"));
    // The file itself refuses what the checks refuse, whoever writes to it.
    EXPECT_THROW(Db().Execute("INSERT INTO Adjustment (DriverID, Points, Reason, Entered) "
                              "VALUES (1, -5, '  ', '2026-12-06')"),
                 DbError);
    EXPECT_THROW(Db().Execute("INSERT INTO Adjustment (DriverID, Points, Reason, Entered) "
                              "VALUES (1, -5, 'Wreck', 'yesterday')"),
                 DbError);
}

TEST_F(AdjustmentsTest, AddEditAndRemoveAreOneChangeEach) {
    const std::int32_t penalty =
        AddAdjustment(Db(), {"AMOS whitlock", 2, " -25 ", "  Wrecked <b>Bram</b> "});
    const std::int32_t appeal =
        AddAdjustment(Db(), {"bram okonkwo", std::nullopt, "+10", "Appeal"});
    const std::string today = Db().Scalar("SELECT date('now', 'localtime')").AsText();

    std::string rows;
    for (const AdjustmentRow& r : ReadAdjustments(Db())) {
        rows += r.driver + " " + (r.raceId ? std::to_string(*r.raceId) : "-") + " " + r.race + " " +
                std::to_string(r.points) + " " + r.reason + " " + r.entered + "\n";
    }
    // A race without a name goes by its file; blanks around the points and reason go.
    EXPECT_EQ(rows, "Amos Whitlock 2 02.stn -25 Wrecked <b>Bram</b> " + today + "\n" +
                        "Bram Okonkwo -  10 Appeal " + today + "\n");
    ASSERT_EQ(ReadAdjustments(Db(), 2).size(), 1u);
    EXPECT_EQ(ReadAdjustments(Db(), 2)[0].adjustmentId, penalty);

    // A change keeps the day the decision was entered; a refused change changes nothing.
    Db().Execute("UPDATE Adjustment SET Entered='2026-01-02' WHERE AdjustmentID=?", {penalty});
    EditAdjustment(Db(), penalty, {"Bram Okonkwo", 1, "-5", "Reduced on appeal"});
    EXPECT_THROW(EditAdjustment(Db(), penalty, {"Bram Okonkwo", 1, "0", "x"}), ScorewellError);
    EXPECT_EQ(Rows("SELECT DriverID, RaceID, Points, Reason, Entered FROM Adjustment "
                   "WHERE AdjustmentID=?",
                   {penalty}),
              std::vector<std::string>{"2|1|-5|Reduced on appeal|2026-01-02"});

    RemoveAdjustment(Db(), appeal);
    EXPECT_EQ(Count("Adjustment"), 1);
    EXPECT_THROW(RemoveAdjustment(Db(), appeal), ScorewellError);
    EXPECT_THROW(EditAdjustment(Db(), appeal, {"Bram Okonkwo", 1, "-5", "x"}), ScorewellError);
}

TEST_F(AdjustmentsTest, AnAdjustmentGoesWithItsDriverOrItsRace) {
    AddAdjustment(Db(), {"Amos Whitlock", std::nullopt, "-25", "Season"});
    AddAdjustment(Db(), {"Amos Whitlock", 1, "-10", "Race 1"});
    AddAdjustment(Db(), {"Bram Okonkwo", 2, "5", "Race 2"});
    Db().Execute("DELETE FROM Race WHERE RaceID=2");
    EXPECT_EQ(Rows("SELECT Reason FROM Adjustment ORDER BY AdjustmentID"),
              (std::vector<std::string>{"Season", "Race 1"}));
    Db().Execute("DELETE FROM Driver WHERE DriverID=1");
    EXPECT_EQ(Count("Adjustment"), 0);
}

} // namespace
} // namespace scorewell
