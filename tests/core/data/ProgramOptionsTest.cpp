#include <gtest/gtest.h>

#include <filesystem>

#include "data/ProgramOptions.h"
#include "data/Settings.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

class ProgramOptionsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.File("prog")};

    // A simulation folder holding the executable under the given name.
    std::string SimFolder(const std::string& folder, const std::string& exe) {
        std::filesystem::create_directories(dir.File(folder));
        test::WriteFileBytes(dir.File(folder + "/" + exe), "MZ");
        return dir.File(folder) + "/";
    }
};

TEST_F(ProgramOptionsTest, StoresEverySettingAsTheMappingSaysAndReadsItBack) {
    ProgramOptions options = LoadProgramOptions(program);
    EXPECT_EQ(options.colors, kDefaultPageColors);
    EXPECT_FALSE(options.openLastFile);
    EXPECT_FALSE(options.useBGImage);

    options.simPath = {"/games/nr3/", "", "/games/nr4/"};
    options.openLastFile = true;
    options.useBGImage = true;
    options.bgImage = "/pics/flag.gif";
    options.colors = {0x00FFFFFF, 0x00123456, 0, 0x00000001, static_cast<std::int32_t>(0x8000000F)};
    StoreProgramOptions(program, options);

    Database& db = program.Db();
    EXPECT_EQ(ReadSetting(db, 0), "/games/nr3/");
    EXPECT_EQ(ReadSetting(db, 1), "");
    EXPECT_EQ(ReadSetting(db, 12), "/games/nr4/");
    EXPECT_EQ(ReadSetting(db, 11), "True");
    EXPECT_EQ(ReadSetting(db, 100), "True");
    EXPECT_EQ(ReadSetting(db, 101), "/pics/flag.gif");
    EXPECT_EQ(ReadSetting(db, 102), "&H00FFFFFF");
    EXPECT_EQ(ReadSetting(db, 103), "&H00123456");
    EXPECT_EQ(ReadSetting(db, 104), "&H00000000");
    EXPECT_EQ(ReadSetting(db, 105), "&H00000001");
    EXPECT_EQ(ReadSetting(db, 106), "&H8000000F");
    EXPECT_EQ(program.SimPath()[2], "/games/nr4/");

    ProgramOptions back = LoadProgramOptions(program);
    EXPECT_EQ(back.colors, options.colors);
    EXPECT_EQ(back.bgImage, options.bgImage);
    EXPECT_TRUE(back.openLastFile);
    EXPECT_TRUE(back.useBGImage);

    options.openLastFile = false;
    options.useBGImage = false;
    StoreProgramOptions(program, options);
    EXPECT_EQ(ReadSetting(db, 11), "False");
    EXPECT_EQ(ReadSetting(db, 100), "False");
}

TEST_F(ProgramOptionsTest, MissingOrUnreadableColoursTakeTheDefaults) {
    program.Db().Execute("DELETE FROM Settings WHERE SettingsID IN (102, 11)");
    WriteSetting(program.Db(), 104, "blue");
    ProgramOptions options = LoadProgramOptions(program);
    EXPECT_EQ(options.colors[0], kDefaultPageColors[0]);
    EXPECT_EQ(options.colors[2], kDefaultPageColors[2]);
    EXPECT_FALSE(options.openLastFile);
}

TEST_F(ProgramOptionsTest, FolderChecksFindExecutablesInAnyLetterCase) {
    std::string nr3 = SimFolder("nr3", "nascar racing 3.EXE");
    std::string legends = SimFolder("legends", "NASCAR Legends.exe");
    std::string nr4 = SimFolder("nr4", "NASCAR RACING 4.exe");
    EXPECT_EQ(CheckSimulationFolders({nr3, legends, nr4}), "");
    EXPECT_EQ(CheckSimulationFolders({"", "  ", ""}), "");
}

TEST_F(ProgramOptionsTest, TheLastInvalidFolderNamesTheMessage) {
    std::string nr3 = SimFolder("nr3", "NASCAR Racing 3.exe");
    const std::string bad = dir.File("nothing") + "/";
    // Legends is checked before NASCAR Racing 3, so NASCAR Racing 3 has the last word.
    EXPECT_EQ(CheckSimulationFolders({bad, bad, ""}),
              "\"" + bad + "\" does not seem to refer to a valid NASCAR Racing 3 path.");
    EXPECT_EQ(CheckSimulationFolders({nr3, bad, ""}),
              "\"" + bad + "\" does not seem to refer to a valid NASCAR Legends path.");
    EXPECT_EQ(CheckSimulationFolders({bad, bad, bad}),
              "\"" + bad + "\" does not seem to refer to a valid NASCAR Racing 4 path.");
    // The executable of another simulation does not count.
    EXPECT_NE(CheckSimulationFolders({"", nr3, ""}), "");
}

} // namespace
} // namespace scorewell
