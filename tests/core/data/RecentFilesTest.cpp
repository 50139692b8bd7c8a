#include <gtest/gtest.h>

#include "data/RecentFiles.h"

namespace scorewell {
namespace {

std::vector<std::string> Entries(const RecentFiles& recent) {
    std::vector<std::string> entries;
    for (int i = 0; i < RecentFiles::kCount; ++i) {
        entries.push_back(recent.Entry(i));
    }
    return entries;
}

// Loading, and leaving out deleted files, is run through the main window's start-up.
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
