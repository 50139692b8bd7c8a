// Compaction happens in place and only when it pays, so the file keeps what makes
// it the user's file (links, inode, mode, owner), and a command that changed nothing writes
// nothing. Replacing a league with a new one writes into the old file the same way.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <tuple>

#include "LeagueCheck.h"
#include "data/League.h"
#include "data/Program.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What makes a file the user's file: its inode, mode and owner.
std::tuple<ino_t, mode_t, uid_t> Identity(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return {st.st_ino, st.st_mode, st.st_uid};
}

// That, and whether it was written: its size and time of change.
auto StateOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return std::tuple(Identity(path), st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

long long Pragma(const std::string& path, const char* pragma) {
    Database db = Database::OpenReadOnly(path);
    return db.Scalar(std::string("PRAGMA ") + pragma).AsInteger();
}

class HeldLeaguesTest : public test::CliFixture {
protected:
    std::string path = dir.File("cup.slf");

    void SetUp() override { MakeDemoLeague(path, 3); }
};

TEST_F(HeldLeaguesTest, ACommandThatChangesNothingLeavesTheFileUntouched) {
    ASSERT_EQ(Cli({"standings", path}).exitCode, 0); // marks the dropped results once
    const auto before = StateOf(path);
    const std::string bytes = test::ReadFileBytes(path);
    std::this_thread::sleep_for(20ms);
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"races", path}, {"drivers", path}, {"standings", path}}) {
        SCOPED_TRACE(command[0]);
        ASSERT_EQ(Cli(command).exitCode, 0);
        EXPECT_TRUE(StateOf(path) == before);
        EXPECT_TRUE(test::ReadFileBytes(path) == bytes);
    }
}

TEST_F(HeldLeaguesTest, CompactionAndANewLeagueWriteInPlaceAndCompactionOnlyWhenItPays) {
    // Reached through a link, with its own mode and (when we may) owner.
    const std::string target = dir.File("real/cup.slf");
    fs::create_directories(dir.File("real"));
    fs::rename(path, target);
    fs::create_symlink(target, path);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    }
    test::WriteFileBytes(dir.File("TmpPoints.mdb"), "left by an older version");

    // A few free pages are not worth a rewrite of the whole file.
    test::FreePages(path, 2);
    const long long freeBefore = Pragma(target, "freelist_count");
    ASSERT_GT(freeBefore, 0);
    ASSERT_LT(freeBefore * 4, Pragma(target, "page_count"));
    ASSERT_EQ(Cli({"include", path, "Amos Whitlock"}).exitCode, 0);
    EXPECT_EQ(Pragma(target, "freelist_count"), freeBefore);

    test::FreePages(path, 100);
    ASSERT_GE(Pragma(target, "freelist_count") * 4, Pragma(target, "page_count"));
    const auto before = Identity(target);
    const auto size = fs::file_size(target);
    const std::string content = test::KeyColumns(target);
    const auto r = Cli({"exclude", path, "Amos Whitlock"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(Identity(target), before);
    EXPECT_LT(fs::file_size(target), size / 2);
    EXPECT_EQ(Pragma(target, "freelist_count"), 0);
    EXPECT_EQ(test::LeagueProblems(target), "");
    EXPECT_NE(test::KeyColumns(target), content);
    EXPECT_FALSE(fs::exists(dir.File("TmpPoints.mdb")));
    EXPECT_FALSE(fs::exists(dir.File("real/TmpPoints.mdb")));

    // Replacing it with a new league writes into the same file, or not at all.
    const std::string excluded = test::KeyColumns(target);
    {
        // Not while another program holds it.
        Program program(prog);
        League held(program, path);
        const auto refused = Cli({"new", path, "--sim", "1", "--force"});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.err.find("is in use by another program"), std::string::npos)
            << refused.err;
        held.Close();
    }
    EXPECT_EQ(test::KeyColumns(target), excluded);

    const auto replaced = Cli({"new", path, "--sim", "1", "--force"});
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(Identity(target), before);
    EXPECT_EQ(test::LeagueProblems(target), "");
    Database db = Database::OpenReadOnly(target);
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Race").AsInteger(), 0);
    EXPECT_EQ(db.Scalar("SELECT SettingValue FROM Settings WHERE SettingsID=5").AsText(), "1");
    EXPECT_FALSE(fs::exists(target + ".new"));
}

} // namespace
} // namespace scorewell
