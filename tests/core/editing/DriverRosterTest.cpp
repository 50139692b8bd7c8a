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
        jones = AddDriver(Db(), {"Ray Jones", 5, true, false});
        smith = AddDriver(Db(), {"Al Smith", 0, false, false});
        cole = AddDriver(Db(), {"Cy Cole", 0, false, true});
        Db().Execute("INSERT INTO Race (Name) VALUES ('Daytona'), ('Atlanta'), ('Bristol')");
        // Jones ran races 1 and 2, Smith 3, Cole all three.
        Result(1, jones, 1, 185);
        Result(2, jones, 2, 170);
        Result(3, smith, 1, 185);
        for (int race : {1, 2, 3}) {
            Result(race, cole, race == 2 ? 1 : 2, race == 2 ? 185 : 170);
        }
    }
    void Result(int race, std::int32_t driver, int finish, int points) {
        Db().Execute("INSERT INTO Stats (RaceID, DriverID, Start, Finish, Points) "
                     "VALUES (?, ?, ?, ?, ?)",
                     {Value(race), Value(driver), Value(finish), Value(finish), Value(points)});
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
    std::int32_t jones = 0, smith = 0, cole = 0;
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

TEST_F(DriverRosterTest, MergingMovesResultsAndKeepsTheSurvivorAndACopy) {
    MergeDrivers(*league, smith, jones);
    // Jones keeps his name, flags and the points of every result; Smith is gone.
    EXPECT_EQ(Roster(), "Cy Cole:3 x; Ray Jones:3 r h5; ");
    EXPECT_EQ(
        Rows("SELECT RaceID, Points FROM Stats WHERE DriverID=? ORDER BY RaceID", {Value(jones)}),
        (std::vector<std::string>{"1|185", "2|170", "3|185"}));
    ASSERT_TRUE(FileExists(league->BackupPath()));
    Database copy = Database::Open(league->BackupPath());
    EXPECT_EQ(copy.Scalar("SELECT Count(*) FROM Driver").AsInteger(), 3);
}

TEST_F(DriverRosterTest, DriversOfOneRaceAreNotMerged) {
    EXPECT_TRUE(test::Has(test::ErrorOf([&] { MergeDrivers(*league, cole, jones); }),
                          "\"Daytona\" (race 1) and \"Atlanta\" (race 2)"));
    EXPECT_EQ(Roster(), "Al Smith:1; Cy Cole:3 x; Ray Jones:2 r h5; ");
    EXPECT_FALSE(FileExists(league->BackupPath()));
}

TEST_F(DriverRosterTest, RemovingDriversTakesTheirResultsAlone) {
    EXPECT_EQ(RemoveDrivers(*league, {cole, smith}), 4);
    EXPECT_EQ(Roster(), "Ray Jones:2 r h5; ");
    EXPECT_EQ(Count("Stats"), 2);
    // Nothing else is rescored.
    EXPECT_EQ(Rows("SELECT Finish, Points FROM Stats ORDER BY RaceID"),
              (std::vector<std::string>{"1|185", "2|170"}));
    Database copy = Database::Open(league->BackupPath());
    EXPECT_EQ(copy.Scalar("SELECT Count(*) FROM Stats").AsInteger(), 6);
}

class AdjustmentsTest : public test::LeagueFixture {
protected:
    void SetUp() override {
        Open();
        Db().Execute("INSERT INTO Driver (DriverID, Name) VALUES (1, 'Amos Whitlock'), "
                     "(2, 'Bram Okonkwo')");
        UpdateDriverNameKeys(Db());
        Db().Execute("INSERT INTO Race (RaceID, Name, FileName) VALUES (1, 'Harbor Point 400', "
                     "'01.stn'), (2, NULL, '02.stn')");
    }
    // The message of the refusal, with nothing stored.
    std::string Refusal(const AdjustmentEntry& entry) {
        const std::string error = test::ErrorOf([&] { AddAdjustment(Db(), entry); });
        EXPECT_EQ(Count("Adjustment"), 0);
        return error;
    }
};

TEST_F(AdjustmentsTest, AnEntryIsCheckedWholeBeforeAnythingIsStored) {
    EXPECT_EQ(Refusal({"Nobody", std::nullopt, "-25", "Wreck"}),
              "The league has no driver named \"Nobody\".");
    EXPECT_EQ(Refusal({"Amos Whitlock", 9, "-25", "Wreck"}), "The league has no race number 9.");
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

    std::vector<AdjustmentRow> rows = ReadAdjustments(Db());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].driver, "Amos Whitlock");
    EXPECT_EQ(rows[0].raceId, 2);
    EXPECT_EQ(rows[0].race, "02.stn"); // a race without a name goes by its file
    EXPECT_EQ(rows[0].points, -25);
    EXPECT_EQ(rows[0].reason, "Wrecked <b>Bram</b>");
    EXPECT_EQ(rows[0].entered, today);
    EXPECT_EQ(rows[1].raceId, std::nullopt);
    EXPECT_EQ(rows[1].points, 10);
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
