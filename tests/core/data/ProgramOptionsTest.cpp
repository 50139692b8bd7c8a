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

TEST_F(ProgramOptionsTest, StoresFlagsAndColoursAsTheirTextsAndReadsThemBack) {
    ProgramOptions options = LoadProgramOptions(program);
    EXPECT_EQ(options.colors, kDefaultPageColors);
    options.simPath = {"/games/nr3/", "", ""};
    options.colors[1] = 0x00000001;
    options.colors[4] = static_cast<std::int32_t>(0x8000000F); // a desktop colour
    StoreProgramOptions(program, options);

    Database& db = program.Db();
    EXPECT_EQ(ReadSetting(db, 11), "False");
    EXPECT_EQ(ReadSetting(db, 100), "False");
    EXPECT_EQ(ReadSetting(db, 103), "&H00000001");
    EXPECT_EQ(ReadSetting(db, 106), "&H8000000F");
    EXPECT_EQ(program.SimPath()[0], "/games/nr3/");
    EXPECT_EQ(LoadProgramOptions(program).colors, options.colors);
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
