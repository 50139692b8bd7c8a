#include <gtest/gtest.h>

#include "data/Program.h"
#include "data/RecentFiles.h"
#include "data/Settings.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

class RecentFilesTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.File("prog")};

    std::string Touch(const std::string& name) {
        test::WriteFileBytes(dir.File(name), "x");
        return dir.File(name);
    }
    std::vector<std::string> Entries(const RecentFiles& recent) {
        std::vector<std::string> entries;
        for (int i = 0; i < RecentFiles::kCount; ++i) {
            entries.push_back(recent.Entry(i));
        }
        return entries;
    }
};

TEST_F(RecentFilesTest, LoadLeavesOutGoneAndBlankEntriesAndClosesRanks) {
    std::string a = Touch("a.slf"), c = Touch("c.slf");
    WriteSetting(program.Db(), 7, dir.File("deleted.slf"));
    WriteSetting(program.Db(), 8, a);
    WriteSetting(program.Db(), 9, "   ");
    program.Db().Execute("DELETE FROM Settings WHERE SettingsID=10");
    RecentFiles recent;
    recent.Load(program.Db());
    EXPECT_EQ(Entries(recent), (std::vector<std::string>{a, "", "", ""}));
    WriteSetting(program.Db(), 10, c);
    recent.Load(program.Db());
    EXPECT_EQ(Entries(recent), (std::vector<std::string>{a, c, "", ""}));
    EXPECT_TRUE(recent.Any());

    RecentFiles none;
    WriteSetting(program.Db(), 8, "");
    WriteSetting(program.Db(), 10, "");
    none.Load(program.Db());
    EXPECT_FALSE(none.Any());
}

TEST_F(RecentFilesTest, AFileListedInOtherLettersKeepsOneEntryWithTheNewSpelling) {
    RecentFiles recent;
    for (const char* name : {"1.slf", "2.slf", "3.slf"}) {
        recent.Add(dir.File(name));
    }
    recent.Add(dir.File("2.SLF"));
    EXPECT_EQ(Entries(recent), (std::vector<std::string>{dir.File("2.SLF"), dir.File("3.slf"),
                                                         dir.File("1.slf"), ""}));
}

} // namespace
} // namespace scorewell
