#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "common/Paths.h"
#include "support/Checks.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

using test::RunCli;

using CliTest = test::CliFixture;

TEST_F(CliTest, NewCreatesTheLeagueAsTheNewDialogDoesAndOpensItOnce) {
    auto r = Cli({"new", dir.File("cup"), "--sim", "0", "--drop", "2", "--lap-method", "time"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, dir.File("cup.slf") + "\n");
    auto settings = [&] {
        return Sql(dir.File("cup.slf"), "SELECT group_concat(SettingValue, ' ') FROM Settings "
                                        "WHERE SettingsID IN (5, 6, 12, 17, 102)")
            .AsText();
    };
    // Opened once: the page colours are copied in.
    EXPECT_EQ(settings(), "0 2 0 1 &H00FFFFFF");

    // An existing file is refused unless forced.
    r = Cli({"new", dir.File("cup.slf"), "--offline"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(test::Has(r.err, "already exists"));
    r = Cli({"new", dir.File("cup.slf"), "--offline", "--force", "--sim", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(settings(), "3 0 1 0 &H00FFFFFF");

    // A bare name goes into the program folder; the extension is kept in any letter case.
    r = Cli({"new", "league"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(FileExists(dir.File("prog/league.slf")));
    for (const char* name : {"Upper.SLF", "old.mdb"}) {
        ASSERT_EQ(Cli({"new", dir.File(name)}).exitCode, 0);
    }
    EXPECT_TRUE(FileExists(dir.File("Upper.SLF")));
    EXPECT_TRUE(FileExists(dir.File("old.mdb.slf")));

    // A file size limit stops the writing as a full disk would, and nothing is left behind.
    if (!test::HasFileSizeLimits()) {
        return;
    }
    test::ProcessOptions limited;
    limited.fileSizeLimit = 8192;
    r = Cli({"new", dir.File("limited")}, limited);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "scorewell-cli: Error creating new SLF file: \"" + dir.File("limited.slf") +
                         "\" cannot be written: the disk is full.\n");
    EXPECT_FALSE(FileExists(dir.File("limited.slf")));
}

TEST_F(CliTest, ReportsListsTheProgramDatabasesReportsInOrder) {
    auto r = Cli({"reports"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "ReportID\tName");
    EXPECT_TRUE(test::Has(r.out, "\n1\tPoint Standings\n"));
    EXPECT_TRUE(FileExists(dir.File("prog/Tabulon.dat")));
}

// Every message is one sentence on one line after the program's name.
void ExpectMessage(const test::ProcessResult& r, const std::string& part) {
    EXPECT_EQ(r.err.rfind("scorewell-cli: ", 0), 0u) << r.err;
    const char first = r.err.size() > 15 ? r.err[15] : ' ';
    EXPECT_FALSE(first >= 'a' && first <= 'z') << r.err;
    EXPECT_TRUE(test::Has(r.err, part));
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndSayWhatIsWrong) {
    std::filesystem::create_directories(dir.File("sub"));
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "Name a command."},
        {{"frobnicate"}, "There is no command \"frobnicate\"."},
        {{"new"}, "The command new takes one league file name."},
        {{"new", "a", "--sim", "7"}, "The option --sim takes a whole number from 0 to 3."},
        {{"new", "a", "--bogus"}, "There is no option --bogus here."},
        {{"new", "a", "--sim", "1", "--sim", "2"}, "The option --sim was given twice."},
        {{"new", "a", "--lap-method", "fast"}, "The option --lap-method takes speed or time."},
        {{"import", "a", "f", "--qualifying", "Time"},
         "The option --qualifying takes speed or time."},
        {{"new", "a", "--offline", "--offline"}, "The option --offline was given twice."},
        // Blank names would make hidden or nameless leagues.
        {{"new", ""}, "The league file name \"\" is blank"},
        {{"new", "   "}, "The league file name \"   \" is blank"},
        {{"new", dir.File("sub") + "/"}, "is blank"},
        {{"new", dir.File("sub") + "/.slf"}, "is blank"},
        {{"races", ""}, "The league file name is blank."},
        {{"export", "a", "--race", "1", "-o", ""}, "The option -o needs a value."},
        {{"recalc", "x.slf"}, "The command recalc takes race ids or --all."},
        {{"drivers"}, "The command drivers needs a league file."},
        {{"folders", "--nr3"}, "The option --nr3 needs a value."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(nothing)" : c.args[0] + " " + c.message);
        auto r = Cli(c.args);
        EXPECT_EQ(r.exitCode, 2);
        ExpectMessage(r, c.message);
        EXPECT_TRUE(test::Has(r.err, "\nUsage: scorewell-cli"));
    }
    // A program folder given as nothing is not the default folder.
    auto r = RunCli({"--program-folder", "", "reports"});
    EXPECT_EQ(r.exitCode, 2);
    ExpectMessage(r, "The option --program-folder needs a value.");
    EXPECT_EQ(r.out, "");
    // No league came of any of it.
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("sub")));
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("prog"))) {
        EXPECT_EQ(entry.path().filename(), "Tabulon.dat");
    }
}

// The usage text, as wrong usage shows it after its message.
std::string Usage() {
    const std::string err = RunCli({}).err;
    return err.substr(err.find('\n') + 1);
}

// The options a usage line names.
std::vector<std::string> OptionsOf(const std::string& line) {
    static const std::regex option(R"((?:^|[ \[(|])(--?[a-z][a-z0-9-]*))");
    std::vector<std::string> options;
    for (std::sregex_iterator it(line.begin(), line.end(), option), end; it != end; ++it) {
        options.push_back((*it)[1]);
    }
    return options;
}

TEST_F(CliTest, HelpTellsEveryCommandsUsageAndOptionsAndTouchesNothing) {
    auto r = Cli({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "scorewell-cli " SCOREWELL_VERSION "\n");

    const std::string usage = Usage();
    r = Cli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind(usage, 0), 0u) << r.out;
    for (const char* option : {"  --program-folder DIR", "  -h, --help", "  --version"}) {
        EXPECT_TRUE(test::Has(r.out, option)) << option;
    }

    std::istringstream lines(usage.substr(usage.find('\n') + 1));
    int commands = 0;
    for (std::string line; std::getline(lines, line); ++commands) {
        line = line.substr(2);
        const std::string command = line.substr(0, line.find(' '));
        SCOPED_TRACE(command);
        // Asked for wherever it stands, before anything else is looked at.
        for (const std::vector<std::string>& words :
             {std::vector<std::string>{command, "--help"}, {command, "x.slf", "-h", "--bogus"}}) {
            r = Cli(words);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(r.err, "");
            const std::string first =
                "Usage: scorewell-cli [--program-folder DIR] " + line + "\n\n";
            ASSERT_EQ(r.out.rfind(first, 0), 0u) << r.out;
            const std::string text = r.out.substr(first.size());
            EXPECT_GT(text.size(), 40u) << text;
            // Every option of the usage line is explained.
            for (const std::string& option : OptionsOf(line)) {
                EXPECT_TRUE(test::Has(text, "\n  " + option + " ")) << option;
            }
        }
    }
    // The loop above saw the whole table, not an empty or cut usage text.
    EXPECT_GE(commands, 19);
    EXPECT_EQ(Cli({"frobnicate", "--help"}).exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.File("prog")));
}

TEST_F(CliTest, WhatStandsWhereALeagueShouldBeIsNamed) {
    std::filesystem::create_directories(dir.File("folder.slf"));
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    std::vector<Case> cases = {
        {{"drivers", dir.File("missing.slf")},
         "\"" + dir.File("missing.slf") + "\" does not exist!"},
        {{"races", dir.File("folder.slf")},
         "\"" + dir.File("folder.slf") + "\" is a folder, not a league file."},
        {{"new", dir.File("folder.slf")}, "\"" + dir.File("folder.slf") + "\" is a folder"},
        {{"new", dir.File("nowhere/cup")},
         "The folder \"" + dir.File("nowhere") + test::kSeparator + "\" does not exist."},
    };
    // Devices and pipes in the file tree: POSIX systems have them.
    if (test::MakeNamedPipe(dir.File("pipe.slf"))) {
        const std::string pipe = dir.File("pipe.slf");
        cases.push_back({{"races", pipe}, "\"" + pipe + "\" is not a regular file"});
        cases.push_back({{"new", pipe}, "\"" + pipe + "\" is not a regular file"});
        cases.push_back({{"races", "/dev/null"}, "\"/dev/null\" is not a regular file"});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        auto r = Cli(c.args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        ExpectMessage(r, c.message);
    }
    test::WriteFileBytes(dir.File("text.slf"), "just text\n");
    auto r = Cli({"drivers", dir.File("text.slf")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(test::Has(r.err, "is not a Scorewell league file"));
    EXPECT_EQ(test::ReadFileBytes(dir.File("text.slf")), "just text\n");
}

TEST_F(CliTest, ALeagueIsFoundByTheNameItWasCreatedWith) {
    ASSERT_EQ(Cli({"new", "cup"}).exitCode, 0);
    ASSERT_EQ(Cli({"new", dir.File("club")}).exitCode, 0);
    for (const std::string& name :
         {std::string("cup"), std::string("cup.slf"), dir.File("club"), dir.File("club.slf")}) {
        auto r = Cli({"races", name});
        EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err;
    }
    // The name as given comes first: a league without the extension is not passed over.
    std::filesystem::copy_file(dir.File("prog/cup.slf"), dir.File("plain"));
    test::WriteFileBytes(dir.File("plain.slf"), "just text\n");
    EXPECT_EQ(Cli({"drivers", dir.File("plain")}).exitCode, 0);
    // A folder is searched only for a name without one.
    auto r = Cli({"races", dir.File("elsewhere/cup")});
    EXPECT_EQ(r.exitCode, 1);
    ExpectMessage(r, "\"" + dir.File("elsewhere/cup") + "\" does not exist!");
}

TEST_F(CliTest, ExcludeIncludeAndFolders) {
    ASSERT_EQ(Cli({"new", dir.File("l"), "--sim", "0"}).exitCode, 0);
    Sql(dir.File("l.slf"), "INSERT INTO Driver (Name) VALUES ('Ann Able'), ('Bob Baker')");
    auto r = Cli({"exclude", dir.File("l.slf"), "ann able", "Nobody Known"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(test::Has(r.err, "\"Nobody Known\""));
    r = Cli({"exclude", dir.File("l.slf"), "ann able"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = Cli({"drivers", dir.File("l.slf")});
    EXPECT_EQ(r.out, "DriverID\tName\tExcluded\tRookie\tHandicap\tResults\n"
                     "1\tAnn Able\tYes\tNo\t0\t0\n2\tBob Baker\tNo\tNo\t0\t0\n");
    ASSERT_EQ(Cli({"include", dir.File("l.slf"), "ANN ABLE"}).exitCode, 0);
    EXPECT_TRUE(test::Has(Cli({"drivers", dir.File("l.slf")}).out, "Ann Able\tNo"));

    // Another program adds a driver whose name clashes with one the league has: every command
    // says so on the error stream, and its output is as ever.
    Sql(dir.File("l.slf"), "INSERT INTO Driver (Name) VALUES ('ANN ABLE')");
    r = Cli({"exclude", dir.File("l.slf"), "Ann Able"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string warning =
        "scorewell-cli: Warning: The drivers \"Ann Able\" and \"ANN ABLE\" are one name written "
        "in different letter case, and their points are counted apart; results under that name go "
        "to \"Ann Able\". Merge them into one driver or rename one.\n";
    EXPECT_EQ(r.err, warning);
    r = Cli({"drivers", dir.File("l.slf")});
    EXPECT_EQ(r.err, warning);
    EXPECT_EQ(r.out, "DriverID\tName\tExcluded\tRookie\tHandicap\tResults\n"
                     "1\tAnn Able\tYes\tNo\t0\t0\n3\tANN ABLE\tYes\tNo\t0\t0\n"
                     "2\tBob Baker\tNo\tNo\t0\t0\n");
    // The name written exactly picks one of them, and merging ends the clash.
    r = Cli({"edit-driver", dir.File("l.slf"), "ANN ABLE", "--name", "ann able", "--merge"});
    EXPECT_EQ(r.out, "merged\tANN ABLE\tAnn Able\t0 results\n") << r.err;
    r = Cli({"drivers", dir.File("l.slf")});
    EXPECT_EQ(r.err, "");

    std::filesystem::create_directories(dir.File("Legends"));
    test::WriteFileBytes(dir.File("Legends/NASCAR LEGENDS.EXE"), "");
    r = Cli({"folders", "--legends", dir.File("Legends"), "--nr4", dir.File("nowhere")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(test::Has(r.err, "does not seem to refer to a valid NASCAR Racing 4 path."));
    r = Cli({"folders"});
    EXPECT_EQ(r.out,
              "Simulation\tFolder\nNASCAR Racing 3\t\nNASCAR Legends\t\nNASCAR Racing 4\t\n");
    r = Cli({"folders", "--legends", dir.File("Legends")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(
        test::Has(r.out, "NASCAR Legends\t" + dir.File("Legends") + test::kSeparator + "\n"));
}

} // namespace
} // namespace scorewell
