#include <gtest/gtest.h>

#include <algorithm>

#include "data/Database.h"
#include "support/Checks.h"
#include "support/CliFixture.h"
#include <map>

namespace scorewell {
namespace {

class CliDriversTest : public test::CliFixture {
protected:
    std::string league = dir.File("cup.slf");

    // A league of the demo season's first three races; the second file, when misspelt, names
    // its winner "Soren Halverson".
    void ImportSeason(const std::string& path, bool misspelt) {
        ASSERT_EQ(Cli({"new", path, "--sim", "0"}).exitCode, 0);
        std::string second = test::kDemoFiles[1];
        if (misspelt) {
            std::string text = test::ReadFileBytes(second);
            text.replace(text.find("Soren Halvorsen"), 15, "Soren Halverson");
            second = dir.File("02-millbrook-500.stn");
            test::WriteFileBytes(second, text);
        }
        const auto r = Cli({"import", path, test::kDemoFiles[0], second, test::kDemoFiles[2]});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        // The misspelt name is pointed out before the races go in.
        EXPECT_EQ(
            test::Has(r.out, "\nsimilar\tSoren Halverson\tSoren Halvorsen\nimported\t3 races"),
            misspelt);
        EXPECT_EQ(test::Has(r.out, "similar"), misspelt);
    }
    std::string Standings(const std::string& path, const std::string& report = "Point Standings") {
        const auto r = Cli({"standings", path, "--report", report});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.out;
    }
};

TEST_F(CliDriversTest, AMisspeltNameMergedGivesTheOfficialStandings) {
    const std::string official = dir.File("official.slf");
    ImportSeason(official, false);
    ImportSeason(league, true);
    ASSERT_NE(Standings(league), Standings(official));

    // The right name is another driver's: refused unless merging.
    auto r = Cli({"edit-driver", league, "SOREN HALVERSON", "--name", "soren halvorsen"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(test::Has(r.err, "already has a driver named \"Soren Halvorsen\""));
    r = Cli({"edit-driver", league, "SOREN HALVERSON", "--name", "soren halvorsen", "--merge"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "merged\tSoren Halverson\tSoren Halvorsen\t1 results\n");
    EXPECT_EQ(Standings(league), Standings(official));
    EXPECT_EQ(Sql(league + ".bak", "SELECT Count(*) FROM Driver WHERE Name='Soren Halverson'")
                  .AsInteger(),
              1);
}

TEST_F(CliDriversTest, RookiesStandInTheRookieStandingsWithTheirPoints) {
    ImportSeason(league, false);
    EXPECT_EQ(Cli({"edit-driver", league, "nadia moreau", "--rookie", "yes"}).out,
              "changed\tNadia Moreau\n");
    const std::string rookies = Standings(league, "Rookie Standings");
    // The caption, the heading and one driver, with the points of the point standings.
    ASSERT_EQ(std::count(rookies.begin(), rookies.end(), '\n'), 3) << rookies;
    EXPECT_TRUE(test::Has(rookies, "\nNadia Moreau\t447\t"));
    EXPECT_TRUE(test::Has(Standings(league), "\nNadia Moreau\t447\t"));
}

TEST_F(CliDriversTest, DriversAreAddedListedAndRemovedOnlyWhenConfirmed) {
    ImportSeason(league, false);
    auto r = Cli({"add-driver", league, "  Tom Tank ", "--rookie", "--handicap", "-12"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "added\tTom Tank\t21\n");
    EXPECT_EQ(Cli({"add-driver", league, "TOM TANK"}).exitCode, 1);
    EXPECT_EQ(Cli({"add-driver", league, "Al Able", "--handicap", "123456"}).exitCode, 2);

    r = Cli({"drivers", league});
    EXPECT_EQ(r.out.rfind("DriverID\tName\tExcluded\tRookie\tHandicap\tResults\n", 0), 0u);
    EXPECT_TRUE(test::Has(r.out, "\tTom Tank\tNo\tYes\t-12\t0\n"));
    EXPECT_TRUE(test::Has(r.out, "\tNadia Moreau\tNo\tNo\t0\t3\n"));

    // Without --yes nothing goes; an unknown name stops the whole command.
    EXPECT_EQ(Cli({"remove-drivers", league, "Tom Tank"}).exitCode, 2);
    r = Cli({"remove-drivers", league, "tom tank", "Nadia Moreau", "Nobody", "--yes"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(test::Has(r.err, "\"Nobody\""));
    EXPECT_EQ(Sql(league, "SELECT Count(*) FROM Driver").AsInteger(), 21);
    r = Cli({"remove-drivers", league, "tom tank", "Nadia Moreau", "--yes"});
    EXPECT_EQ(r.out, "removed\tTom Tank\t0 results\nremoved\tNadia Moreau\t3 results\n");
    EXPECT_EQ(Sql(league, "SELECT Count(*) FROM Stats").AsInteger(), 57);
    EXPECT_EQ(Sql(league + ".bak", "SELECT Count(*) FROM Stats").AsInteger(), 60);
}

class CliAdjustmentsTest : public test::CliFixture {
protected:
    std::string league = dir.File("cup.slf");

    void SetUp() override { MakeDemoLeague(league, 2); }
    // Each driver's points in Point Standings.
    std::map<std::string, int> Points() {
        const test::ProcessResult r = Cli({"standings", league});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::map<std::string, int> points;
        std::size_t line = r.out.find('\n', r.out.find('\n') + 1) + 1;
        while (line < r.out.size()) {
            const std::size_t tab = r.out.find('\t', line);
            points[r.out.substr(line, tab - line)] = std::stoi(r.out.substr(tab + 1));
            line = r.out.find('\n', line) + 1;
        }
        return points;
    }
};

TEST_F(CliAdjustmentsTest, BadEntriesChangeNothingAndGoodOnesMoveTheStandings) {
    const std::map<std::string, int> before = Points();
    const std::string nothing = "ID\tDriver\tRace\tPoints\tReason\tDate\n";
    struct Refused {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Refused refused[] = {
        {{"Nobody", "-25", "--reason", "x"}, 1, "The league has no driver named \"Nobody\"."},
        {{"Amos Whitlock", "-25", "--reason", "x", "--race", "9"},
         1,
         "The league has no race number 9."},
        {{"Amos Whitlock", "0", "--reason", "x"}, 1, "a whole number other than 0"},
        {{"Amos Whitlock", "ten", "--reason", "x"}, 1, "a whole number other than 0"},
        {{"Amos Whitlock", "-25", "--reason", "  "}, 1, "cannot be blank"},
        {{"Amos Whitlock", "-25", "--reason", ""}, 1, "cannot be blank"},
        {{"Amos Whitlock", "-25"}, 2, "needs --reason"},
        {{"Amos Whitlock", "-25", "--reason", "x", "--race", "two"}, 2, "is not a race id"},
    };
    for (const Refused& r : refused) {
        std::vector<std::string> args = {"adjust", league};
        args.insert(args.end(), r.args.begin(), r.args.end());
        const test::ProcessResult got = Cli(args);
        EXPECT_EQ(got.exitCode, r.status) << got.err;
        EXPECT_TRUE(test::Has(got.err, r.message));
    }
    EXPECT_EQ(Cli({"adjustments", league}).out, nothing);

    test::ProcessResult r = Cli({"adjust", league, "amos WHITLOCK", "-25", "--reason",
                                 "Wreck\tunder caution", "--race", "2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "added\tadjustment 1\n");
    EXPECT_EQ(Cli({"adjust", league, "Bram Okonkwo", "+10", "--reason", "Appeal"}).out,
              "added\tadjustment 2\n");
    r = Cli({"adjustments", league});
    const std::string today = r.out.substr(r.out.size() - 11, 10);
    EXPECT_EQ(r.out, nothing + "1\tAmos Whitlock\tMillbrook 500\t-25\t\"Wreck\\tunder caution\"\t" +
                         today + "\n2\tBram Okonkwo\t\t10\tAppeal\t" + today + "\n");

    std::map<std::string, int> after = Points();
    EXPECT_EQ(after["Amos Whitlock"], before.at("Amos Whitlock") - 25);
    EXPECT_EQ(after["Bram Okonkwo"], before.at("Bram Okonkwo") + 10);
    EXPECT_EQ(Cli({"recalc", league, "--all"}).exitCode, 0);
    EXPECT_EQ(Points(), after);

    EXPECT_EQ(Cli({"remove-adjustment", league, "1"}).out, "removed\tadjustment 1\n");
    r = Cli({"remove-adjustment", league, "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "scorewell-cli: The league has no adjustment number 1.\n");
    EXPECT_EQ(Points()["Amos Whitlock"], before.at("Amos Whitlock"));
}

} // namespace
} // namespace scorewell
