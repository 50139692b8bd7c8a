// What the transcripts in tests/fixtures/cli cannot show: a rule over every command's help, and a
// file size limit worked out from the league at hand.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "data/Database.h"
#include "support/Checks.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

using CliTest = test::CliFixture;

// basics.txt shows the whole usage and --help; here each command's own help explains every option
// of its usage line.
TEST_F(CliTest, EveryCommandsHelpExplainsTheOptionsOfItsUsage) {
    std::istringstream usage(test::RunCli({}).err);
    std::string line;
    std::getline(usage, line); // the message
    std::getline(usage, line); // Usage: scorewell-cli [--program-folder DIR] COMMAND ...
    int commands = 0;
    for (; std::getline(usage, line); ++commands) {
        line = line.substr(2);
        const std::string command = line.substr(0, line.find(' '));
        SCOPED_TRACE(command);
        const auto help = Cli({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << help.err;
        EXPECT_EQ(help.err, "");
        // Asked for wherever it stands, before anything else is looked at.
        const auto anywhere = Cli({command, "x.slf", "-h", "--bogus"});
        EXPECT_EQ(anywhere.exitCode, 0) << anywhere.err;
        EXPECT_EQ(anywhere.out, help.out);
        const std::string first = "Usage: scorewell-cli [--program-folder DIR] " + line + "\n\n";
        ASSERT_EQ(help.out.rfind(first, 0), 0u) << help.out;
        const std::string text = help.out.substr(first.size());
        EXPECT_GT(text.size(), 40u) << text;
        // Every option the usage line names.
        static const std::regex option(R"((?:^|[ \[(|])(--?[a-z][a-z0-9-]*))");
        for (std::sregex_iterator it(line.begin(), line.end(), option), end; it != end; ++it) {
            EXPECT_TRUE(test::Has(text, "\n  " + (*it)[1].str() + " "));
        }
    }
    // The loop above saw the whole table, not an empty or cut usage text.
    EXPECT_GE(commands, 19);
    EXPECT_FALSE(std::filesystem::exists(prog));
}

TEST_F(CliTest, ACompactionThatFailsAfterTheWorkIsStoredIsOnlyAWarning) {
    if (!test::HasFileSizeLimits()) {
        GTEST_SKIP() << "a full disk is made with a file size limit, which Windows does not have";
    }
    const std::string league = dir.File("cup.slf");
    MakeDemoLeague(league, 1);
    test::ProcessOptions options;
    {
        // Space freed at the end of the file, so that the next close compacts the league. Files
        // may hold every page the league keeps, but not the journal of rewriting them all.
        Database db = Database::Open(league);
        db.Execute("CREATE TABLE Junk (Bytes BLOB)");
        db.Execute("INSERT INTO Junk VALUES (zeroblob(1000000))");
        db.Execute("DROP TABLE Junk");
        const auto kept = db.Scalar("PRAGMA page_count").AsInteger() -
                          db.Scalar("PRAGMA freelist_count").AsInteger();
        options.fileSizeLimit =
            static_cast<unsigned long long>(kept * db.Scalar("PRAGMA page_size").AsInteger()) + 64;
    }
    auto r = Cli({"exclude", league, "Amos Whitlock"}, options);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "excluded\tAmos Whitlock\n");
    EXPECT_EQ(r.err, "scorewell-cli: Warning: The league file \"" + league +
                         "\" was closed but could not be compacted: the disk is full. Everything "
                         "saved in it is kept.\n");
    EXPECT_EQ(Database::Open(league)
                  .Scalar("SELECT Exclude FROM Driver WHERE Name='Amos Whitlock'")
                  .AsInteger(),
              1);
}

} // namespace
} // namespace scorewell
