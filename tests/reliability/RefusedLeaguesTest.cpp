// A league that cannot be written (read-only file or folder), one another program holds, and one
// that is not there: each is refused with its own plain message, and nothing is written.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "LeagueCheck.h"
#include "common/Paths.h"
#include "data/League.h"
#include "data/Program.h"
#include "support/CliFixture.h"
#include "support/Golden.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

// The names and bytes of everything in a folder.
std::map<std::string, std::string> FolderContent(const std::string& folder) {
    std::map<std::string, std::string> content;
    for (const auto& entry : fs::directory_iterator(folder)) {
        content[entry.path().filename().string()] =
            entry.is_regular_file() ? test::ReadFileBytes(entry.path().string()) : "<folder>";
    }
    return content;
}

class RefusedLeaguesTest : public test::CliFixture {
protected:
    std::string folder = dir.File("league");
    std::string path = folder + "/cup.slf";

    using CliFixture::Cli;
    test::ProcessResult Cli(std::vector<std::string> args, bool asNobody) {
        if (!asNobody) {
            return Cli(args);
        }
        args.insert(args.begin(), {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--",
                                   SCOREWELL_CLI_PATH, "--program-folder", prog});
        return test::RunProcess("/usr/bin/setpriv", args);
    }

    void SetUp() override {
        fs::create_directories(folder);
        MakeDemoLeague(path, 1);
    }

    // A connection of another program to the league (the engine's own, as the sqlite3 shell
    // would hold it), after it ran the SQL.
    sqlite3* OtherProgram(const char* sql) {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        return db;
    }

    // Runs every league command and expects each refused with the message, nothing written.
    void ExpectAllRefused(const std::string& league, const std::string& message, bool asNobody) {
        const auto before = FolderContent(folder);
        for (const auto& command : test::LeagueCommands(league, folder)) {
            SCOPED_TRACE(command[0]);
            const auto r = Cli(command, asNobody);
            EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
            EXPECT_EQ(r.err, "scorewell-cli: \"" + league + "\" " + message + "\n");
            EXPECT_EQ(r.out, "");
            EXPECT_FALSE(test::HasSanitizerReport(r.err));
            EXPECT_EQ(FolderContent(folder), before);
        }
    }
};

// A missing league, refused by every command: tests/fixtures/cli/refusals.txt.

TEST_F(RefusedLeaguesTest, AReadOnlyLeagueFileOrFolderIsRefusedAndNotWritten) {
    if (geteuid() != 0 || !FileExists("/usr/bin/setpriv")) {
        GTEST_SKIP() << "needs root and setpriv to run the command line as an unprivileged user";
    }
    // The unprivileged user owns everything, so only the write bits stand in his way.
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
        ASSERT_EQ(chown(entry.path().c_str(), kNobody, kNoGroup), 0);
    }
    ASSERT_EQ(chown(dir.Path().c_str(), kNobody, kNoGroup), 0);
    if (const auto r = Cli({"reports"}, true); r.exitCode != 0) {
        GTEST_SKIP() << "the unprivileged user cannot run " << SCOREWELL_CLI_PATH << ": " << r.err;
    }
    const char* message = "cannot be opened for writing: the file or its folder is read-only.";

    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ExpectAllRefused(path, message, true);

    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    ExpectAllRefused(path, message, true);
    // Nor is a new league made there, and the message says which folder and why.
    const auto refused = Cli({"new", folder + "/other", "--sim", "0"}, true);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "scorewell-cli: Error creating new SLF file: The folder \"" + folder +
                               "/\" is read-only: no league can be created there. Choose another "
                               "folder.\n");
    EXPECT_FALSE(FileExists(folder + "/other.slf"));
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);

    // Writable again, the same user works on it as usual.
    const auto r = Cli({"import", path, test::kDemoFiles[1]}, true);
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(RefusedLeaguesTest, ALeagueHeldByAnotherProgramIsInUseAndNotWritten) {
    const char* message = "is in use by another program. Close it there and try again.";
    // The desktop program has it open to change it, or only reads it: readers share it, and
    // nobody waits for the holder.
    Program program(prog);
    for (LeagueAccess access : {LeagueAccess::Change, LeagueAccess::Read}) {
        League held(program, path, access);
        const auto before = FolderContent(folder);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"races", path}, {"import", path, test::kDemoFiles[3]}}) {
            SCOPED_TRACE(command[0]);
            const bool refused = access == LeagueAccess::Change || command[0] == "import";
            const auto started = std::chrono::steady_clock::now();
            const auto r = Cli(command);
            EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
            EXPECT_EQ(r.err, refused ? "scorewell-cli: \"" + path + "\" " + message + "\n" : "");
        }
        EXPECT_EQ(FolderContent(folder), before);
        held.Close();
    }
    // Another program in a transaction: an exclusive one keeps everyone out; an immediate one
    // lets others only read, and every command changes the league at least when it compacts it.
    const std::pair<const char*, std::vector<std::string>> holds[] = {
        {"BEGIN EXCLUSIVE;", {"races", path}},
        {"BEGIN IMMEDIATE;", {"import", path, test::kDemoFiles[1]}}};
    for (const auto& [begin, command] : holds) {
        SCOPED_TRACE(begin);
        // Read before the lock is taken: closing any file of the league in this process would
        // release it.
        const auto before = FolderContent(folder);
        sqlite3* holder = OtherProgram(begin);
        const auto started = std::chrono::steady_clock::now();
        const auto r = Cli(command);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 15s);
        EXPECT_EQ(r.exitCode, 1) << r.out;
        EXPECT_EQ(r.err, "scorewell-cli: \"" + path + "\" " + std::string(message) + "\n");
        EXPECT_EQ(sqlite3_exec(holder, "ROLLBACK;", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(holder);
        EXPECT_EQ(FolderContent(folder), before);
    }
    EXPECT_EQ(Cli({"races", path}).exitCode, 0);
}

// Damage only the league's own checks on opening can see: the cases of
// reliability/league-damage.txt, and a header the engine reads but never writes.
TEST_F(RefusedLeaguesTest, DamageOnlyTheLeaguesChecksSeeIsRefusedAndNotWritten) {
    const std::string sound = test::ReadFileBytes(path);
    const std::string damaged = "is damaged and cannot be opened";
    const auto cases = test::ReadFixtureCases("reliability/league-damage.txt");
    ASSERT_EQ(cases.size(), 9u);
    for (const auto& [sql, message] : cases) {
        SCOPED_TRACE(sql);
        test::WriteFileBytes(path, sound);
        sqlite3_close(OtherProgram(sql.c_str()));
        ExpectAllRefused(path, damaged + message, false);
    }
    SCOPED_TRACE("a header that lets the engine read but never write");
    std::string bytes = sound;
    bytes[18] = 3;
    test::WriteFileBytes(path, bytes);
    ExpectAllRefused(path, damaged + ": its header cannot be read.", false);
}

} // namespace
} // namespace scorewell
