#include <gtest/gtest.h>

#include "support/Checks.h"
#include "support/CliFixture.h"
#include "support/Golden.h"
#include "support/Seasons.h"

namespace scorewell {
namespace {

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
