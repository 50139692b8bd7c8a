#include <gtest/gtest.h>

#include "data/LeagueFile.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.Path()};
    Database league = [this] {
        CreateLeagueFile(dir.File("l.slf"), 0, 0, program.Db(), 0, 0);
        return Database::Open(dir.File("l.slf"));
    }();
};

TEST_F(SettingsTest, ReadSettingTellsMissingFromEmptyAndTrims) {
    EXPECT_EQ(ReadSetting(league, 999), std::string(1, '\0'));
    league.Execute("INSERT INTO Settings VALUES (20, 'N', NULL), (21, NULL, '   '), "
                   "(22, NULL, '  padded  ')");
    EXPECT_EQ(ReadSetting(league, 20), "");
    EXPECT_EQ(ReadSetting(league, 21), "");
    std::string name = "untouched";
    EXPECT_EQ(ReadSetting(league, 22, &name), "padded");
    EXPECT_EQ(name, "");
    ReadSetting(league, 2, &name);
    EXPECT_EQ(name, "Page Heading");
}

TEST_F(SettingsTest, WriteSettingInsertsOnceUpdatesAndStoresBlankAsNull) {
    EXPECT_TRUE(WriteSetting(league, 110, "&H00FFFFFF"));
    EXPECT_TRUE(WriteSetting(league, 110, "&H000000FF"));
    EXPECT_EQ(league.Scalar("SELECT Count(*) FROM Settings WHERE SettingsID=110").AsInteger(), 1);
    EXPECT_EQ(ReadSetting(league, 110), "&H000000FF");
    EXPECT_TRUE(league.Scalar("SELECT SettingName FROM Settings WHERE SettingsID=110").IsNull());
    EXPECT_TRUE(WriteSetting(league, 2, "O'Brien's League"));
    EXPECT_EQ(ReadSetting(league, 2), "O'Brien's League");
    EXPECT_TRUE(WriteSetting(league, 2, "   "));
    EXPECT_TRUE(league.Scalar("SELECT SettingValue FROM Settings WHERE SettingsID=2").IsNull());
    EXPECT_EQ(ReadSetting(league, 2), "");
    league.Execute("DROP TABLE Settings");
    EXPECT_FALSE(WriteSetting(league, 2, "x"));
    EXPECT_EQ(ReadSetting(league, 2), kMissingSetting);
}

TEST_F(SettingsTest, ReadingsOfFlagsSwitchesNumbersAndColours) {
    WriteSetting(league, 100, "True");
    WriteSetting(league, 101, "true");
    EXPECT_TRUE(ReadSettingFlag(league, 100));
    EXPECT_FALSE(ReadSettingFlag(league, 101));
    WriteSetting(league, 13, "1");
    EXPECT_TRUE(ReadSettingSwitch(league, 13));
    EXPECT_FALSE(ReadSettingSwitch(league, 14));
    WriteSetting(league, 14, "True");
    EXPECT_TRUE(ReadSettingSwitch(league, 14));
    WriteSetting(league, 300, "12abc");
    EXPECT_EQ(ReadSettingNumber(league, 300), 12);
    EXPECT_EQ(ReadSettingNumber(league, 999), 0);
    EXPECT_EQ(ReadSettingInteger(league, 300), std::nullopt);
    EXPECT_EQ(ReadSettingInteger(league, 5), 0);
    WriteSetting(league, 103, "&H8000000E");
    EXPECT_EQ(ReadSettingColor(league, 103), static_cast<std::int32_t>(0x8000000E));
    EXPECT_EQ(ReadSettingColor(league, 999), std::nullopt);
}

TEST(SQLQuote, NullAndBlankAreNullOthersQuotedWithQuotesDoubled) {
    EXPECT_EQ(SQLQuote(Value()), "NULL");
    EXPECT_EQ(SQLQuote(Value("")), "NULL");
    EXPECT_EQ(SQLQuote(Value("   ")), "NULL");
    EXPECT_EQ(SQLQuote(Value(" O'Neil ")), "' O''Neil '");
    EXPECT_EQ(NullToText(Value(), "n/a"), "n/a");
    EXPECT_EQ(NullToText(Value(""), "n/a"), "");
    EXPECT_EQ(NullToText(Value(7), "n/a"), "7");
}

TEST_F(SettingsTest, GetMaxIDAndSetBonusPoints) {
    EXPECT_EQ(GetMaxID(league, "Race", "RaceID"), 0);
    league.Execute("INSERT INTO Race (Name) VALUES ('A')");
    EXPECT_EQ(GetMaxID(league, "Race", "RaceID"), 1);
    EXPECT_THROW(GetMaxID(league, "NoTable", "X"), DbError);
    EXPECT_TRUE(SetBonusPoints(league, 3, 10));
    EXPECT_EQ(league.Scalar("SELECT Points FROM Bonus WHERE BonusID=3").AsInteger(), 10);
    EXPECT_FALSE(SetBonusPoints(league, 3, 100000));
}

TEST_F(SettingsTest, PointTableInPresetAndCustomModes) {
    PointTable preset = LoadPointSystem(program.Db(), league, false, true);
    EXPECT_EQ(preset.Positions(), 43);
    EXPECT_EQ(preset.Columns(), 4);
    EXPECT_EQ(preset.At(11, 0).AsInteger(), 130);
    EXPECT_EQ(preset.At(43, 0).AsInteger(), 34);
    EXPECT_EQ(preset.At(1, 2).AsInteger(), 86);
    EXPECT_EQ(preset.At(43, 3).AsInteger(), 3);
    EXPECT_TRUE(preset.At(44, 0).IsNull());

    // More rows than 43 are not loaded; fewer leave the rest empty.
    program.Db().Execute("INSERT INTO PointSystem VALUES (44, 1, 0, 0, 0)");
    EXPECT_EQ(LoadPointSystem(program.Db(), league, false, false).Positions(), 43);
    program.Db().Execute("DELETE FROM PointSystem WHERE Position > 40");
    PointTable short_ = LoadPointSystem(program.Db(), league, false, false);
    EXPECT_EQ(short_.At(40, 0).AsInteger(), 43);
    EXPECT_TRUE(short_.At(41, 0).IsNull());

    league.Execute("DELETE FROM PointSystem");
    league.Execute("INSERT INTO PointSystem VALUES (1, 10, 1000), (2, 8, NULL), (3, 6, 300)");
    PointTable custom = LoadPointSystem(program.Db(), league, true, false);
    EXPECT_EQ(custom.Positions(), 3);
    EXPECT_EQ(custom.Columns(), 2);
    EXPECT_EQ(custom.At(1, 1).AsInteger(), 1000);
    EXPECT_TRUE(custom.At(2, 1).IsNull());
    EXPECT_EQ(custom.At(3, 0).AsInteger(), 6);
    league.Execute("DELETE FROM PointSystem");
    EXPECT_EQ(LoadPointSystem(program.Db(), league, true, false).Positions(), 0);
}

} // namespace
} // namespace scorewell
