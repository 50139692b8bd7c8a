#include <gtest/gtest.h>

#include <algorithm>

#include "data/Database.h"
#include "support/Checks.h"
#include "support/CliFixture.h"

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
    std::int64_t Count(const std::string& file, const std::string& sql) {
        return Database::Open(file).Scalar(sql).AsInteger();
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
    EXPECT_EQ(Count(league + ".bak", "SELECT Count(*) FROM Driver WHERE Name='Soren Halverson'"),
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
    EXPECT_EQ(Count(league, "SELECT Count(*) FROM Driver"), 21);
    r = Cli({"remove-drivers", league, "tom tank", "Nadia Moreau", "--yes"});
    EXPECT_EQ(r.out, "removed\tTom Tank\t0 results\nremoved\tNadia Moreau\t3 results\n");
    EXPECT_EQ(Count(league, "SELECT Count(*) FROM Stats"), 57);
    EXPECT_EQ(Count(league + ".bak", "SELECT Count(*) FROM Stats"), 60);
}

} // namespace
} // namespace scorewell
