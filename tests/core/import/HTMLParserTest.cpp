#include "import/HTMLParser.h"

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/Text.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

// The fixture page: Windows-1252 bytes, CR LF lines, practice, qualifying, warm-up and race.
std::string SamplePage() {
    return ReadFileBytes(SCOREWELL_FIXTURES_DIR "/nr4/millbrook-standings.html");
}

std::string Replaced(const std::string& page, const std::string& from, const std::string& to) {
    EXPECT_NE(page.find(from), std::string::npos) << from;
    return ReplaceAll(page, from, to);
}

class HTMLParserTest : public ::testing::Test {
protected:
    HTMLParserTest() { tracks.Add("Millbrook Speedway", 2.5f, "Millbrook Speedway"); }

    void Write(const std::string& page) {
        parser.InputFile = dir.File("Millbrook Race.html");
        parser.TrackList = &tracks;
        WriteFileBytes(parser.InputFile, page);
    }

    bool Parse(const std::string& page) {
        Write(page);
        return parser.Execute();
    }

    TempDir dir;
    CTracks tracks;
    CHTMLParser parser;
};

TEST_F(HTMLParserTest, ReadsTheRaceAndItsDrivers) {
    ASSERT_TRUE(Parse(SamplePage())) << parser.ErrMsg();
    EXPECT_EQ(parser.ErrNum(), 0);

    const CRaceInfo& race = parser.Race();
    EXPECT_EQ(race.Name, "Millbrook Speedway");
    EXPECT_EQ(race.FileName, "Millbrook Race.html");
    EXPECT_EQ(race.Laps, 200);
    EXPECT_FLOAT_EQ(race.Length, 2.5f);
    EXPECT_EQ(race.AvgSpeed, "150.000mph");
    EXPECT_EQ(race.RaceTime, "3:20:00.000");
    EXPECT_EQ(race.VictoryMargin, "0.452 sec");
    EXPECT_EQ(race.Cautions, "3");
    EXPECT_EQ(race.Weather, "Sunny, 78 degrees");

    // Practice and warm-up tables would have added rows or changed the qualifying speeds.
    const CDrivers& drivers = parser.Drivers();
    ASSERT_EQ(drivers.Count(), 5u);
    std::vector<std::string> names;
    for (const CDriverInfo& driver : drivers) {
        names.push_back(driver.Name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Dale Rivers", "Renée Dufrêne", "Wes Pruitt",
                                               "Cody Marsh", "Hank Tolliver"}));

    const CDriverInfo& winner = drivers.Item("DALE RIVERS");
    EXPECT_EQ(winner.Start, 1);
    EXPECT_EQ(winner.Finish, 1);
    EXPECT_EQ(winner.LapsRun, 200);
    EXPECT_EQ(winner.LapsLed, 112);
    EXPECT_EQ(winner.Points, 185);
    EXPECT_NEAR(winner.Qualifying, 187.02f, 0.005f); // 48.123 s on 2.5 miles
    EXPECT_EQ(winner.ReasonOut, "Running");
    EXPECT_FLOAT_EQ(drivers.Item("Renée Dufrêne").Qualifying, 188.5f);
    EXPECT_FLOAT_EQ(drivers.Item("Cody Marsh").Qualifying, 144.0f); // 1:02.500
    EXPECT_EQ(drivers.Item("Hank Tolliver").Qualifying, 0.0f);      // "--"
    EXPECT_EQ(drivers.Item("Hank Tolliver").ReasonOut, "Engine");
    EXPECT_EQ(drivers.Item("Wes Pruitt").Start, 5);
    EXPECT_EQ(drivers.Item("Wes Pruitt").Qualifying, 0.0f); // nobody qualified fifth
}

TEST_F(HTMLParserTest, ToleratesOtherWaysOfWritingThePage) {
    // Tags in other letter case, rows without closing tag, LF line ends, tabs, a comma as the
    // decimal separator of the race time, a runner-up laps down.
    std::string page = ReplaceAll(SamplePage(), "</TR>", "");
    page = ReplaceAll(ReplaceAll(page, "<TD>", "<td>\t"), "</TD>", "</Td>");
    page = ReplaceAll(ReplaceAll(page, "<TABLE", "<table"), "\r\n", "\n");
    page = Replaced(page, "-0.452", "-2L");
    parser.DecimalSeparator = ",";

    ASSERT_TRUE(Parse(page)) << parser.ErrMsg();
    EXPECT_EQ(parser.Drivers().Count(), 5u);
    EXPECT_EQ(parser.Drivers().Item(4).Name, "Hank Tolliver");
    EXPECT_EQ(parser.Race().VictoryMargin, "2 lap(s)");
    EXPECT_EQ(parser.Race().RaceTime, "3:20:00,000");
}

TEST_F(HTMLParserTest, CellsMissingFromARowKeepThePreviousRowsValues) {
    std::string page =
        Replaced(SamplePage(), "<TD>Hank Tolliver</TD><TD>--</TD>", "<TD>Hank Tolliver</TD>");
    page = Replaced(page, "<TD>0</TD><TD>165</TD><TD>Running</TD>", "<TD>0</TD>");

    ASSERT_TRUE(Parse(page)) << parser.ErrMsg();
    EXPECT_FLOAT_EQ(parser.Drivers().Item("Hank Tolliver").Qualifying, 144.0f);
    EXPECT_EQ(parser.Drivers().Item("Wes Pruitt").Points, 175);
    EXPECT_EQ(parser.Drivers().Item("Wes Pruitt").ReasonOut, "Running");
}

TEST_F(HTMLParserTest, RefusesAHeadingInOtherLetterCase) {
    EXPECT_FALSE(Parse(Replaced(SamplePage(), "NASCAR RACING 4 EXPORTED STANDINGS",
                                "NASCAR Racing 4 Exported Standings")));
    EXPECT_EQ(parser.ErrNum(), 2);
    EXPECT_EQ(parser.ErrMsg(), "This file does not seem to have been exported by\r\n"
                               "NASCAR Racing 4 or else it has been modified.");
}

struct Damage {
    const char* what;
    std::string from;
    std::string to;
    long errNum;
    std::string message; // part of ErrMsg
};

TEST_F(HTMLParserTest, RefusesDamagedPagesWithAPlainReason) {
    const std::string end = "<!-- end of standings -->";
    const std::vector<Damage> damages = {
        {"unclosed element", end, "<FONT SIZE=2>NR4", CHTMLParser::ErrUnclosedElement,
         "<FONT> is not closed by </FONT>"},
        {"cautions", "3 (14 laps)", "3", CHTMLParser::ErrCautionFlags, "\"3\""},
        {"qualifying position", "<TD>4</TD><TD>3</TD><TD>Hank", "<TD>44</TD><TD>3</TD><TD>Hank",
         CHTMLParser::ErrPosition, "qualifying position \"44\" is not between 1 and 43"},
        {"start position", "<TD>3</TD><TD>5</TD>", "<TD>3</TD><TD>0</TD>", CHTMLParser::ErrPosition,
         "start position \"0\" of \"Wes Pruitt\""},
        {"race cells", "Engine</TD>", "Engine</TD><TD>x</TD>", CHTMLParser::ErrTooManyCells,
         "race table has 10 cells"},
        {"qualifying cells", "--</TD>", "--</TD><TD>x</TD>", CHTMLParser::ErrTooManyCells,
         "qualifying table has 5 cells"},
        {"same driver", "Hank Tolliver</TD><TD>-88L", "DALE RIVERS</TD><TD>-88L",
         CHTMLParser::ErrDuplicateDriver, "\"DALE RIVERS\" is listed twice"},
        {"unknown track", "MILLBROOK", "HARLAN", CHTMLParser::ErrUnknownTrack,
         "\"Harlan Speedway\" is not among the tracks of the NASCAR Racing 4 folder /games/nr4."},
        {"overflow", "<TD>112</TD><TD>0</TD>", "<TD>40000</TD><TD>0</TD>",
         CHTMLParser::ErrNumberTooLarge, "\"40000\""},
    };
    parser.TracksFolder = "/games/nr4";
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        EXPECT_FALSE(Parse(Replaced(SamplePage(), damage.from, damage.to)));
        EXPECT_EQ(parser.ErrNum(), damage.errNum);
        EXPECT_NE(parser.ErrMsg().find(damage.message), std::string::npos) << parser.ErrMsg();
    }

    parser.InputFile = dir.File("missing.html");
    EXPECT_FALSE(parser.Execute());
    EXPECT_EQ(parser.ErrNum(), CHTMLParser::ErrCannotOpen);
    EXPECT_EQ(parser.ErrMsg(), "The file does not exist.");
}

TEST_F(HTMLParserTest, ReadsAPageOfSeveralMegabytesQuickly) {
    std::string page = "<H1>NASCAR RACING 4 EXPORTED STANDINGS</H1><H3>Track: Millbrook "
                       "Speedway</H3><H3>Session: Practice</H3><table>";
    const std::string practiceRow = "<tr><td>1</td><td>9</td><td>Someone</td><td>48.000</td>\r\n";
    for (int i = 0; i < 30000; ++i) {
        page += practiceRow;
    }
    page += "</table><H3>Session: Race</H3><table>";
    for (int i = 1; i <= 30000; ++i) {
        page += "<tr><td>" + std::to_string(i) + "</td><td>" + std::to_string(i % 43 + 1) +
                "</td><td>9</td><td>Driver " + std::to_string(i) +
                "</td><td>-1L</td><td>200</td><td>0</td><td>3</td><td>Running</td>\r\n";
    }
    page += "</table>";
    ASSERT_GT(page.size(), 5'000'000u);

    Write(page);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(parser.Execute()) << parser.ErrMsg();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(parser.Drivers().Count(), 30000u);
    EXPECT_EQ(parser.Drivers().Item(29999).Name, "Driver 30000");
    // Only an optimised build without sanitizers says anything about speed.
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(elapsed, std::chrono::seconds(1));
#endif
    RecordProperty(
        "ParseMilliseconds",
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
}

} // namespace
} // namespace scorewell
