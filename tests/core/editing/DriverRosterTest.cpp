#include <gtest/gtest.h>

#include "common/Paths.h"
#include "core/LeagueFixture.h"
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

} // namespace
} // namespace scorewell
