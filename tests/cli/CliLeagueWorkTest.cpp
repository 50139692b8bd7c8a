#include <gtest/gtest.h>

#include <filesystem>

#include "common/Paths.h"
#include "data/Database.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

using test::RunCli;

const std::string kFixtures = SCOREWELL_FIXTURES_DIR;
const std::string kDemo = std::string(SCOREWELL_SOURCE_DIR) + "/resources/demo/";

class CliLeagueWorkTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string league = dir.File("cup.slf");

    test::ProcessResult Cli(std::vector<std::string> rest) {
        rest.insert(rest.begin(), {"--program-folder", dir.File("prog")});
        return RunCli(rest);
    }
    void SetUp() override {
        ASSERT_EQ(Cli({"new", league, "--sim", "0", "--drop", "1"}).exitCode, 0);
    }
};

TEST_F(CliLeagueWorkTest, ImportReportsEveryFileAndImportsTheGoodOnes) {
    auto r = Cli({"import", league, kDemo + "01-harbor-point-400.stn",
                  kFixtures + "/stn/refused-header.stn", kDemo + "02-millbrook-500.stn"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, "staged\t" + kDemo +
                         "01-harbor-point-400.stn\t20 drivers\n"
                         "failed\t" +
                         kFixtures + "/stn/refused-header.stn\t\"" + kFixtures +
                         "/stn/refused-header.stn\" does not seem to be a race final!\n"
                         "staged\t" +
                         kDemo +
                         "02-millbrook-500.stn\t20 drivers\n"
                         "imported\t2 races\n");
    Database db = Database::Open(league);
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Stats").AsInteger(), 40);
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM STNRace").AsInteger(), 0);

    r = Cli({"races", league});
    EXPECT_EQ(r.out, "RaceID\tRace\tLaps\tMiles\tStandings File\n"
                     "1\tHarbor Point 400\t267\t400\t01-harbor-point-400.stn\n"
                     "2\tMillbrook 500\t200\t500\t02-millbrook-500.stn\n");
}

TEST_F(CliLeagueWorkTest, StandingsMarkDroppedResultsAndShowTheWindowsFigures) {
    std::vector<std::string> args = {"import", league};
    for (const auto& entry : std::filesystem::directory_iterator(kDemo)) {
        if (entry.path().extension() == ".stn") {
            args.push_back(entry.path().string());
        }
    }
    ASSERT_EQ(Cli(args).exitCode, 0);
    auto r = Cli({"standings", league});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> lines;
    for (std::size_t from = 0, at; (at = r.out.find('\n', from)) != std::string::npos;
         from = at + 1) {
        lines.push_back(r.out.substr(from, at - from));
    }
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Results based on each driver's best 5 finishes of 6 events:");
    EXPECT_EQ(lines[1], "Driver\tPoints\tInterval\tStarts\tWins\tTop 5\tTop 10\tPoles\tLaps Led\t"
                        "Bonus\tAvg Start\tAvg Finish");
    EXPECT_NE(lines[2].find("\t--\t6\t"), std::string::npos) << lines[2];
    EXPECT_EQ(lines.size(), 22u);

    EXPECT_EQ(Cli({"standings", league, "--report", "race winners"}).exitCode, 0);
    r = Cli({"standings", league, "--report", "No Such Report"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("\"No Such Report\""), std::string::npos);
}

TEST_F(CliLeagueWorkTest, ExportWritesPagesWithTheSavedSettings) {
    ASSERT_EQ(Cli({"import", league, kDemo + "01-harbor-point-400.stn"}).exitCode, 0);
    {
        Database db = Database::Open(league);
        db.Execute("UPDATE Settings SET SettingValue='Gulf &amp; Lakes League' "
                   "WHERE SettingsID=2");
    }
    auto r = Cli({"export", league, "--report", "1", "-o", dir.File("standings.htm")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string page = test::ReadFileBytes(dir.File("standings.htm"));
    EXPECT_EQ(page.rfind("<HTML><HEAD>\r\n<TITLE>Gulf &amp; Lakes League</TITLE>\r\n", 0), 0u);
    EXPECT_NE(page.find("<H3><FONT COLOR=\"#008000\">Results after 1 events</FONT></H3>"),
              std::string::npos);
    Database db = Database::Open(league);
    EXPECT_EQ(db.Scalar("SELECT SettingValue FROM Settings WHERE SettingsID=4").AsText(),
              "Results after 1 events");

    r = Cli({"export", league, "--race", "1", "-o", dir.File("race.htm")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    page = test::ReadFileBytes(dir.File("race.htm"));
    EXPECT_NE(page.find("<H2><FONT COLOR=\"#000000\">Harbor Point 400</FONT></H2><H3><FONT "
                        "COLOR=\"#008000\">1.5 miles - 267 laps</FONT></H3>"),
              std::string::npos);
    // Without a dialog the race's name comes straight from its result file: it is escaped.
    {
        Database renamed = Database::Open(league);
        renamed.Execute("UPDATE Race SET Name='<b onclick=x>400</b>'");
    }
    ASSERT_EQ(Cli({"export", league, "--race", "1", "-o", dir.File("race.htm")}).exitCode, 0);
    EXPECT_NE(test::ReadFileBytes(dir.File("race.htm")).find("&lt;b onclick=x&gt;400&lt;/b&gt;"),
              std::string::npos);
    r = Cli({"export", league, "--race", "9", "-o", dir.File("none.htm")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(FileExists(dir.File("none.htm")));
    EXPECT_EQ(Cli({"export", league, "-o", dir.File("x.htm")}).exitCode, 2);
}

} // namespace
} // namespace scorewell
