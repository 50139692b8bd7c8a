#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Errors.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "html/PageSettings.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

class PageSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { CreateLeagueFile(path_, 0, 0, program_.Db(), 0, 0); }

    test::TempDir dir_;
    Program program_{dir_.Path()};
    std::string path_ = dir_.File("league.slf");
};

TEST_F(PageSettingsTest, SettingsNeverSavedTakeTheirDesignedValues) {
    // A file that was never opened lacks even the page colours of the program database.
    {
        Database raw = Database::Open(path_);
        const PageStyle s = SavedPageStyle(raw);
        EXPECT_EQ(SwatchColors(s), designed::kSwatchColors);
        EXPECT_EQ(s.Layout, designed::kLayout);
        EXPECT_EQ(s.HTMLPageFont, "Times New Roman");
        EXPECT_EQ(SavedPageHeading(raw), "XYZ Racing League");
        raw.Execute("DELETE FROM Settings WHERE SettingsID = 2");
        EXPECT_EQ(SavedPageHeading(raw), "OrgName");
    }
    // Opening copies settings 100 to 109 from the program database; the table styling is still
    // as designed.
    League league(program_, path_);
    const PageStyle s = SavedPageStyle(league.Db());
    EXPECT_EQ(s.BGColor, 0xFFFFFF);
    EXPECT_EQ(s.TitleColor, 0x800000);
    EXPECT_EQ(s.CaptionColor, 0x008000);
    EXPECT_EQ(s.TableColors, DesignedPageStyle().TableColors);
    EXPECT_EQ(s.UseTableColors, (std::array<bool, 5>{}));
    EXPECT_EQ(s.Layout, (std::array<int, 3>{1, 3, 0}));
    EXPECT_EQ(s.HTMLPageFontSize, 0);
    EXPECT_FALSE(s.UseBGImage);
    EXPECT_EQ(s.BGImage, "");
}

TEST_F(PageSettingsTest, SavedSettingsStyleThePage) {
    League league(program_, path_);
    Database& db = league.Db();
    WriteSetting(db, 100, "True");
    WriteSetting(db, 101, "back.gif");
    WriteSetting(db, 102, "&H00FF0000");
    WriteSetting(db, 111, "&H000000FF");
    WriteSetting(db, 119, "&H00123456");
    WriteSetting(db, 200, "0");
    WriteSetting(db, 201, "1");
    WriteSetting(db, 202, "-1");
    WriteSetting(db, 300, "5");
    WriteSetting(db, 301, "");
    WriteSetting(db, 302, "12 px");
    WriteSetting(db, 15, "Arial");
    WriteSetting(db, 16, "4");
    PageStyle s = SavedPageStyle(db);
    EXPECT_TRUE(s.UseBGImage);
    EXPECT_EQ(s.BGImage, "back.gif");
    EXPECT_EQ(s.BGColor, 0xFF0000);
    EXPECT_EQ(s.TableColors[1], 0x0000FF);
    EXPECT_EQ(s.TableColors[9], 0x123456);
    EXPECT_EQ(s.UseTableColors, (std::array<bool, 5>{false, true, true, false, false}));
    EXPECT_EQ(s.Layout, (std::array<int, 3>{5, 0, 12}));
    EXPECT_EQ(s.HTMLPageFont, "Arial");
    EXPECT_EQ(s.HTMLPageFontSize, 4);

    // Only the exact flag text turns the image on; a colour that is no number keeps the
    // designed one.
    WriteSetting(db, 100, "true");
    WriteSetting(db, 111, "blue");
    s = SavedPageStyle(db);
    EXPECT_FALSE(s.UseBGImage);
    EXPECT_EQ(s.TableColors[1], designed::kSwatchColors[9]);
}

TEST_F(PageSettingsTest, TheExportDialogSavesEverySettingInItsStoredFormAsOneChange) {
    League league(program_, path_);
    Database& db = league.Db();
    // A new league has the texts, the page colours copied on opening, and nothing else yet.
    ExportDialogSettings s = LoadExportDialogSettings(db);
    EXPECT_EQ(s.heading, "XYZ Racing League");
    EXPECT_EQ(s.reportName, "Point Standings");
    EXPECT_EQ(s.caption, "Results after X races");
    EXPECT_EQ(s.font, "Times New Roman");
    EXPECT_EQ(s.fontSize, 0);
    EXPECT_EQ(s.colors[0], 0xFFFFFF);
    EXPECT_EQ(s.colors[10], designed::kSwatchColors[10]);
    EXPECT_EQ(s.useTableColors, (std::array<bool, 5>{}));
    EXPECT_EQ(s.layout, (std::array<std::string, 3>{"1", "3", "0"}));

    s.heading = "Millbrook League";
    s.font = "Arial";
    s.fontSize = 3;
    s.useBGImage = true;
    s.bgImage = "flag.gif";
    s.colors[0] = 0xFF0000;
    s.colors[17] = 0x0000FF;
    s.useTableColors = {true, true, false, false, true};
    s.layout = {"2", "", "100"};
    SaveExportDialogSettings(db, s);
    auto stored = [&db](int id) {
        return ReadSetting(db, id);
    };
    EXPECT_EQ(stored(2), "Millbrook League");
    EXPECT_EQ(stored(15), "Arial");
    EXPECT_EQ(stored(16), "3");
    EXPECT_EQ(stored(100), "True");
    EXPECT_EQ(stored(101), "flag.gif");
    EXPECT_EQ(stored(102), "&H00FF0000");
    EXPECT_EQ(stored(119), "&H000000FF");
    EXPECT_EQ(stored(201), "1");
    EXPECT_EQ(stored(202), "0");
    EXPECT_EQ(stored(300), "2");
    EXPECT_EQ(stored(301), "");
    EXPECT_EQ(stored(303), kMissingSetting);
    const ExportDialogSettings back = LoadExportDialogSettings(db);
    EXPECT_EQ(back.colors, s.colors);
    EXPECT_EQ(back.useTableColors, s.useTableColors);
    EXPECT_EQ(back.layout, s.layout);
    EXPECT_EQ(SavedPageStyle(db).Layout, (std::array<int, 3>{2, 0, 100}));

    // A setting that cannot be written keeps every one of them as it was.
    db.Execute("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON main.Settings "
               "WHEN old.SettingsID = 302 BEGIN SELECT RAISE(ABORT, 'refused'); END");
    s.heading = "Changed";
    s.layout[2] = "5";
    EXPECT_THROW(SaveExportDialogSettings(db, s), ScorewellError);
    EXPECT_EQ(stored(2), "Millbrook League");
    EXPECT_EQ(stored(302), "100");
}

TEST_F(PageSettingsTest, PagesAreHeadedWithTheStandingsCaptionOrTheRacesLength) {
    EXPECT_EQ(StandingsPageCaption("Results after 8 events:"), "Results after 8 events");
    EXPECT_EQ(StandingsPageCaption(""), "");

    League league(program_, path_);
    Database& db = league.Db();
    db.Execute("INSERT INTO Race (RaceID, Name, Length, Laps) VALUES (1, 'Daytona', 2.5, 200), "
               "(2, 'Charlotte', 1.5, 300), (3, NULL, NULL, NULL)");
    const RaceHeading daytona = ReadRaceHeading(db, 1, ".");
    EXPECT_EQ(daytona.name, "Daytona");
    EXPECT_EQ(daytona.caption, "2.5 miles - 200 laps");
    EXPECT_EQ(ReadRaceHeading(db, 2, ",").caption, "1,5 miles - 300 laps");
    EXPECT_EQ(ReadRaceHeading(db, 3, ".").caption, " miles -  laps");
    EXPECT_THROW(ReadRaceHeading(db, 4, "."), ScorewellError);
}

} // namespace
} // namespace scorewell
