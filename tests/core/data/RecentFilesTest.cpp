#include <gtest/gtest.h>

#include "data/Program.h"
#include "data/RecentFiles.h"
#include "data/Settings.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

std::vector<std::string> Entries(const RecentFiles& recent) {
    std::vector<std::string> entries;
    for (int i = 0; i < RecentFiles::kCount; ++i) {
        entries.push_back(recent.Entry(i));
    }
    return entries;
}

TEST(RecentFilesTest, LoadLeavesOutGoneAndBlankEntriesAndClosesRanks) {
    test::TempDir dir;
    Program program(dir.File("prog"));
    test::WriteFileBytes(dir.File("a.slf"), "x");
    test::WriteFileBytes(dir.File("c.slf"), "x");
    WriteSetting(program.Db(), 7, dir.File("deleted.slf"));
    WriteSetting(program.Db(), 8, dir.File("a.slf"));
    WriteSetting(program.Db(), 9, "   ");
    WriteSetting(program.Db(), 10, dir.File("c.slf"));
    RecentFiles recent;
    recent.Load(program.Db());
    EXPECT_EQ(Entries(recent),
              (std::vector<std::string>{dir.File("a.slf"), dir.File("c.slf"), "", ""}));
    program.Db().Execute("DELETE FROM Settings WHERE SettingsID BETWEEN 8 AND 10");
    recent.Load(program.Db());
    EXPECT_FALSE(recent.Any());
}

TEST(RecentFilesTest, TheNewestComesFirstAndAListedFileMovesUpWithItsNewSpelling) {
    RecentFiles recent;
    for (const char* name : {"1", "2", "3", "4", "5"}) {
        recent.Add(name);
    }
    EXPECT_EQ(Entries(recent), (std::vector<std::string>{"5", "4", "3", "2"}));
    recent.Add("3");
    EXPECT_EQ(Entries(recent), (std::vector<std::string>{"3", "5", "4", "2"}));
    recent.Add("a.slf");
    recent.Add("4");
    recent.Add("A.SLF");
    EXPECT_EQ(Entries(recent), (std::vector<std::string>{"A.SLF", "4", "3", "5"}));
}

} // namespace
} // namespace scorewell
