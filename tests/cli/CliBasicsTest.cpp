#include <gtest/gtest.h>

#include <filesystem>

#include "common/Paths.h"
#include "data/Database.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

using test::RunCli;

class CliTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::vector<std::string> Args(std::vector<std::string> rest) {
        rest.insert(rest.begin(), {"--program-folder", dir.File("prog")});
        return rest;
    }
};

TEST_F(CliTest, NewCreatesTheLeagueAsTheNewDialogDoesAndOpensItOnce) {
    auto r =
        RunCli(Args({"new", dir.File("cup"), "--sim", "0", "--drop", "2", "--lap-method", "time"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, dir.File("cup.slf") + "\n");
    auto settings = [&] {
        return Database::Open(dir.File("cup.slf"))
            .Scalar("SELECT group_concat(SettingValue, ' ') FROM Settings WHERE SettingsID IN "
                    "(5, 6, 12, 17, 102)")
            .AsText();
    };
    // Opened once: the page colours are copied in.
    EXPECT_EQ(settings(), "0 2 0 1 &H00FFFFFF");

    // An existing file is refused unless forced.
    r = RunCli(Args({"new", dir.File("cup.slf"), "--offline"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("already exists"), std::string::npos);
    r = RunCli(Args({"new", dir.File("cup.slf"), "--offline", "--force", "--sim", "3"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(settings(), "3 0 1 0 &H00FFFFFF");

    // A bare name goes into the program folder; the extension is kept in any letter case.
    r = RunCli(Args({"new", "league"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(FileExists(dir.File("prog/league.slf")));
    for (const char* name : {"Upper.SLF", "old.mdb"}) {
        ASSERT_EQ(RunCli(Args({"new", dir.File(name)})).exitCode, 0);
    }
    EXPECT_TRUE(FileExists(dir.File("Upper.SLF")));
    EXPECT_TRUE(FileExists(dir.File("old.mdb.slf")));
}

TEST_F(CliTest, ReportsListsTheProgramDatabasesReportsInOrder) {
    auto r = RunCli(Args({"reports"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "ReportID\tName");
    EXPECT_NE(r.out.find("\n1\tPoint Standings\n"), std::string::npos);
    EXPECT_TRUE(FileExists(dir.File("prog/Tabulon.dat")));
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndFailuresWithOneOnOneLine) {
    for (auto args : std::vector<std::vector<std::string>>{{},
                                                           {"frobnicate"},
                                                           {"new"},
                                                           {"new", "a", "--sim", "7"},
                                                           {"new", "a", "--bogus"},
                                                           {"recalc", "x.slf"},
                                                           {"drivers"},
                                                           {"folders", "--nr3"}}) {
        auto r = RunCli(Args(args));
        EXPECT_EQ(r.exitCode, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("usage: scorewell-cli"), std::string::npos);
    }
    for (auto args : std::vector<std::vector<std::string>>{
             {"drivers", dir.File("missing.slf")}, {"recalc", dir.File("missing.slf"), "--all"}}) {
        auto r = RunCli(Args(args));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find("does not exist"), std::string::npos);
    }
    test::WriteFileBytes(dir.File("text.slf"), "just text\n");
    auto r = RunCli(Args({"drivers", dir.File("text.slf")}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("is not a Scorewell league file"), std::string::npos);
    EXPECT_EQ(test::ReadFileBytes(dir.File("text.slf")), "just text\n");
}

TEST_F(CliTest, ExcludeIncludeAndFolders) {
    ASSERT_EQ(RunCli(Args({"new", dir.File("l"), "--sim", "0"})).exitCode, 0);
    {
        Database db = Database::Open(dir.File("l.slf"));
        db.Execute("INSERT INTO Driver (Name) VALUES ('Ann Able'), ('Bob Baker')");
    }
    auto r = RunCli(Args({"exclude", dir.File("l.slf"), "ann able", "Nobody Known"}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("\"Nobody Known\""), std::string::npos);
    r = RunCli(Args({"exclude", dir.File("l.slf"), "ann able"}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = RunCli(Args({"drivers", dir.File("l.slf")}));
    EXPECT_EQ(r.out, "DriverID\tName\tExcluded\tRookie\tHandicap\n1\tAnn Able\tYes\tNo\t0\n"
                     "2\tBob Baker\tNo\tNo\t0\n");
    ASSERT_EQ(RunCli(Args({"include", dir.File("l.slf"), "ANN ABLE"})).exitCode, 0);
    EXPECT_NE(RunCli(Args({"drivers", dir.File("l.slf")})).out.find("Ann Able\tNo"),
              std::string::npos);

    // Another program adds a driver whose name clashes with one the league has: every command
    // says so on the error stream, and its output is as ever.
    { Database::Open(dir.File("l.slf")).Execute("INSERT INTO Driver (Name) VALUES ('ANN ABLE')"); }
    r = RunCli(Args({"exclude", dir.File("l.slf"), "Ann Able"}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string warning =
        "warning\tThe drivers \"Ann Able\" and \"ANN ABLE\" are one name written in different "
        "letter case, and their points are counted apart; results under that name go to \"Ann "
        "Able\". Merge them into one driver or rename one.\n";
    EXPECT_EQ(r.err, warning);
    r = RunCli(Args({"drivers", dir.File("l.slf")}));
    EXPECT_EQ(r.err, warning);
    EXPECT_EQ(r.out, "DriverID\tName\tExcluded\tRookie\tHandicap\n1\tAnn Able\tYes\tNo\t0\n"
                     "3\tANN ABLE\tYes\tNo\t0\n2\tBob Baker\tNo\tNo\t0\n");

    std::filesystem::create_directories(dir.File("Legends"));
    test::WriteFileBytes(dir.File("Legends/NASCAR LEGENDS.EXE"), "");
    r = RunCli(Args({"folders", "--legends", dir.File("Legends"), "--nr4", dir.File("nowhere")}));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("does not seem to refer to a valid NASCAR Racing 4 path."),
              std::string::npos);
    r = RunCli(Args({"folders"}));
    EXPECT_EQ(r.out,
              "Simulation\tFolder\nNASCAR Racing 3\t\nNASCAR Legends\t\nNASCAR Racing 4\t\n");
    r = RunCli(Args({"folders", "--legends", dir.File("Legends")}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("NASCAR Legends\t" + dir.File("Legends") + "/\n"), std::string::npos);
}

} // namespace
} // namespace scorewell
