#include "import/Tracks.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace scorewell {
namespace {

using test::TempDir;
using test::WriteFileBytes;

std::vector<std::string> Names(const CTracks& tracks) {
    std::vector<std::string> names;
    for (const CTrackInfo& track : tracks) {
        names.push_back(track.TrackName);
    }
    return names;
}

TEST(TracksTest, KeysIgnoreLetterCaseAndTheFirstOfANameWins) {
    CTracks tracks;
    CTrackInfo& first = tracks.Add("Millbrook Speedway", 1.5f, "Millbrook Speedway");
    tracks.Add("", 0.0f, "");
    tracks.Add("", 0.0f, "");
    CTrackInfo& again = tracks.Add("MILLBROOK SPEEDWAY", 2.0f, "MILLBROOK SPEEDWAY");
    tracks.Add("Harlan Raceway", 0.75f, "Harlan Raceway");

    EXPECT_EQ(&first, &again);
    EXPECT_EQ(Names(tracks),
              (std::vector<std::string>{"Millbrook Speedway", "", "", "Harlan Raceway"}));
    EXPECT_FLOAT_EQ(tracks.Item("millbrook speedway").Length, 1.5f);
    EXPECT_EQ(tracks.Find(""), nullptr);
    EXPECT_THROW(tracks.Item("Harlan"), std::out_of_range);

    tracks.Remove("MILLBROOK SPEEDWAY");
    tracks.Remove(0);
    EXPECT_EQ(Names(tracks), (std::vector<std::string>{"", "Harlan Raceway"}));
    EXPECT_EQ(tracks.Find("Millbrook Speedway"), nullptr);
}

TEST(TracksTest, ReadsTheTrackSectionOfTrackIni) {
    TempDir dir;
    CTracks tracks;
    // Windows-1252 "®", CR LF lines, blanks around "=" and a second heading that ends the section.
    WriteFileBytes(dir.File("millbrook.ini"), "; Millbrook\r\n[graphics]\r\ntrack_name=Wrong\r\n"
                                              "  [ track ]  \r\n track_name  =  Millbrook "
                                              "Speedway\xAE\r\n[ without end\r\n"
                                              "track_length = 2.5 miles\r\n[pit]\r\n");
    // Reading stops once both keys are known.
    WriteFileBytes(dir.File("harlan.ini"),
                   "[track]\nTRACK_LENGTH=9\ntrack_length=0.75\ntrack_name=Harlan Raceway\n"
                   "track_name=Later Name\n");
    WriteFileBytes(dir.File("other.ini"), "[Track]\ntrack_name=Capital Heading\ntrack_length=1\n");

    EXPECT_TRUE(ReadTrackIni(tracks, dir.File("millbrook.ini")));
    EXPECT_TRUE(ReadTrackIni(tracks, dir.File("harlan.ini")));
    EXPECT_TRUE(ReadTrackIni(tracks, dir.File("other.ini")));
    EXPECT_FALSE(ReadTrackIni(tracks, dir.File("missing.ini")));

    ASSERT_EQ(Names(tracks),
              (std::vector<std::string>{"Millbrook Speedway", "Harlan Raceway", ""}));
    EXPECT_FLOAT_EQ(tracks.Item("MILLBROOK SPEEDWAY").Length, 2.5f);
    EXPECT_FLOAT_EQ(tracks.Item("Harlan Raceway").Length, 0.75f);
}

TEST(TracksTest, CatalogueReadsEveryTrackFolderInNameOrder) {
    TempDir dir;
    namespace fs = std::filesystem;
    const std::string tracks = dir.File("NR4/Tracks");
    for (const char* folder : {"zephyr", "harlan", "millbrook2", "millbrook", "empty"}) {
        fs::create_directories(tracks + "/" + folder);
    }
    WriteFileBytes(tracks + "/zephyr/track.ini", "[track]\ntrack_name=Zephyr Oval\ntrack_length=1");
    WriteFileBytes(tracks + "/harlan/TRACK.INI", "[track]\ntrack_name=Harlan\ntrack_length=.75");
    WriteFileBytes(tracks + "/millbrook2/Track.ini",
                   "[track]\ntrack_name=Millbrook\ntrack_length=9");
    WriteFileBytes(tracks + "/millbrook/track.ini",
                   "[track]\ntrack_name=Millbrook\ntrack_length=2");
    WriteFileBytes(tracks + "/readme.txt", "[track]\ntrack_name=Not a track\n");

    const CTracks catalogue = LoadTrackCatalogue(dir.Path() + "\\NR4\\");
    EXPECT_EQ(Names(catalogue), (std::vector<std::string>{"Harlan", "Millbrook", "Zephyr Oval"}));
    EXPECT_FLOAT_EQ(catalogue.Item("millbrook").Length, 2.0f);

    EXPECT_EQ(LoadTrackCatalogue(dir.File("nowhere")).Count(), 0u);
}

} // namespace
} // namespace scorewell
