#include <gtest/gtest.h>

#include <filesystem>

#include "common/Paths.h"
#include "common/Text.h"
#include "data/Database.h"
#include "support/Checks.h"
#include "support/CliFixture.h"
#include "support/Golden.h"

namespace scorewell {
namespace {

const std::string kFixtures = SCOREWELL_FIXTURES_DIR;

class CliLeagueWorkTest : public test::CliFixture {
protected:
    std::string league = dir.File("cup.slf");

    void SetUp() override {
        ASSERT_EQ(Cli({"new", league, "--sim", "0", "--drop", "1"}).exitCode, 0);
    }
    // A NASCAR Racing 4 folder with the track of the fixture's page, and a league of it at path.
    void MakeNr4League(const std::string& path, bool offline) {
        std::filesystem::create_directories(dir.File("nr4/tracks/millbrook"));
        test::WriteFileBytes(dir.File("nr4/NASCAR Racing 4.exe"), "");
        test::WriteFileBytes(
            dir.File("nr4/tracks/millbrook/track.ini"),
            "[track]\r\ntrack_name = Millbrook Speedway\xAE\r\ntrack_length = 2.5\r\n");
        ASSERT_EQ(Cli({"folders", "--nr4", dir.File("nr4")}).exitCode, 0);
        std::vector<std::string> args = {"new", path, "--sim", "3"};
        if (offline) {
            args.push_back("--offline");
        }
        ASSERT_EQ(Cli(args).exitCode, 0);
    }
};

TEST_F(CliLeagueWorkTest, ImportReportsEveryFileAndImportsTheGoodOnes) {
    auto r = Cli({"import", league, test::kDemoFiles[0], kFixtures + "/stn/refused-header.stn",
                  test::kDemoFiles[1]});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, "staged\t" + test::kDemo +
                         "01-harbor-point-400.stn\t20 drivers\n"
                         "failed\t" +
                         kFixtures + "/stn/refused-header.stn\t\"" + kFixtures +
                         "/stn/refused-header.stn\" does not seem to be a race final!\n"
                         "staged\t" +
                         test::kDemo +
                         "02-millbrook-500.stn\t20 drivers\n"
                         "imported\t2 races\n");
    EXPECT_EQ(Sql(league, "SELECT Count(*) FROM Stats").AsInteger(), 40);
    EXPECT_EQ(Sql(league, "SELECT Count(*) FROM STNRace").AsInteger(), 0);

    r = Cli({"races", league});
    EXPECT_EQ(r.out, "RaceID\tRace\tLaps\tMiles\tStandings File\n"
                     "1\tHarbor Point 400\t267\t400\t01-harbor-point-400.stn\n"
                     "2\tMillbrook 500\t200\t500\t02-millbrook-500.stn\n");
}

TEST_F(CliLeagueWorkTest, APageTheLeagueCouldNotImportFailsAloneAtStaging) {
    // A NASCAR Racing 4 league, and a page of the same race with one driver's name missing.
    const std::string nr4 = dir.File("nr4.slf");
    MakeNr4League(nr4, false);
    const std::string good = kFixtures + "/nr4/millbrook-standings.html";
    std::string page = test::ReadFileBytes(good);
    page.replace(page.find("<TD>Wes Pruitt</TD>"), 19, "<TD></TD>");
    const std::string nameless = dir.File("nameless.html");
    test::WriteFileBytes(nameless, page);

    auto r = Cli({"import", nr4, good, nameless});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out, "staged\t" + good + "\t5 drivers\nfailed\t" + nameless + "\t" + nameless +
                         " The race cannot be imported: the result in position 3 has no driver "
                         "name.\nimported\t1 races\n");
    EXPECT_EQ(Sql(nr4, "SELECT Count(*) FROM Stats").AsInteger(), 5);
}

TEST_F(CliLeagueWorkTest, AFileTheLeagueHoldsIsSkippedUnlessImportedAgain) {
    const std::string harbor = test::kDemoFiles[0];
    const std::string millbrook = test::kDemoFiles[1];
    ASSERT_EQ(Cli({"import", league, harbor, millbrook}).exitCode, 0);
    // Files are compared with the league, never with each other.
    const std::string cedar = test::kDemoFiles[2];
    auto r = Cli({"import", league, harbor, cedar, cedar});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "staged\t" + harbor + "\t20 drivers\nstaged\t" + cedar +
                         "\t20 drivers\nstaged\t" + cedar + "\t20 drivers\nskipped\t" + harbor +
                         "\talready imported as race 1\nimported\t2 races\n");
    // A race corrected since is another race; a recalculation changes nothing of that.
    Sql(league, "UPDATE Stats SET LapsLed=LapsLed+1 WHERE RaceID=2 AND Finish=20");
    ASSERT_EQ(Cli({"recalc", league, "--all"}).exitCode, 0);
    r = Cli({"import", league, harbor, millbrook});
    EXPECT_EQ(r.out, "staged\t" + harbor + "\t20 drivers\nstaged\t" + millbrook +
                         "\t20 drivers\nskipped\t" + harbor +
                         "\talready imported as race 1\nimported\t1 races\n");
    r = Cli({"import", league, harbor, "--again"});
    EXPECT_EQ(r.out, "staged\t" + harbor + "\t20 drivers\nimported\t1 races\n");
    EXPECT_EQ(Sql(league, "SELECT Count(*) FROM Race").AsInteger(), 6);
}

TEST_F(CliLeagueWorkTest, ACompactionThatFailsAfterTheWorkIsStoredIsOnlyAWarning) {
    if (!test::HasFileSizeLimits()) {
        GTEST_SKIP() << "a full disk is made with a file size limit, which Windows does not have";
    }
    ASSERT_EQ(Cli({"import", league, test::kDemoFiles[0]}).exitCode, 0);
    unsigned long long limit = 0;
    {
        // Space freed at the end of the file, so that the next close compacts the league. Files
        // may hold every page the league keeps, but not the journal of rewriting them all.
        Database db = Database::Open(league);
        db.Execute("CREATE TABLE Junk (Bytes BLOB)");
        db.Execute("INSERT INTO Junk VALUES (zeroblob(1000000))");
        db.Execute("DROP TABLE Junk");
        const auto kept = db.Scalar("PRAGMA page_count").AsInteger() -
                          db.Scalar("PRAGMA freelist_count").AsInteger();
        limit = static_cast<unsigned long long>(kept * db.Scalar("PRAGMA page_size").AsInteger());
    }
    test::ProcessOptions options;
    options.fileSizeLimit = limit + 64;
    auto r = Cli({"exclude", league, "Amos Whitlock"}, options);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "excluded\tAmos Whitlock\n");
    EXPECT_EQ(r.err.rfind("scorewell-cli: Warning: The league file \"" + league +
                              "\" was closed but could not be compacted: the disk is full.",
                          0),
              0u)
        << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(Sql(league, "SELECT Exclude FROM Driver WHERE Name='Amos Whitlock'").AsInteger(), 1);
}

TEST_F(CliLeagueWorkTest, TextFromFilesLeaguesAndArgumentsReachesTheTerminalEscaped) {
    ASSERT_EQ(Cli({"import", league, test::kDemoFiles[0]}).exitCode, 0);
    {
        Database db = Database::Open(league);
        db.Execute("UPDATE Race SET Name='Harbor \x1b]0;owned\x07 400'");
        db.Execute("UPDATE Driver SET Name='Tab\tC:\\Racer' WHERE DriverID=1");
        db.Execute("UPDATE Driver SET Name='C:\\temp\\Racer' WHERE DriverID=2");
    }
    // A value with a control character is quoted, its backslashes doubled; a backslash alone
    // stays one.
    auto r = Cli({"races", league});
    EXPECT_EQ(r.out, "RaceID\tRace\tLaps\tMiles\tStandings File\n"
                     "1\t\"Harbor \\x1b]0;owned\\x07 400\"\t267\t400\t01-harbor-point-400.stn\n");
    r = Cli({"drivers", league});
    EXPECT_TRUE(test::Has(r.out, "\n1\t\"Tab\\tC:\\\\Racer\"\tNo\t"));
    EXPECT_TRUE(test::Has(r.out, "\n2\tC:\\temp\\Racer\tNo\t"));
    r = Cli({"standings", league});
    EXPECT_TRUE(test::Has(r.out, "\n\"Tab\\tC:\\\\Racer\"\t"));
    // Arguments come back in messages the same way, and in the lines of an import.
    r = Cli({"standings", league, "--report", "\x1b[2J\xc2\x9b"});
    EXPECT_EQ(r.err, "scorewell-cli: There is no report \"\\x1b[2J\\xc2\\x9b\". \"scorewell-cli "
                     "reports\" lists the reports.\n");
    // The file need not exist (Windows could not even hold its name): the name comes back.
    const std::string odd = dir.File("odd\x1b[1m.stn");
    r = Cli({"import", league, odd});
    EXPECT_FALSE(test::Has(r.out, "\x1b"));
    // The escaped name is no path to make (its backslash would read as a separator).
    const std::string folder = odd.substr(0, odd.size() - std::string("odd\x1b[1m.stn").size());
    const std::string shown = "\"" + ReplaceAll(folder, "\\", "\\\\") + "odd\\x1b[1m.stn\"";
    EXPECT_EQ(r.out.rfind("failed\t" + shown + "\t", 0), 0u) << r.out;
}

TEST_F(CliLeagueWorkTest, OutputThatCannotBeWrittenFailsTheCommandButNotItsWork) {
#ifdef _WIN32
    GTEST_SKIP() << "output to a full disk is made with /dev/full and /bin/sh, which Windows lacks";
#endif
    ASSERT_EQ(Cli({"import", league, test::kDemoFiles[0]}).exitCode, 0);
    auto toFullDisk = [&](const std::vector<std::string>& args) {
        std::vector<std::string> shell = {"-c", "exec \"$0\" \"$@\" >/dev/full", SCOREWELL_CLI_PATH,
                                          "--program-folder", prog};
        shell.insert(shell.end(), args.begin(), args.end());
        return test::RunProcess("/bin/sh", shell);
    };
    auto r = toFullDisk({"races", league});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "scorewell-cli: The output could not be written: the disk is full. What the "
                     "command changed in the league is stored all the same.\n");
    r = toFullDisk({"import", league, test::kDemoFiles[1]});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(Sql(league, "SELECT Count(*) FROM Race").AsInteger(), 2);
    // The same race named twice is rescored, and counted, once.
    EXPECT_EQ(Cli({"recalc", league, "1", "1", "2", "1"}).out, "recalculated\t2 races\n");
}

TEST_F(CliLeagueWorkTest, StandingsMarkDroppedResultsAndShowTheWindowsFigures) {
    std::vector<std::string> args = {"import", league};
    args.insert(args.end(), test::kDemoFiles.begin(), test::kDemoFiles.end());
    ASSERT_EQ(Cli(args).exitCode, 0);
    auto r = Cli({"standings", league});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    test::ExpectGolden("cli/demo-standings.txt", r.out);

    EXPECT_EQ(Cli({"standings", league, "--report", "race winners"}).exitCode, 0);
    r = Cli({"standings", league, "--report", "No Such Report"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(test::Has(r.err, "\"No Such Report\""));
}

TEST_F(CliLeagueWorkTest, ExportWritesPagesWithTheSavedSettings) {
    ASSERT_EQ(Cli({"import", league, test::kDemoFiles[0]}).exitCode, 0);
    Sql(league, "UPDATE Settings SET SettingValue='Gulf &amp; Lakes League' WHERE SettingsID=2");
    auto r = Cli({"export", league, "--report", "1", "-o", dir.File("standings.htm")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    test::ExpectGolden("pages/cli-standings.htm", test::ReadFileBytes(dir.File("standings.htm")));
    EXPECT_EQ(Sql(league, "SELECT SettingValue FROM Settings WHERE SettingsID=4").AsText(),
              "Results after 1 events");

    r = Cli({"export", league, "--race", "1", "-o", dir.File("race.htm")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    test::ExpectGolden("pages/cli-race.htm", test::ReadFileBytes(dir.File("race.htm")));
    // Without a dialog the race's name comes straight from its result file: it is escaped.
    Sql(league, "UPDATE Race SET Name='<b onclick=x>400</b>'");
    ASSERT_EQ(Cli({"export", league, "--race", "1", "-o", dir.File("race.htm")}).exitCode, 0);
    EXPECT_TRUE(
        test::Has(test::ReadFileBytes(dir.File("race.htm")), "&lt;b onclick=x&gt;400&lt;/b&gt;"));
    r = Cli({"export", league, "--race", "9", "-o", dir.File("none.htm")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(FileExists(dir.File("none.htm")));
    EXPECT_EQ(Cli({"export", league, "-o", dir.File("x.htm")}).exitCode, 2);
}

TEST_F(CliLeagueWorkTest, AnOffLineLeagueMergesTheMembersPagesAndOrdersByItsRankCriteria) {
    const std::string night = dir.File("night.slf");
    MakeNr4League(night, true);
    // The same race from another member's seat: he is the one car that differs.
    const std::string first = kFixtures + "/nr4/millbrook-standings.html";
    std::string page = test::ReadFileBytes(first);
    const std::string wes = "<TD>Wes Pruitt</TD><TD>-2L</TD><TD>198</TD>";
    page.replace(page.find(wes), wes.size(), "<TD>Ada Member</TD><TD>-1L</TD><TD>199</TD>");
    const std::string second = dir.File("ada.html");
    test::WriteFileBytes(second, page);

    // Only computer cars: refused, nothing imported.
    auto r = Cli({"import", night, first, first});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "scorewell-cli: There are no unique drivers!  All duplicate drivers are "
                     "assumed to be AI drivers and are ignored! Nothing was imported.\n");
    EXPECT_EQ(r.out, "staged\t" + first + "\t5 drivers\nstaged\t" + first + "\t5 drivers\n");

    r = Cli({"import", night, first, second});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "staged\t" + first + "\t5 drivers\nstaged\t" + second +
                         "\t5 drivers\nmerged\t2 drivers\tMillbrook Speedway\nimported\t1 races\n");
    EXPECT_EQ(Sql(night, "SELECT group_concat(Name || ' ' || Finish || ' ' || Points, ', ') FROM "
                         "(SELECT Name, Finish, Points FROM Stats JOIN Driver USING (DriverID) "
                         "ORDER BY Finish)")
                  .AsText(),
              "Ada Member 1 180, Wes Pruitt 2 175");
    EXPECT_EQ(Sql(night, "SELECT FileName FROM Race").AsText(), "Merged");

    r = Cli({"rank-criteria", night, "--order", "Laps Led,laps completed"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "scorewell-cli: The order leaves out \"Average Speed\", \"Qualifying "
                     "Speed\"; name every rank criterion of the league once.\n");
    r = Cli({"rank-criteria", night, "--order",
             "qualifying speed,Laps Led,Laps Completed,Average Speed"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string listing = "Priority\tName\n1\tQualifying Speed\n2\tLaps Led\n"
                                "3\tLaps Completed\n4\tAverage Speed\n";
    EXPECT_EQ(r.out, listing);
    EXPECT_EQ(Cli({"rank-criteria", night}).out, listing);
}

} // namespace
} // namespace scorewell
