#include <gtest/gtest.h>

#include "core/LeagueFixture.h"
#include "data/Settings.h"

namespace scorewell {
namespace {

class SettingsTest : public test::LeagueFixture {
protected:
    void SetUp() override { Open(); }
};

TEST_F(SettingsTest, ReadTellsMissingFromEmptyAndWriteStoresBlankAsNull) {
    EXPECT_EQ(ReadSetting(Db(), 999), std::string(1, '\0'));
    Db().Execute("INSERT INTO Settings VALUES (20, 'N', NULL), (22, NULL, '  padded  ')");
    EXPECT_EQ(ReadSetting(Db(), 20), "");
    std::string name = "untouched";
    EXPECT_EQ(ReadSetting(Db(), 22, &name), "padded");
    EXPECT_EQ(name, "");

    EXPECT_TRUE(WriteSetting(Db(), 110, "&H00FFFFFF"));
    EXPECT_TRUE(WriteSetting(Db(), 110, "O'Brien's"));
    EXPECT_EQ(Rows("SELECT * FROM Settings WHERE SettingsID=110"),
              std::vector<std::string>{"110|NULL|O'Brien's"});
    EXPECT_TRUE(WriteSetting(Db(), 2, "   "));
    EXPECT_TRUE(Db().Scalar("SELECT SettingValue FROM Settings WHERE SettingsID=2").IsNull());
    Db().Execute("DROP TABLE Settings");
    EXPECT_FALSE(WriteSetting(Db(), 2, "x"));
    EXPECT_EQ(ReadSetting(Db(), 2), kMissingSetting);
}

TEST_F(SettingsTest, ReadingsOfFlagsSwitchesNumbersAndColours) {
    WriteSetting(Db(), 100, "True");
    WriteSetting(Db(), 101, "true");
    EXPECT_TRUE(ReadSettingFlag(Db(), 100));
    EXPECT_FALSE(ReadSettingFlag(Db(), 101));
    WriteSetting(Db(), 14, "True");
    EXPECT_TRUE(ReadSettingSwitch(Db(), 14));
    EXPECT_FALSE(ReadSettingSwitch(Db(), 13));
    WriteSetting(Db(), 300, "12abc");
    EXPECT_EQ(ReadSettingNumber(Db(), 300), 12);
    EXPECT_EQ(ReadSettingInteger(Db(), 300), std::nullopt);
    WriteSetting(Db(), 103, "&H8000000E");
    EXPECT_EQ(ReadSettingColor(Db(), 103), static_cast<std::int32_t>(0x8000000E));
    EXPECT_EQ(ReadSettingColor(Db(), 999), std::nullopt);
}

TEST_F(SettingsTest, BonusPointsMustFitTheirField) {
    EXPECT_TRUE(SetBonusPoints(Db(), 3, 10));
    EXPECT_EQ(Db().Scalar("SELECT Points FROM Bonus WHERE BonusID=3").AsInteger(), 10);
    EXPECT_FALSE(SetBonusPoints(Db(), 3, 100000));
}

TEST_F(SettingsTest, PointTableInPresetAndCustomModes) {
    PointTable preset = LoadPointSystem(program->Db(), Db(), false, true);
    EXPECT_EQ(preset.Columns(), 4);
    EXPECT_EQ(preset.At(11, 0).AsInteger(), 130);
    EXPECT_EQ(preset.At(43, 3).AsInteger(), 3);
    EXPECT_TRUE(preset.At(44, 0).IsNull());

    // More rows than 43 are not loaded; fewer leave the rest empty.
    program->Db().Execute("INSERT INTO PointSystem VALUES (44, 1, 0, 0, 0)");
    EXPECT_EQ(LoadPointSystem(program->Db(), Db(), false, false).Positions(), 43);
    program->Db().Execute("DELETE FROM PointSystem WHERE Position > 40");
    EXPECT_TRUE(LoadPointSystem(program->Db(), Db(), false, false).At(41, 0).IsNull());

    Db().Execute("DELETE FROM PointSystem");
    Db().Execute("INSERT INTO PointSystem VALUES (1, 10, 1000), (2, 8, NULL), (3, 6, 300)");
    PointTable custom = LoadPointSystem(program->Db(), Db(), true, false);
    EXPECT_EQ(custom.Positions(), 3);
    EXPECT_EQ(custom.Columns(), 2);
    EXPECT_EQ(custom.At(1, 1).AsInteger(), 1000);
    EXPECT_TRUE(custom.At(2, 1).IsNull());
}

} // namespace
} // namespace scorewell
