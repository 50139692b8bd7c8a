#include "common/Paths.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace scorewell {
namespace {

TEST(Paths, NamesAndFolders) {
    EXPECT_EQ(FolderOf("C:\\Leagues\\cup.slf"), "C:\\Leagues\\");
    EXPECT_EQ(FolderOf("C:\\Leagues\\"), "C:\\Leagues\\");
    EXPECT_EQ(FolderOf("cup.slf"), "");
    EXPECT_EQ(FileNameOf("C:\\Leagues\\cup.2001.slf", true), "cup.2001");
    EXPECT_EQ(FileNameOf("C:\\Leagues\\cup.2001.slf", false), "cup.2001.slf");
    EXPECT_EQ(FileNameOf("C:\\Leagues\\", false), "");
    EXPECT_EQ(FileExtension("C:\\my.files\\cup"), "files\\cup");
    EXPECT_EQ(FileExtension("cup"), "");

    EXPECT_EQ(WithTrailingSeparator("C:\\Sim"), "C:\\Sim\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\Sim\\"), "C:\\Sim\\");
    EXPECT_EQ(WithTrailingSeparator(""), "");
    EXPECT_EQ(JoinPath("/tmp//", "/a.txt"), "/tmp/a.txt");
    EXPECT_EQ(JoinPath("", "a"), "a");
    EXPECT_EQ(NativePath("C:\\Sim\\tracks/x"), "C:/Sim/tracks/x");
}

TEST(Paths, FilesAndFoldersOnDisk) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("cup.slf"), "x");
    std::filesystem::create_directory(dir.File("Exports"));
    EXPECT_TRUE(FileExists(dir.File("cup.slf")));
    EXPECT_FALSE(FileExists(dir.File("Exports")));
    EXPECT_TRUE(FolderExists(dir.File("Exports")));
    // A Windows-style path works on this file system too.
    EXPECT_TRUE(FileExists(dir.Path() + "\\cup.slf"));
}

TEST(Paths, FindNoCase) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.File("Tracks/Daytona"));
    test::WriteFileBytes(dir.File("Tracks/Daytona/Track.INI"), "x");
    if (std::filesystem::exists(dir.File("TRACKS/DAYTONA/TRACK.INI"))) {
        // Where the file system itself ignores letter case (Windows) any spelling opens the file.
        EXPECT_TRUE(FileExists(FindNoCase(dir.Path(), "tracks\\daytona\\track.ini")));
        EXPECT_EQ(FindNoCase(dir.Path(), "TRACKS", false), "");
        GTEST_SKIP() << "names that differ only in letter case cannot coexist on this file system";
    }
    test::WriteFileBytes(dir.File("track.ini"), "x");
    test::WriteFileBytes(dir.File("TRACK.INI"), "x");
    test::WriteFileBytes(dir.File("exports"), "a file, not the folder");
    std::filesystem::create_directory(dir.File("Exports"));

    EXPECT_EQ(FindNoCase(dir.Path(), "track.ini"), dir.File("track.ini"));
    EXPECT_EQ(FindNoCase(dir.Path(), "Track.ini"), dir.File("TRACK.INI")); // byte order decides
    EXPECT_EQ(FindNoCase(dir.Path(), "tracks\\daytona\\track.ini"),
              dir.File("Tracks/Daytona/Track.INI"));
    EXPECT_EQ(FindNoCase(dir.Path(), "TRACKS", true), dir.File("Tracks"));
    EXPECT_EQ(FindNoCase(dir.Path(), "TRACKS", false), "");
    EXPECT_EQ(FindNoCase(dir.Path(), "EXPORTS", true), dir.File("Exports"));
    EXPECT_EQ(FindNoCase(dir.Path(), "EXPORTS", false), dir.File("exports"));
    EXPECT_EQ(FindNoCase(dir.Path(), ""), "");
    EXPECT_EQ(FindNoCase(dir.File("nowhere"), "track.ini"), "");
}

} // namespace
} // namespace scorewell
