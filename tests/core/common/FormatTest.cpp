#include "common/Format.h"

#include <gtest/gtest.h>

#include "common/Formatting.h"
#include <cmath>

namespace scorewell {
namespace {

struct Case {
    const char* pattern;
    double value;
    const char* point;
    const char* comma;
};

TEST(FormatNumber, PatternsOfTheProgram) {
    const Case cases[] = {
        {"00.000", 5.5, "05.500", "05,500"},
        {"00.000", -5.5, "-05.500", "-05,500"},
        {"##0.000;;--", 187.02, "187.020", "187,020"},
        {"##0.000;;--", 0, "--", "--"},
        {"##0.000 mph;;--", 150.5, "150.500 mph", "150,500 mph"},
        {"##0.000 mph;;--", 0, "--", "--"},
        {"####;;--", 200, "200", "200"},
        {"####;;--", 0, "--", "--"},
        {"##", 7, "7", "7"},
        {"##", 2.5, "3", "3"},
        {"##", 0, "", ""},
        {"0;;--", 2.5, "3", "3"},
        {"0;;--", -2.5, "-3", "-3"},
        {"0;;--", 0.4, "0", "0"}, // chosen by the value, not by its rounded text
        {"0;;--", 0, "--", "--"},
        {"0.0", 3.45, "3.5", "3,5"},
        {"0.0", -0.05, "-0.1", "-0,1"},
        {"0.000", 0.0005, "0.001", "0,001"},
        {"0.000", -0.0004, "-0.000", "-0,000"}, // the sign stays, as in the classic function
        {"#0:", 5, "5:", "5:"},
        {"#0:", 0, "0:", "0:"},
        {"00", 5, "05", "05"},
        {"00", -5, "-05", "-05"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " with " + std::to_string(c.value));
        EXPECT_EQ(FormatNumber(c.value, c.pattern, "."), c.point);
        EXPECT_EQ(FormatNumber(c.value, c.pattern, ","), c.comma);
    }
}

TEST(FormatNumber, RoundsTheDecimalValueHalfAwayFromZero) {
    EXPECT_EQ(FormatNumber(1.005, "0.00", "."), "1.01");
    EXPECT_EQ(FormatNumber(999.5, "##0", "."), "1000");
    // Widened single-precision values round on their own decimals.
    EXPECT_EQ(FormatNumber(static_cast<double>(0.0005f), "0.000", "."), "0.001");
    EXPECT_EQ(FormatNumber(1e20, "0", "."), "100000000000000000000");
}

TEST(FormatNumber, OtherPatternElements) {
    EXPECT_EQ(FormatNumber(1234567.891, "#,##0.00", "."), "1,234,567.89");
    EXPECT_EQ(FormatNumber(1234567.891, "#,##0.00", ","), "1.234.567,89");
    EXPECT_EQ(FormatNumber(12345, "0,", "."), "12");
    EXPECT_EQ(FormatNumber(1.5, "0.##", "."), "1.5");
    EXPECT_EQ(FormatNumber(1, "0.##", "."), "1.");
    EXPECT_EQ(FormatNumber(0.125, "0%", "."), "13%");
    EXPECT_EQ(FormatNumber(5, "0\\%", "."), "5%");
    EXPECT_EQ(FormatNumber(5, "\"Lap \"0", "."), "Lap 5");
    EXPECT_EQ(FormatNumber(5, "0\" ; \"0", "."), "0 ; 5");
    EXPECT_EQ(FormatNumber(12345, "0.00E+00", "."), "1.23E+04");
    EXPECT_EQ(FormatNumber(0.00012, "0.00E-00", ","), "1,20E-04");
}

TEST(FormatNumber, SectionsAndFallbacks) {
    EXPECT_EQ(FormatNumber(-5, "0;(0);\"zero\"", "."), "(5)");
    EXPECT_EQ(FormatNumber(0, "0;(0);\"zero\"", "."), "zero");
    EXPECT_EQ(FormatNumber(0, "0.0;;", "."), "0.0");
    EXPECT_EQ(FormatNumber(-5, "0;--", "."), "--");
    EXPECT_EQ(FormatNumber(-0.0, "0;(0);\"zero\"", "."), "zero");
    EXPECT_EQ(FormatNumber(2.5, "", ","), "2,5");
    EXPECT_EQ(FormatNumber(1234.5, "Standard", ","), "1.234,50");
    EXPECT_EQ(FormatNumber(0.5, "Percent", "."), "50.00%");
    EXPECT_EQ(FormatNumber(-3, "Currency", "."), "($3.00)");
    EXPECT_EQ(FormatNumber(-1, "True/False", "."), "True");
    EXPECT_EQ(FormatNumber(std::nan(""), "0.0", "."), "NaN");
}

TEST(FormatValue, ValueKinds) {
    EXPECT_EQ(FormatValue(Value(), "##0.000;;--", "."), "");
    EXPECT_EQ(FormatValue(Value(5), "", "."), "5");
    EXPECT_EQ(FormatValue(Value(187.02f), "", ","), "187,02");
    EXPECT_EQ(FormatValue(Value("150.000"), "##0.0 mph", ","), "150,0 mph");
    EXPECT_EQ(FormatValue(Value(" -2.5 "), "0.00", "."), "-2.50");
    EXPECT_EQ(FormatValue(Value("0"), "0;;--", "."), "--");
    EXPECT_EQ(FormatValue(Value("1:02.500"), "0.000", "."), "1:02.500");
    EXPECT_EQ(FormatValue(Value("DNF"), "0", "."), "DNF");
}

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
