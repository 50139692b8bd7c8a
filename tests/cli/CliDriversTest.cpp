#include <gtest/gtest.h>

#include <algorithm>

#include "data/Database.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

const std::string kDemo = std::string(SCOREWELL_SOURCE_DIR) + "/resources/demo/";

class CliDriversTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string league = dir.File("cup.slf");

    test::ProcessResult Cli(std::vector<std::string> rest) {
        rest.insert(rest.begin(), {"--program-folder", dir.File("prog")});
        return test::RunCli(rest);
    }
    // A league of the demo season's first three races; the second file, when misspelt, names
    // its winner "Soren Halverson".
    void ImportSeason(const std::string& path, bool misspelt) {
        ASSERT_EQ(Cli({"new", path, "--sim", "0"}).exitCode, 0);
        std::string second = kDemo + "02-millbrook-500.stn";
        if (misspelt) {
            std::string text = test::ReadFileBytes(second);
            text.replace(text.find("Soren Halvorsen"), 15, "Soren Halverson");
            second = dir.File("02-millbrook-500.stn");
            test::WriteFileBytes(second, text);
        }
        const auto r = Cli({"import", path, kDemo + "01-harbor-point-400.stn", second,
                            kDemo + "03-cedar-valley-250.stn"});
        ASSERT_EQ(r.exitCode, 0) << r.err;
        // The misspelt name is pointed out before the races go in.
        EXPECT_EQ(r.out.find("similar\t") != std::string::npos, misspelt) << r.out;
        if (misspelt) {
            EXPECT_NE(r.out.find("\nsimilar\tSoren Halverson\tSoren Halvorsen\nimported\t3 races"),
                      std::string::npos)
                << r.out;
        }
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
    EXPECT_NE(r.err.find("already has a driver named \"Soren Halvorsen\""), std::string::npos)
        << r.err;
    r = Cli({"edit-driver", league, "SOREN HALVERSON", "--name", "soren halvorsen", "--merge"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "merged\tSoren Halverson\tSoren Halvorsen\t1 results\n");
    EXPECT_EQ(Standings(league), Standings(official));
    Database copy = Database::Open(league + ".bak");
    EXPECT_EQ(copy.Scalar("SELECT Count(*) FROM Driver WHERE Name='Soren Halverson'").AsInteger(),
              1);

    // A merge of two drivers of one race is refused, naming the races.
    r = Cli({"edit-driver", league, "Nadia Moreau", "--name", "Amos Whitlock", "--merge"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("\"Harbor Point 400\" (race 1), \"Millbrook 500\" (race 2) and"),
              std::string::npos)
        << r.err;
}

TEST_F(CliDriversTest, RookiesStandInTheRookieStandingsWithTheirPoints) {
    ImportSeason(league, false);
    EXPECT_EQ(Cli({"edit-driver", league, "nadia moreau", "--rookie", "yes"}).out,
              "changed\tNadia Moreau\n");
    const std::string all = Standings(league);
    const std::string rookies = Standings(league, "Rookie Standings");
    // The caption, the heading and one driver, with the points of the point standings.
    ASSERT_EQ(std::count(rookies.begin(), rookies.end(), '\n'), 3) << rookies;
    const std::string line = rookies.substr(rookies.rfind('\n', rookies.size() - 2) + 1);
    const std::string namePoints = line.substr(0, line.find('\t', line.find('\t') + 1) + 1);
    EXPECT_EQ(namePoints, "Nadia Moreau\t447\t") << rookies;
    EXPECT_NE(all.find("\n" + namePoints), std::string::npos) << all;
}

TEST_F(CliDriversTest, DriversAreAddedListedAndRemovedOnlyWhenConfirmed) {
    ImportSeason(league, false);
    auto r = Cli({"add-driver", league, "  Tom Tank ", "--rookie", "--handicap", "-12"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "added\tTom Tank\t21\n");
    EXPECT_EQ(Cli({"add-driver", league, "TOM TANK"}).exitCode, 1);
    EXPECT_EQ(Cli({"add-driver", league, "Al Able", "--handicap", "123456"}).exitCode, 2);

    r = Cli({"drivers", league});
    EXPECT_NE(r.out.find("DriverID\tName\tExcluded\tRookie\tHandicap\tResults\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("\tTom Tank\tNo\tYes\t-12\t0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\tNadia Moreau\tNo\tNo\t0\t3\n"), std::string::npos) << r.out;

    // Without --yes nothing goes; an unknown name stops the whole command.
    EXPECT_EQ(Cli({"remove-drivers", league, "Tom Tank"}).exitCode, 2);
    r = Cli({"remove-drivers", league, "tom tank", "Nadia Moreau", "Nobody", "--yes"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("\"Nobody\""), std::string::npos) << r.err;
    Database before = Database::Open(league);
    EXPECT_EQ(before.Scalar("SELECT Count(*) FROM Driver").AsInteger(), 21);
    before.Close();
    r = Cli({"remove-drivers", league, "tom tank", "Nadia Moreau", "--yes"});
    EXPECT_EQ(r.out, "removed\tTom Tank\t0 results\nremoved\tNadia Moreau\t3 results\n");
    Database after = Database::Open(league);
    EXPECT_EQ(after.Scalar("SELECT Count(*) FROM Stats").AsInteger(), 57);
    Database copy = Database::Open(league + ".bak");
    EXPECT_EQ(copy.Scalar("SELECT Count(*) FROM Stats").AsInteger(), 60);
}

} // namespace
} // namespace scorewell
