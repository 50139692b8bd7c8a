// The season as data and as a site from the command line, on the real 1992 championship.

#include <gtest/gtest.h>

#include <filesystem>

#include "data/Database.h"
#include "support/Checks.h"
#include "support/CliFixture.h"
#include "support/Golden.h"
#include "support/Seasons.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;

class CliSeasonTest : public test::CliFixture {
protected:
    void SetUp() override { test::CopyCup1992League(league); }
    std::string league = dir.File("cup.slf");
};

// The standings carry the official 1992 points (the grid of the site is checked against them);
// CSV and JSON hold the values of the tab-separated lines, the leader's interval as 0.
TEST_F(CliSeasonTest, StandingsAndResultsInEveryFormat) {
    for (const std::string format : {"tsv", "csv", "json"}) {
        for (const std::string command : {"standings", "results"}) {
            std::vector<std::string> args = {command, league, "--format", format};
            if (command == "results") {
                args.insert(args.begin() + 2, "1");
            }
            const auto r = Cli(args);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            test::ExpectGolden("cli/cup1992-" + command + "." + format, r.out);
        }
    }
    EXPECT_EQ(Cli({"races", league, "--format", "xml"}).exitCode, 2);
}

TEST_F(CliSeasonTest, RemovingRacesNeedsYesAndTheNextPublishDropsTheirPages) {
    ASSERT_EQ(Cli({"export", league, "--site", dir.File("site")}).exitCode, 0);
    EXPECT_TRUE(fs::exists(dir.File("site/race-5-transouth-500.htm")));

    auto r = Cli({"remove-races", league, "5"});
    EXPECT_EQ(r.exitCode, 2);
    r = Cli({"remove-races", league, "5", "77", "--yes"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(test::Has(r.err, "There is no race number 77."));
    auto races = [](const std::string& file) {
        return Sql(file, "SELECT Count(*) FROM Race").AsInteger();
    };
    EXPECT_EQ(races(league), 29);
    EXPECT_FALSE(fs::exists(league + ".bak"));

    r = Cli({"remove-races", league, "5", "--yes"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "removed\t1 races\nbackup\t" + league + ".bak\n");
    EXPECT_EQ(races(league), 28);
    EXPECT_EQ(races(league + ".bak"), 29);

    r = Cli({"export", league, "--site", dir.File("site")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(test::Has(r.out, "\nremoved\trace-5-transouth-500.htm\nindex\t"));
    EXPECT_EQ(Cli({"export", league, "--site", dir.File("site"), "-o", "x.htm"}).exitCode, 2);
}

class CliPointsTest : public test::CliFixture {
protected:
    std::string league = dir.File("cup.slf");

    void SetUp() override { ASSERT_EQ(Cli({"new", league, "--sim", "0"}).exitCode, 0); }
};

TEST_F(CliPointsTest, ShowsChangesInOrderAndRefusesABadTableWhole) {
    auto r = Cli({"points", league});
    EXPECT_EQ(r.out.rfind("Pos\tPoints\tPrize Money\n1\t175\t\n2\t170\t\n", 0), 0u) << r.out;
    EXPECT_TRUE(
        test::Has(r.out, "\n43\t34\t\ncustom\toff\ncustom-bonus\toff\nbonus\tLed a Lap\t5\n"));

    // Later options work on what the earlier ones left.
    r = Cli({"points", league, "--positions", "3", "--fill", "1", "5", "10", "3", "--fill-prize",
             "1", "2", "900", "100", "--custom", "on", "--bonus", "POLE=2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "saved\t5 positions\nwould change\t0 races\n");
    const std::string table =
        "Position,Points,Prize Money\n1,10,900\n2,7,800\n3,4,0\n4,1,0\n5,0,0\n";
    EXPECT_EQ(Cli({"points", league, "--csv"}).out, table);
    EXPECT_TRUE(test::Has(Cli({"points", league}).out, "custom\ton\ncustom-bonus\toff\n"));
    EXPECT_TRUE(test::Has(Cli({"points", league}).out, "bonus\tPole\t2\n"));

    test::WriteFileBytes(dir.File("bad.csv"), "Position,Points,Prize Money\n1,25,\n2,x,\n");
    r = Cli({"points", league, "--custom", "off", "--table", dir.File("bad.csv")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(test::Has(r.err, "bad.csv\" line 3: the points \"x\""));
    r = Cli({"points", league, "--bonus", "Nope=1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(test::Has(r.err, "no bonus rule \"Nope\"; its rules are \"Led a Lap\""));
    EXPECT_EQ(Cli({"points", league, "--csv"}).out, table);
    EXPECT_EQ(Cli({"points", league, "--csv", "--recalc"}).exitCode, 2);
}

// The golden standings were worked out from tests/fixtures/cup1992 by hand: every counted car in
// finishing order scores its position's points and prize money, 5 bonus points for leading a lap
// (10 with the league's own bonus points) and 5 more for leading the most laps.
TEST_F(CliPointsTest, ARealSeasonRescoredWithATopTenTableAndBackAgain) {
    const std::string cup = dir.File("cup1992.slf");
    test::CopyCup1992League(cup);
    auto standings = [&] {
        const auto points = Cli({"standings", cup});
        const auto prize = Cli({"standings", cup, "--report", "Prize Money"});
        EXPECT_EQ(points.exitCode + prize.exitCode, 0) << points.err << prize.err;
        return points.out + prize.out;
    };
    const std::string official = standings();

    test::WriteFileBytes(dir.File("top10.csv"),
                         "Position,Points,Prize Money\n1,25,100000\n2,18,70000\n3,15,50000\n"
                         "4,12,40000\n5,10,35000\n6,8,30000\n7,6,27500\n8,4,25000\n9,2,22500\n"
                         "10,1,20000\n");
    auto r = Cli({"points", cup, "--table", dir.File("top10.csv"), "--custom", "on", "--recalc"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "saved\t10 positions\nrecalculated\t29 races\n");
    test::ExpectGolden("cli/cup1992-top-ten.txt", standings());

    // Back to the preset scale: the official points of 1992, and no winnings.
    r = Cli({"points", cup, "--custom", "off", "--recalc"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(standings(), official);

    r = Cli({"points", cup, "--custom-bonus", "on", "--bonus", "Led a Lap=10", "--recalc"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    test::ExpectGolden("cli/cup1992-led-a-lap-10.txt", standings());
}

} // namespace
} // namespace scorewell
