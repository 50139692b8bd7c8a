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
        return Database::Open(file).Scalar("SELECT Count(*) FROM Race").AsInteger();
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

} // namespace
} // namespace scorewell
