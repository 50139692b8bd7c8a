#include "common/Formatting.h"

#include <gtest/gtest.h>

namespace scorewell {
namespace {

TEST(FormatTime, HoursMinutesSeconds) {
    EXPECT_EQ(FormatTime(0, "."), "--");
    EXPECT_EQ(FormatTime(5.5f, "."), "05.500");
    EXPECT_EQ(FormatTime(65.5f, ","), "1:05,500");
    EXPECT_EQ(FormatTime(3600, "."), "1:00:00.000");
    EXPECT_EQ(FormatTime(400000, "."), "111:06:40.000");
    EXPECT_EQ(FormatTime(0.0004f, "."), "00.000");
    // Negative times follow the same arithmetic (the hour count rounds down to -1).
    EXPECT_EQ(FormatTime(-5, "."), "59:55.000");
}

TEST(FormatQualifying, SpeedOrLapTime) {
    EXPECT_EQ(ConvertSpeedTime(0, 2.5f), 0);
    EXPECT_FLOAT_EQ(ConvertSpeedTime(180, 2.5f), 50);

    EXPECT_EQ(FormatQualifying(std::nullopt, 2.5f, LapReportingMethod::Speed, "."), "--");
    EXPECT_EQ(FormatQualifying(187.5, 2.5f, LapReportingMethod::Speed, ","), "187,500");
    EXPECT_EQ(FormatQualifying(180.0, 2.5f, LapReportingMethod::LapTime, "."), "50.000");
    EXPECT_EQ(FormatQualifying(45.0, 2.5f, LapReportingMethod::LapTime, "."), "3:20.000");
    EXPECT_EQ(FormatQualifying(0.0, 2.5f, LapReportingMethod::LapTime, "."), "--");

    EXPECT_EQ(NumberText(2.5, ","), "2,5");
}

TEST(Colors, ComponentsAndHtml) {
    EXPECT_EQ(HTMLColor(0x0000FF), "FF0000");
    EXPECT_EQ(HTMLColor(-1), "FFFFFF");
    EXPECT_EQ(HTMLColor(static_cast<std::int32_t>(0x80000005)), "FFFFFF");
    EXPECT_EQ(HTMLColor(0x1000000), "FFFFFF");
    EXPECT_EQ(ColorByte(0x123456, 1), 0x56);
    EXPECT_EQ(ColorByte(0x123456, 0), -1);
    EXPECT_EQ(ColorByte(-1, 1), -1);
}

TEST(DefaultSimIndex, PrefersNascarRacing4ThenNascarRacing3) {
    EXPECT_EQ(DefaultSimIndex({"", "", ""}), 1);
    EXPECT_EQ(DefaultSimIndex({"/n3", "", "   "}), 0);
    EXPECT_EQ(DefaultSimIndex({"/n3", "", "/n4"}), 3);
}

} // namespace
} // namespace scorewell
