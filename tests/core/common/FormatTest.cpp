#include "common/Format.h"

#include <gtest/gtest.h>

#include "common/Formatting.h"
#include "common/Numbers.h"
#include "common/Text.h"
#include "common/Value.h"
#include "support/TempDir.h"
#include <cmath>
#include <cstdlib>
#include <limits>

namespace scorewell {
namespace {

// The cases of tests/fixtures/common/format-number.txt, where each pattern and value stands beside
// the texts it gives.
TEST(FormatNumber, PatternsSectionsAndRounding) {
    std::string table = test::ReadFileBytes(SCOREWELL_FIXTURES_DIR "/common/format-number.txt");
    std::erase(table, '\r');
    int cases = 0;
    for (const std::string& line : Split(table, '\n')) {
        std::vector<std::string> column = Split(line, '|');
        if (column.size() != 4) {
            continue;
        }
        for (std::string& text : column) {
            text = Trim(text);
        }
        SCOPED_TRACE(line);
        const double value = std::strtod(column[1].c_str(), nullptr);
        EXPECT_EQ(FormatNumber(value, column[0], "."), column[2]);
        EXPECT_EQ(FormatNumber(value, column[0], ","), column[3]);
        ++cases;
    }
    EXPECT_EQ(cases, 47); // every case of the file was read
    // Widened single-precision values round on their own decimals.
    EXPECT_EQ(FormatNumber(static_cast<double>(0.0005f), "0.000", "."), "0.001");
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

TEST(LeadingNumber, ReadsTheNumberTheTextStartsWith) {
    EXPECT_EQ(LeadingNumber("150.000mph"), 150);
    EXPECT_EQ(LeadingNumber(" -2L"), -2);
    EXPECT_EQ(LeadingNumber("1:02.5"), 1);
    EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(LeadingNumber("1e3x"), 1000);
    EXPECT_EQ(LeadingNumber("1E"), 1);
    EXPECT_EQ(LeadingNumber("&H10"), 16);
    EXPECT_EQ(LeadingNumber("&hFFFFFFFF"), -1);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("1e400"), 0);
    EXPECT_FALSE(std::signbit(LeadingNumber("-0")));
}

TEST(StrictNumber, WholeTextMustBeANumber) {
    EXPECT_EQ(StrictNumber(" 12.5 "), 12.5);
    EXPECT_EQ(StrictNumber("5."), 5);
    EXPECT_EQ(StrictNumber("&HFF"), 255);
    EXPECT_EQ(StrictNumber("&H80000008"), -2147483640);
    for (const char* text : {"", "   ", "12a", "1 2", "1e", ".", "-", "&H", "&HG1", "&H100000000",
                             "-&H10", "1e400", "inf", "nan", "1,5"}) {
        EXPECT_FALSE(StrictNumber(text).has_value()) << text;
    }

    EXPECT_EQ(StrictInteger("2.5"), 2);
    EXPECT_EQ(StrictInteger("3.5"), 4);
    EXPECT_EQ(StrictInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_FALSE(StrictInteger("2147483648").has_value());
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(467.5), 468);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(RoundHalfEven(-1e300), std::numeric_limits<std::int64_t>::min());
}

TEST(ColorText, EightHexDigitsOfTheTwosComplement) {
    EXPECT_EQ(ColorText(0xFFFFFF), "&H00FFFFFF");
    EXPECT_EQ(ColorText(static_cast<std::int32_t>(0x8000000E)), "&H8000000E");
    EXPECT_EQ(ParseColorText("&H0000FF"), 255);
    EXPECT_EQ(ParseColorText("16777215"), 0xFFFFFF);
    EXPECT_FALSE(ParseColorText("red").has_value());
    for (std::int32_t color : {0, 0x123456, -1, std::numeric_limits<std::int32_t>::min()}) {
        EXPECT_EQ(ParseColorText(ColorText(color)), color);
    }
}

TEST(GeneralNumberText, ClassicNumberText) {
    EXPECT_EQ(GeneralNumberText(2.5), "2.5");
    EXPECT_EQ(GeneralNumberText(-2.5, ","), "-2,5");
    EXPECT_EQ(GeneralNumberText(-0.0), "0");
    EXPECT_EQ(GeneralNumberText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(GeneralNumberText(123456789012345), "123456789012345");
    EXPECT_EQ(GeneralNumberText(1e15), "1E+15");
    EXPECT_EQ(GeneralNumberText(-1.5e300), "-1.5E+300");
    EXPECT_EQ(GeneralNumberText(1e-5), "1E-05");
    // Single-precision values print with 7 digits, whole numbers in full.
    EXPECT_EQ(GeneralNumberText(static_cast<double>(187.02f)), "187.02");
    EXPECT_EQ(GeneralNumberText(static_cast<double>(2.7182818f)), "2.718282");
    EXPECT_EQ(GeneralNumberText(12345678.0), "12345678");
}

TEST(Value, ConversionsAndSinglePrecision) {
    EXPECT_EQ(Value::SingleToDouble(187.02f), 187.02);
    EXPECT_EQ(Value::SingleToDouble(16777216.0f), 16777216.0);
    EXPECT_TRUE(std::isinf(Value::SingleToDouble(std::numeric_limits<float>::infinity())));
    EXPECT_EQ(Value(187.02f).AsText(), "187.02");
    EXPECT_NE(Value(), Value(""));

    EXPECT_EQ(Value(" 3.5x").AsDouble(), 3.5);
    EXPECT_EQ(Value("12abc").AsInteger(), 12);
    EXPECT_EQ(Value(2.5).AsInteger(), 2);

    EXPECT_TRUE(Value("True").AsBool());
    EXPECT_TRUE(Value(0.5).AsBool());
    EXPECT_FALSE(Value("true").AsBool());
    EXPECT_FALSE(Value().AsBool());

    EXPECT_TRUE(std::isinf(ToSingle(1e300)));
    EXPECT_LT(ToSingle(-1e300), 0);
}

} // namespace
} // namespace scorewell
