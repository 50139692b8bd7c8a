#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "data/Database.h"
#include "support/CliFixture.h"
#include "support/Season1992.h"

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
    EXPECT_NE(r.out.find("\n43\t34\t\ncustom\toff\ncustom-bonus\toff\nbonus\tLed a Lap\t5\n"),
              std::string::npos)
        << r.out;

    // Later options work on what the earlier ones left.
    r = Cli({"points", league, "--positions", "3", "--fill", "1", "5", "10", "3", "--fill-prize",
             "1", "2", "900", "100", "--custom", "on", "--bonus", "POLE=2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "saved\t5 positions\nwould change\t0 races\n");
    r = Cli({"points", league, "--csv"});
    const std::string table =
        "Position,Points,Prize Money\n1,10,900\n2,7,800\n3,4,0\n4,1,0\n5,0,0\n";
    EXPECT_EQ(r.out, table);
    EXPECT_NE(Cli({"points", league}).out.find("custom\ton\ncustom-bonus\toff\n"),
              std::string::npos);
    EXPECT_NE(Cli({"points", league}).out.find("bonus\tPole\t2\n"), std::string::npos);

    test::WriteFileBytes(dir.File("bad.csv"), "Position,Points,Prize Money\n1,25,\n2,x,\n");
    r = Cli({"points", league, "--custom", "off", "--table", dir.File("bad.csv")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("bad.csv\" line 3: the points \"x\""), std::string::npos) << r.err;
    r = Cli({"points", league, "--bonus", "Nope=1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("no bonus rule \"Nope\"; its rules are \"Led a Lap\""), std::string::npos)
        << r.err;
    EXPECT_EQ(Cli({"points", league, "--csv"}).out, table);
    EXPECT_EQ(Cli({"points", league, "--csv", "--recalc"}).exitCode, 2);
}

// A season's points and winnings by hand: every counted car in finishing order scores its
// position's points and prize money, 5 bonus points for leading a lap (ledLapBonus with the
// league's own bonus points) and 5 more for leading the most laps.
struct Tally {
    std::map<std::string, long> points, bonus, winnings;
};
Tally ByHand(const test::Season1992& season, const std::vector<std::pair<int, int>>& table,
             int ledLapBonus) {
    Tally tally;
    for (const auto& [race, results] : season.results) {
        int mostLed = 0;
        for (const auto& r : results) {
            mostLed = std::max(mostLed, std::stoi(r.at("laps_led")));
        }
        for (std::size_t n = 0; n < results.size(); ++n) {
            const std::string& driver = results[n].at("driver");
            const int led = std::stoi(results[n].at("laps_led"));
            const int bonus = (led > 0 ? ledLapBonus : 0) + (led == mostLed ? 5 : 0);
            tally.bonus[driver] += bonus;
            tally.points[driver] += bonus;
            if (n < table.size()) {
                tally.points[driver] += table[n].first;
                tally.winnings[driver] += table[n].second;
            }
        }
    }
    return tally;
}

TEST_F(CliPointsTest, ARealSeasonRescoredWithATopTenTableAndBackAgain) {
    const test::Season1992 season = test::WriteSeason1992(dir.Path());
    std::vector<std::string> import = {"import", league};
    import.insert(import.end(), season.files.begin(), season.files.end());
    ASSERT_EQ(Cli(import).exitCode, 0);

    const std::vector<std::pair<int, int>> topTen = {
        {25, 100000}, {18, 70000}, {15, 50000}, {12, 40000}, {10, 35000},
        {8, 30000},   {6, 27500},  {4, 25000},  {2, 22500},  {1, 20000}};
    std::string csv = "Position,Points,Prize Money\n";
    for (std::size_t p = 0; p < topTen.size(); ++p) {
        csv += std::to_string(p + 1) + "," + std::to_string(topTen[p].first) + "," +
               std::to_string(topTen[p].second) + "\n";
    }
    test::WriteFileBytes(dir.File("top10.csv"), csv);
    auto r =
        Cli({"points", league, "--table", dir.File("top10.csv"), "--custom", "on", "--recalc"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "saved\t10 positions\nrecalculated\t29 races\n");

    auto byDriver = [&] {
        std::map<std::string, std::vector<Value>> got;
        Database db = Database::Open(league);
        for (auto& row : db.QueryAll("SELECT Name, Sum(Points), Sum(Bonus), Sum(PrizeMoney) "
                                     "FROM Stats JOIN Driver USING (DriverID) GROUP BY DriverID")
                             .rows) {
            got[row[0].AsText()] = {row[1], row[2], row[3]};
        }
        return got;
    };
    const Tally custom = ByHand(season, topTen, 5);
    auto got = byDriver();
    ASSERT_EQ(got.size(), season.standings.size());
    for (const auto& [driver, values] : got) {
        EXPECT_EQ(values[0].AsInteger(), custom.points.at(driver)) << driver;
        const auto won = custom.winnings.find(driver);
        EXPECT_EQ(values[2].AsInteger(), won == custom.winnings.end() ? 0 : won->second) << driver;
    }
    r = Cli({"standings", league, "--report", "Prize Money"});
    EXPECT_NE(r.out.find("Davey Allison\t"), std::string::npos) << r.out;

    // Back to the preset scale: the official points of 1992, and no winnings.
    r = Cli({"points", league, "--custom", "off", "--recalc"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    got = byDriver();
    for (const auto& s : season.standings) {
        EXPECT_EQ(got.at(s.at("driver"))[0].AsInteger(), std::stol(s.at("official_pts_sum")))
            << s.at("driver");
        EXPECT_TRUE(got.at(s.at("driver"))[2].IsNull());
    }

    // The league's own bonus points: 10 for leading a lap, the most laps led still 5.
    r = Cli({"points", league, "--custom-bonus", "on", "--bonus", "Led a Lap=10", "--recalc"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const Tally preset = ByHand(season, {}, 5);
    const Tally ownBonus = ByHand(season, {}, 10);
    got = byDriver();
    for (const auto& s : season.standings) {
        const std::string& driver = s.at("driver");
        EXPECT_EQ(got.at(driver)[1].AsInteger(), ownBonus.bonus.at(driver)) << driver;
        EXPECT_EQ(got.at(driver)[0].AsInteger(), std::stol(s.at("official_pts_sum")) -
                                                     preset.bonus.at(driver) +
                                                     ownBonus.bonus.at(driver))
            << driver;
    }
}

} // namespace
} // namespace scorewell
