#include <gtest/gtest.h>

#include <string>

#include "common/Errors.h"
#include "core/LeagueFixture.h"
#include "data/Settings.h"
#include "html/PageSettings.h"

namespace scorewell {
namespace {

using PageSettingsTest = test::LeagueFixture;

TEST_F(PageSettingsTest, SavedSettingsStyleThePage) {
    Open();
    const std::pair<int, const char*> saved[] = {
        {100, "True"}, {101, "back.gif"}, {102, "&H00FF0000"}, {111, "&H000000FF"},
        {200, "0"},    {201, "1"},        {202, "-1"},         {300, "5"},
        {301, ""},     {302, "12 px"},    {15, "Arial"},       {16, "4"}};
    for (const auto& [id, value] : saved) {
        WriteSetting(Db(), id, value);
    }
    PageStyle s = SavedPageStyle(Db());
    EXPECT_TRUE(s.useBackgroundImage);
    EXPECT_EQ(s.backgroundImage, "back.gif");
    EXPECT_EQ(s.backgroundColor, 0xFF0000);
    EXPECT_EQ(s.tableColors[1], 0x0000FF);
    EXPECT_EQ(s.useTableColors, (std::array<bool, 5>{false, true, true, false, false}));
    EXPECT_EQ(s.layout, (std::array<int, 3>{5, 0, 12}));
    EXPECT_EQ(s.font, "Arial");
    EXPECT_EQ(s.fontSize, 4);

    // Only the exact flag text turns the image on; a colour that is no number keeps the
    // default one.
    WriteSetting(Db(), 100, "true");
    WriteSetting(Db(), 111, "blue");
    s = SavedPageStyle(Db());
    EXPECT_FALSE(s.useBackgroundImage);
    EXPECT_EQ(s.tableColors[1], PageDefaults::kSwatchColors[9]);
}

TEST_F(PageSettingsTest, TheExportDialogSavesEverySettingInItsStoredFormAsOneChange) {
    Open();
    ExportDialogSettings s = LoadExportDialogSettings(Db());
    EXPECT_EQ(s.caption, "Results after X races");
    EXPECT_EQ(s.layout, (std::array<std::string, 3>{"1", "3", "0"}));

    s.heading = "Millbrook League";
    s.fontSize = 3;
    s.useBGImage = true;
    s.colors[17] = 0x0000FF;
    s.useTableColors = {true, true, false, false, true};
    s.layout = {"2", "", "100"};
    SaveExportDialogSettings(Db(), s);
    EXPECT_EQ(Rows("SELECT SettingsID, SettingValue FROM Settings WHERE SettingsID IN "
                   "(2, 16, 100, 119, 201, 202, 300, 301, 303) ORDER BY SettingsID"),
              (std::vector<std::string>{"2|Millbrook League", "16|3", "100|True", "119|&H000000FF",
                                        "201|1", "202|0", "300|2", "301|NULL"}));
    const ExportDialogSettings back = LoadExportDialogSettings(Db());
    EXPECT_EQ(back.colors, s.colors);
    EXPECT_EQ(back.useTableColors, s.useTableColors);
    EXPECT_EQ(SavedPageStyle(Db()).layout, (std::array<int, 3>{2, 0, 100}));

    // A setting that cannot be written keeps every one of them as it was.
    Db().Execute("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON main.Settings "
                 "WHEN old.SettingsID = 302 BEGIN SELECT RAISE(ABORT, 'refused'); END");
    s.heading = "Changed";
    s.layout[2] = "5";
    EXPECT_THROW(SaveExportDialogSettings(Db(), s), ScorewellError);
    EXPECT_EQ(ReadSetting(Db(), 2), "Millbrook League");
    EXPECT_EQ(ReadSetting(Db(), 302), "100");
}

TEST_F(PageSettingsTest, PagesAreHeadedWithTheStandingsCaptionOrTheRacesLength) {
    EXPECT_EQ(StandingsPageCaption("Results after 8 events:"), "Results after 8 events");
    EXPECT_EQ(StandingsPageCaption(""), "");
    Open();
    Db().Execute("INSERT INTO Race (RaceID, Name, Length, Laps) VALUES (1, 'Daytona', 2.5, 200), "
                 "(2, NULL, NULL, NULL)");
    const RaceHeading daytona = ReadRaceHeading(Db(), 1, ",");
    EXPECT_EQ(daytona.name, "Daytona");
    EXPECT_EQ(daytona.caption, "2,5 miles - 200 laps");
    EXPECT_EQ(ReadRaceHeading(Db(), 2, ".").caption, " miles -  laps");
    EXPECT_THROW(ReadRaceHeading(Db(), 4, "."), ScorewellError);
}

} // namespace
} // namespace scorewell
