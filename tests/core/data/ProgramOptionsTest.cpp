#include <gtest/gtest.h>

#include <filesystem>

#include "data/ProgramOptions.h"
#include "data/RecentFiles.h"
#include "data/Settings.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

TEST(ProgramOptionsTest, ColoursAreStoredAsTheirTextsAndUnreadableOnesTakeTheDefaults) {
    test::TempDir dir;
    Program program(dir.File("prog"));
    ProgramOptions options = LoadProgramOptions(program);
    EXPECT_EQ(options.colors, kDefaultPageColors);
    options.simPath = {"/games/nr3/", "", ""};
    options.colors[1] = 0x00000001;
    options.colors[4] = static_cast<std::int32_t>(0x8000000F); // a desktop colour
    StoreProgramOptions(program, options);
    EXPECT_EQ(ReadSetting(program.Db(), 103), "&H00000001");
    EXPECT_EQ(ReadSetting(program.Db(), 106), "&H8000000F");
    EXPECT_EQ(program.SimPath()[0], "/games/nr3/");
    EXPECT_EQ(LoadProgramOptions(program).colors, options.colors);

    program.Db().Execute("DELETE FROM Settings WHERE SettingsID IN (102, 11)");
    WriteSetting(program.Db(), 104, "blue");
    options = LoadProgramOptions(program);
    EXPECT_EQ(options.colors[0], kDefaultPageColors[0]);
    EXPECT_EQ(options.colors[2], kDefaultPageColors[2]);
    EXPECT_FALSE(options.openLastFile);
}

// Which message wins and the letter case of the executable are run through the options window.
TEST(ProgramOptionsTest, AFolderCountsOnlyWithItsOwnSimulationsExecutable) {
    test::TempDir dir;
    auto folder = [&](const std::string& name, const std::string& exe) {
        std::filesystem::create_directories(dir.File(name));
        test::WriteFileBytes(dir.File(name + "/" + exe), "MZ");
        return dir.File(name) + "/";
    };
    const std::string nr3 = folder("nr3", "nascar racing 3.EXE");
    const std::string nr4 = folder("nr4", "NASCAR RACING 4.exe");
    EXPECT_EQ(CheckSimulationFolders({nr3, "  ", nr4}), "");
    EXPECT_EQ(CheckSimulationFolders({"", nr3, ""}),
              "\"" + nr3 + "\" does not seem to refer to a valid NASCAR Legends path.");
}

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
