// Whole pages written by the page writer, compared byte for byte with pages put together by hand
// from the page templates.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "common/Text.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "html/CExport.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

// Pages end their lines with CR LF; the expected pages are written with plain line ends.
std::string Crlf(std::string_view text) {
    return ReplaceAll(text, "\n", "\r\n");
}

std::set<std::string> FolderEntries(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

const char* const kStandingsQuery =
    "SELECT Driver.Name AS Driver, Sum(Stats.Points) AS Points, "
    "Max(Sum(Stats.Points)) OVER () - Sum(Stats.Points) AS Interval, "
    "Count(CASE WHEN Stats.Finish = 1 THEN 1 END) AS Wins "
    "FROM Driver INNER JOIN Stats ON Stats.DriverID = Driver.DriverID "
    "GROUP BY Driver.DriverID ORDER BY Points DESC";

class CExportTest : public ::testing::Test {
protected:
    void OpenLeague(int leagueType, int lapMethod) {
        CreateLeagueFile(path_, 0, leagueType, program_.Db(), 0, lapMethod);
        league_ = std::make_unique<League>(program_, path_);
    }

    Database& Db() { return league_->Db(); }

    // Three drivers over two races: Bob 355 points, Alan 300, Carl 150; Bob and Alan won once.
    void AddStandings() {
        Db().Execute("INSERT INTO Race (RaceID, Name) VALUES (1, 'Daytona'), (2, 'Dover')");
        Db().Execute("INSERT INTO Driver (DriverID, Name) VALUES (1, 'Alan Ash'), "
                     "(2, 'Bob Burns'), (3, 'Carl Cole')");
        const char* result = "INSERT INTO Stats (RaceID, DriverID, Finish, Points) "
                             "VALUES (?, ?, ?, ?)";
        Db().Execute(result, {1, 1, 1, 180});
        Db().Execute(result, {1, 2, 2, 170});
        Db().Execute(result, {2, 2, 1, 185});
        Db().Execute(result, {2, 1, 3, 120});
        Db().Execute(result, {2, 3, 2, 150});
    }

    // A report of four columns: the points are hidden, the interval has a plain pattern, and the
    // wins caption carries the alignment marker.
    std::int32_t AddStandingsReport(const char* intervalFormat = "0.0") {
        Database& p = program_.Db();
        p.Execute("INSERT INTO Report (Name, Query, Sequence) VALUES ('Custom', ?, 9)",
                  {Value(kStandingsQuery)});
        const auto id = static_cast<std::int32_t>(p.LastInsertRowId());
        const char* field =
            "INSERT INTO ReportField (ReportID, Sequence, Name, ColWidth, "
            "ColAlignment, ColFormat, Hidden, Field) VALUES (?, ?, ?, ?, ?, ?, ?, ?)";
        p.Execute(field, {id, 1, "Driver", 2500, 1, nullptr, 0, "Driver"});
        p.Execute(field, {id, 2, "Points", 800, 4, nullptr, 1, "Points"});
        p.Execute(field, {id, 3, "Interval", 800, 4, intervalFormat, 0, "Interval"});
        p.Execute(field, {id, 4, "Wins <*ALIGN*>", 600, 7, nullptr, 0, "Wins"});
        return id;
    }

    std::unique_ptr<CExport> Writer(int exportType, std::int32_t id) {
        auto page = std::make_unique<CExport>(Db(), program_.Db());
        page->ExportType = exportType;
        page->ReportID = id;
        page->Title = "Millbrook League\r\nSeason 2";
        page->ReportName = "Point <I>Standings</I>";
        page->Title2 = "Results after 2 events";
        page->Footer = "<p>footer</p>";
        PageStyle& s = page->Style;
        s.BGColor = static_cast<std::int32_t>(0x8000000E);
        s.TextColor = 0x000000;
        s.LinkColor = 0xFF0000;
        s.VLinkColor = 0x0000FF;
        s.ALinkColor = 0x123456;
        s.TitleColor = 0x000080;
        s.ReportNameColor = 0x008000;
        s.CaptionColor = -1;
        s.TableColors = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF,
                         0xFFFF00, 0xE0E0E0, 0x808080, 0x404040, 0x123456};
        s.Layout = {1, 3, 0};
        s.HTMLPageFont = "Times New Roman";
        return page;
    }

    std::string Written() { return test::ReadFileBytes(page_); }

    test::TempDir dir_;
    Program program_{dir_.Path()};
    std::string path_ = dir_.File("league.slf");
    std::string page_ = dir_.File("page.htm");
    std::unique_ptr<League> league_;
};

TEST_F(CExportTest, AReportPageLeavesHiddenColumnsOutAndShowsAZeroIntervalAsDashes) {
    OpenLeague(0, 0);
    AddStandings();
    auto page = Writer(CExport::kReport, AddStandingsReport());
    // Alternating colours mean nothing while row colours are off.
    page->Style.UseTableColors = {false, false, true, false, false};
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    EXPECT_EQ(Written(), Crlf(R"page(<HTML><HEAD>
<TITLE>Millbrook League - Season 2</TITLE>
</HEAD><BODY BGCOLOR="#FFFFFF" TEXT="#000000" LINK="#0000FF" VLINK="#FF0000" ALINK="#563412"><FONT FACE="Times New Roman">
<HR><H1><CENTER><FONT COLOR="#800000">Millbrook League<BR>Season 2</FONT></CENTER></H1><HR>
<CENTER><H2><FONT COLOR="#008000">Point <I>Standings</I></FONT></H2><H3><FONT COLOR="#FFFFFF">Results after 2 events</FONT></H3><TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR>
<TH ALIGN="CENTER"><FONT >Pos</FONT></TH>
<TH ALIGN="LEFT"><FONT >Driver</FONT></TH>
<TH ALIGN="CENTER"><FONT >Interval</FONT></TH>
<TH ALIGN="LEFT"><FONT >Wins LEFT</FONT></TH>
</TR>
<TR><TH ALIGN="CENTER"><FONT >1</FONT></TH>
<TD ALIGN="LEFT"><FONT >Bob Burns</FONT></TD>
<TD ALIGN="CENTER"><FONT >--</FONT></TD>
<TD ALIGN="LEFT"><FONT >1</FONT></TD>
</TR>
<TR><TH ALIGN="CENTER"><FONT >2</FONT></TH>
<TD ALIGN="LEFT"><FONT >Alan Ash</FONT></TD>
<TD ALIGN="CENTER"><FONT >55.0</FONT></TD>
<TD ALIGN="LEFT"><FONT >1</FONT></TD>
</TR>
<TR><TH ALIGN="CENTER"><FONT >3</FONT></TH>
<TD ALIGN="LEFT"><FONT >Carl Cole</FONT></TD>
<TD ALIGN="CENTER"><FONT >205.0</FONT></TD>
<TD ALIGN="LEFT"><FONT >0</FONT></TD>
</TR>
</TABLE></CENTER>
<p></p><HR>
<p>footer</p>
</FONT></BODY>
</HTML>
)page"));
}

TEST_F(CExportTest, AnIntervalPatternGetsTheMissingZeroSection) {
    OpenLeague(0, 0);
    AddStandings();
    for (const char* format : {"0.0;(0.0)", "0.0;(0.0);nil"}) {
        SCOPED_TRACE(format);
        auto page = Writer(CExport::kReport, AddStandingsReport(format));
        ASSERT_TRUE(page->HTML(page_)) << page->LastError();
        const bool ownZero = CountOccurrences(format, ";") == 2;
        EXPECT_NE(Written().find(ownZero ? "<FONT >nil</FONT>" : "<FONT >--</FONT>"),
                  std::string::npos);
        EXPECT_NE(Written().find("<FONT >55.0</FONT>"), std::string::npos);
    }
}

TEST_F(CExportTest, TableColoursAlternateRowsAndAFontSizeStyleEveryCell) {
    OpenLeague(0, 0);
    AddStandings();
    auto page = Writer(CExport::kReport, AddStandingsReport());
    PageStyle& s = page->Style;
    s.UseBGImage = true;
    s.BGImage = "images/back.gif";
    s.UseTableColors = {true, true, true, true, true};
    s.Layout = {2, 4, 1};
    s.HTMLPageFont = "Arial";
    s.HTMLPageFontSize = 3;
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    EXPECT_EQ(Written(), Crlf(R"page(<HTML><HEAD>
<TITLE>Millbrook League - Season 2</TITLE>
</HEAD><BODY BACKGROUND="images/back.gif" BGCOLOR="#FFFFFF" TEXT="#000000" LINK="#0000FF" VLINK="#FF0000" ALINK="#563412"><FONT FACE="Arial" SIZE="3">
<HR><H1><CENTER><FONT COLOR="#800000">Millbrook League<BR>Season 2</FONT></CENTER></H1><HR>
<CENTER><H2><FONT COLOR="#008000">Point <I>Standings</I></FONT></H2><H3><FONT COLOR="#FFFFFF">Results after 2 events</FONT></H3><TABLE BORDER=2 CELLPADDING=4 CELLSPACING=1 BORDERCOLORDARK="#808080" BORDERCOLORLIGHT="#E0E0E0" BGCOLOR="#404040"><TR>
<TH ALIGN="CENTER" BGCOLOR="#00FF00"><FONT COLOR="#FF0000" SIZE="3">Pos</FONT></TH>
<TH ALIGN="LEFT" BGCOLOR="#00FF00"><FONT COLOR="#FF0000" SIZE="3">Driver</FONT></TH>
<TH ALIGN="CENTER" BGCOLOR="#00FF00"><FONT COLOR="#FF0000" SIZE="3">Interval</FONT></TH>
<TH ALIGN="LEFT" BGCOLOR="#00FF00"><FONT COLOR="#FF0000" SIZE="3">Wins LEFT</FONT></TH>
</TR>
<TR><TH ALIGN="CENTER" BGCOLOR="#FFFF00"><FONT COLOR="#0000FF" SIZE="3">1</FONT></TH>
<TD BGCOLOR="#FFFF00" ALIGN="LEFT"><FONT COLOR="#0000FF" SIZE="3">Bob Burns</FONT></TD>
<TD BGCOLOR="#FFFF00" ALIGN="CENTER"><FONT COLOR="#0000FF" SIZE="3">--</FONT></TD>
<TD BGCOLOR="#FFFF00" ALIGN="LEFT"><FONT COLOR="#0000FF" SIZE="3">1</FONT></TD>
</TR>
<TR><TH ALIGN="CENTER" BGCOLOR="#00FFFF"><FONT COLOR="#FF00FF" SIZE="3">2</FONT></TH>
<TD BGCOLOR="#00FFFF" ALIGN="LEFT"><FONT COLOR="#FF00FF" SIZE="3">Alan Ash</FONT></TD>
<TD BGCOLOR="#00FFFF" ALIGN="CENTER"><FONT COLOR="#FF00FF" SIZE="3">55.0</FONT></TD>
<TD BGCOLOR="#00FFFF" ALIGN="LEFT"><FONT COLOR="#FF00FF" SIZE="3">1</FONT></TD>
</TR>
<TR><TH ALIGN="CENTER" BGCOLOR="#FFFF00"><FONT COLOR="#0000FF" SIZE="3">3</FONT></TH>
<TD BGCOLOR="#FFFF00" ALIGN="LEFT"><FONT COLOR="#0000FF" SIZE="3">Carl Cole</FONT></TD>
<TD BGCOLOR="#FFFF00" ALIGN="CENTER"><FONT COLOR="#0000FF" SIZE="3">205.0</FONT></TD>
<TD BGCOLOR="#FFFF00" ALIGN="LEFT"><FONT COLOR="#0000FF" SIZE="3">0</FONT></TD>
</TR>
</TABLE></CENTER>
<p></p><HR>
<p>footer</p>
</FONT></BODY>
</HTML>
)page"));

    // Without alternation every row takes the row colours; without any table colours the cells
    // read <FONT  SIZE="3"> (the literal blank, then the attribute's own).
    s.UseTableColors = {false, true, false, false, false};
    ASSERT_TRUE(page->HTML(page_));
    EXPECT_EQ(CountOccurrences(Written(), "BGCOLOR=\"#FFFF00\""), 12);
    EXPECT_EQ(CountOccurrences(Written(), "#00FFFF"), 0);
    EXPECT_NE(Written().find("<TABLE BORDER=2 CELLPADDING=4 CELLSPACING=1><TR>\r\n<TH "
                             "ALIGN=\"CENTER\"><FONT  SIZE=\"3\">Pos</FONT></TH>\r\n"),
              std::string::npos);
    s.UseTableColors = {false, false, false, false, true};
    ASSERT_TRUE(page->HTML(page_));
    EXPECT_NE(Written().find("CELLSPACING=1 BGCOLOR=\"#404040\"><TR>\r\n"), std::string::npos);
    EXPECT_NE(Written().find("<TR><TH ALIGN=\"CENTER\"><FONT  SIZE=\"3\">2</FONT></TH>\r\n"
                             "<TD ALIGN=\"LEFT\"><FONT  SIZE=\"3\">Alan Ash</FONT></TD>\r\n"),
              std::string::npos);
}

TEST_F(CExportTest, OnlineRaceResultsEscapeTheLeaguesTextsAndEncodeThePageAsWindows1252) {
    OpenLeague(0, 0);
    Db().Execute("INSERT INTO Race (RaceID, Name, Length, Laps, RaceTime, AvgSpeed, "
                 "VictoryMargin, Cautions, LeadChanges, Weather) VALUES (7, 'Daytona 500', 2.5, "
                 "200, '3:12:45', '155.123', '0.5 sec', 5, 12, 'Sunny & <hot>')");
    Db().Execute("INSERT INTO Driver (DriverID, Name) VALUES (1, ?), (2, ?), (3, 'Carl Cole')",
                 {"<script>alert('x')</script> & \"Co\"", "J\u00fcrgen Z\u0105b\u20ack\x01"});
    const char* result = "INSERT INTO Stats (RaceID, DriverID, Start, Finish, LapsRun, LapsLed, "
                         "Points, Bonus, Qualifying, Status) VALUES (7, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    Db().Execute(result, {3, 1, 3, 199, 0, 165, 0, nullptr, "Engine"});
    Db().Execute(result, {1, 2, 1, 200, 150, 185, 10, 191.5, "Running"});
    Db().Execute(result, {2, 0, 2, 0, 0, 170, 0, 0.0, nullptr});

    auto page = Writer(CExport::kRaceResults, 7);
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    const std::string expected = Crlf(R"page(<HTML><HEAD>
<TITLE>Millbrook League - Season 2</TITLE>
</HEAD><BODY BGCOLOR="#FFFFFF" TEXT="#000000" LINK="#0000FF" VLINK="#FF0000" ALINK="#563412"><FONT FACE="Times New Roman">
<HR><H1><CENTER><FONT COLOR="#800000">Millbrook League<BR>Season 2</FONT></CENTER></H1><HR>
<CENTER><H2><FONT COLOR="#008000">Point <I>Standings</I></FONT></H2><H3><FONT COLOR="#FFFFFF">Results after 2 events</FONT></H3><TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR>
<TH ALIGN="CENTER"><FONT >Finish</FONT></TH>
<TH ALIGN="CENTER"><FONT >Start</FONT></TH>
<TH ALIGN="LEFT"><FONT >Driver</FONT></TH>
<TH ALIGN="CENTER"><FONT >Laps</FONT></TH>
<TH ALIGN="CENTER"><FONT >Led</FONT></TH>
<TH ALIGN="CENTER"><FONT >Points</FONT></TH>
<TH ALIGN="CENTER"><FONT >Bonus</FONT></TH>
<TH ALIGN="CENTER"><FONT >Qualify</FONT></TH>
<TH ALIGN="LEFT"><FONT >Reason Out</FONT></TH>
</TR>
<TR><TH ALIGN="CENTER"><FONT >1</FONT></TH>
<TD ALIGN="CENTER"><FONT >2</FONT></TD>
<TD ALIGN="LEFT"><FONT >&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;Co&quot;</FONT></TD>
<TD ALIGN="CENTER"><FONT >200</FONT></TD>
<TD ALIGN="CENTER"><FONT >150</FONT></TD>
<TD ALIGN="CENTER"><FONT >185</FONT></TD>
<TD ALIGN="CENTER"><FONT >10</FONT></TD>
<TD ALIGN="CENTER"><FONT >191.500 mph</FONT></TD>
<TD ALIGN="LEFT"><FONT >Running</FONT></TD>
</TR>
<TR><TH ALIGN="CENTER"><FONT >2</FONT></TH>
<TD ALIGN="CENTER"><FONT ></FONT></TD>
<TD ALIGN="LEFT"><FONT >Jürgen Z&#261;b€k</FONT></TD>
<TD ALIGN="CENTER"><FONT >--</FONT></TD>
<TD ALIGN="CENTER"><FONT >0</FONT></TD>
<TD ALIGN="CENTER"><FONT >170</FONT></TD>
<TD ALIGN="CENTER"><FONT >0</FONT></TD>
<TD ALIGN="CENTER"><FONT >--</FONT></TD>
<TD ALIGN="LEFT"><FONT ></FONT></TD>
</TR>
<TR><TH ALIGN="CENTER"><FONT >3</FONT></TH>
<TD ALIGN="CENTER"><FONT >1</FONT></TD>
<TD ALIGN="LEFT"><FONT >Carl Cole</FONT></TD>
<TD ALIGN="CENTER"><FONT >199</FONT></TD>
<TD ALIGN="CENTER"><FONT >0</FONT></TD>
<TD ALIGN="CENTER"><FONT >165</FONT></TD>
<TD ALIGN="CENTER"><FONT >0</FONT></TD>
<TD ALIGN="CENTER"><FONT >--</FONT></TD>
<TD ALIGN="LEFT"><FONT >Engine</FONT></TD>
</TR>
</TABLE></CENTER>
<p></p><p><CENTER><TABLE><TR><TD ALIGN=RIGHT>Race time</TD><TD> - </TD><TD>3:12:45</TD></TR><TR><TD ALIGN=RIGHT>Average speed</TD><TD> - </TD><TD>155.123</TD></TR><TR><TD ALIGN=RIGHT>Margin of victory</TD><TD> - </TD><TD>0.5 sec</TD></TR><TR><TD ALIGN=RIGHT>Caution flags</TD><TD> - </TD><TD>5</TD></TR><TR><TD ALIGN=RIGHT>Lead changes</TD><TD> - </TD><TD>12</TD></TR><TR><TD ALIGN=RIGHT>Weather</TD><TD> - </TD><TD>Sunny &amp; &lt;hot&gt;</TD></TR></FONT></TABLE></CENTER></p>
<p></p><HR>
<p>footer</p>
</FONT></BODY>
</HTML>
)page");
    EXPECT_EQ(Written(), Utf8ToCp1252(expected));
    EXPECT_NE(Written().find("J\xFCrgen Z&#261;b\x80k</FONT>"), std::string::npos);
}

TEST_F(CExportTest, OfflineRaceResultsAddTheAverageSpeedAndShowLapTimes) {
    OpenLeague(1, 1);
    Db().Execute("INSERT INTO Race (RaceID, Name, Length, Laps, RaceTime, AvgSpeed, "
                 "VictoryMargin, Cautions, LeadChanges, Weather) VALUES (3, 'Short Track', 0.5, "
                 "50, '25:00', '120,5', '1 lap', 0, 1, 'Cloudy')");
    Db().Execute("INSERT INTO Driver (DriverID, Name) VALUES (1, 'Dan Drew'), (2, 'Ed Eby')");
    const char* result =
        "INSERT INTO Stats (RaceID, DriverID, Start, Finish, LapsRun, LapsLed, Points, Bonus, "
        "AvgSpeed, Qualifying, Status) VALUES (3, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    Db().Execute(result, {1, 1, 1, 50, 50, 175, 5, "120.5", 30.0, "Running"});
    Db().Execute(result, {2, 2, 2, 12, 0, 170, 0, nullptr, 0.0, "Crash <big>"});

    auto page = Writer(CExport::kRaceResults, 3);
    page->DecimalSeparator = ",";
    page->Style.HTMLPageFontSize = 3;
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    EXPECT_EQ(Written(), Crlf(R"page(<HTML><HEAD>
<TITLE>Millbrook League - Season 2</TITLE>
</HEAD><BODY BGCOLOR="#FFFFFF" TEXT="#000000" LINK="#0000FF" VLINK="#FF0000" ALINK="#563412"><FONT FACE="Times New Roman" SIZE="3">
<HR><H1><CENTER><FONT COLOR="#800000">Millbrook League<BR>Season 2</FONT></CENTER></H1><HR>
<CENTER><H2><FONT COLOR="#008000">Point <I>Standings</I></FONT></H2><H3><FONT COLOR="#FFFFFF">Results after 2 events</FONT></H3><TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR>
<TH ALIGN="CENTER"><FONT  SIZE="3">Finish</FONT></TH>
<TH ALIGN="CENTER"><FONT  SIZE="3">Start</FONT></TH>
<TH ALIGN="LEFT"><FONT  SIZE="3">Driver</FONT></TH>
<TH ALIGN="CENTER"><FONT  SIZE="3">Laps</FONT></TH>
<TH ALIGN="CENTER"><FONT  SIZE="3">Led</FONT></TH>
<TH ALIGN="CENTER"><FONT  SIZE="3">Points</FONT></TH>
<TH ALIGN="CENTER"><FONT  SIZE="3">Bonus</FONT></TH>
<TH ALIGN="CENTER"><FONT  SIZE="3">Avg Speed</FONT></TH>
<TH ALIGN="CENTER"><FONT  SIZE="3">Qualify</FONT></TH>
<TH ALIGN="LEFT"><FONT  SIZE="3">Reason Out</FONT></TH>
</TR>
<TR><TH ALIGN="CENTER"><FONT  SIZE="3">1</FONT></TH>
<TD ALIGN="CENTER"><FONT  SIZE="3">1</FONT></TD>
<TD ALIGN="LEFT"><FONT  SIZE="3">Dan Drew</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">50</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">50</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">175</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">5</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">120,500</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">1:00,000</FONT></TD>
<TD ALIGN="LEFT"><FONT  SIZE="3">Running</FONT></TD>
</TR>
<TR><TH ALIGN="CENTER"><FONT  SIZE="3">2</FONT></TH>
<TD ALIGN="CENTER"><FONT  SIZE="3">2</FONT></TD>
<TD ALIGN="LEFT"><FONT  SIZE="3">Ed Eby</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">12</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">0</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">170</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">0</FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3"></FONT></TD>
<TD ALIGN="CENTER"><FONT  SIZE="3">--</FONT></TD>
<TD ALIGN="LEFT"><FONT  SIZE="3">Crash &lt;big&gt;</FONT></TD>
</TR>
</TABLE></CENTER>
<p></p><p><CENTER><TABLE><TR><TD ALIGN=RIGHT><font size="3">Race time</font></TD><TD> - </TD><TD><font size="3">25:00</font></TD></TR><TR><TD ALIGN=RIGHT><font size="3">Average speed</font></TD><TD> - </TD><TD><font size="3">120,5</font></TD></TR><TR><TD ALIGN=RIGHT><font size="3">Margin of victory</font></TD><TD> - </TD><TD><font size="3">1 lap</font></TD></TR><TR><TD ALIGN=RIGHT><font size="3">Caution flags</font></TD><TD> - </TD><TD><font size="3">0</font></TD></TR><TR><TD ALIGN=RIGHT><font size="3">Lead changes</font></TD><TD> - </TD><TD><font size="3">1</font></TD></TR><TR><TD ALIGN=RIGHT><font size="3">Weather</font></TD><TD> - </TD><TD><font size="3">Cloudy</font></TD></TR></FONT></TABLE></CENTER></p>
<p></p><HR>
<p>footer</p>
</FONT></BODY>
</HTML>
)page"));
}

TEST_F(CExportTest, ARaceWithoutResultsOrSummaryGivesTheHeaderRowAndNotAvailable) {
    OpenLeague(0, 0);
    Db().Execute("INSERT INTO Race (RaceID, Name) VALUES (1, 'Not run yet')");
    auto page = Writer(CExport::kRaceResults, 1);
    page->Title = "Plain";
    page->ReportName = "Not run yet";
    page->Title2 = "";
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    EXPECT_EQ(Written(), Crlf(R"page(<HTML><HEAD>
<TITLE>Plain</TITLE>
</HEAD><BODY BGCOLOR="#FFFFFF" TEXT="#000000" LINK="#0000FF" VLINK="#FF0000" ALINK="#563412"><FONT FACE="Times New Roman">
<HR><H1><CENTER><FONT COLOR="#800000">Plain</FONT></CENTER></H1><HR>
<CENTER><H2><FONT COLOR="#008000">Not run yet</FONT></H2><H3><FONT COLOR="#FFFFFF"></FONT></H3><TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR>
<TH ALIGN="CENTER"><FONT >Finish</FONT></TH>
<TH ALIGN="CENTER"><FONT >Start</FONT></TH>
<TH ALIGN="LEFT"><FONT >Driver</FONT></TH>
<TH ALIGN="CENTER"><FONT >Laps</FONT></TH>
<TH ALIGN="CENTER"><FONT >Led</FONT></TH>
<TH ALIGN="CENTER"><FONT >Points</FONT></TH>
<TH ALIGN="CENTER"><FONT >Bonus</FONT></TH>
<TH ALIGN="CENTER"><FONT >Qualify</FONT></TH>
<TH ALIGN="LEFT"><FONT >Reason Out</FONT></TH>
</TR>
</TABLE></CENTER>
<p></p><p><CENTER><TABLE><TR><TD ALIGN=RIGHT>Race time</TD><TD> - </TD><TD>n/a</TD></TR><TR><TD ALIGN=RIGHT>Average speed</TD><TD> - </TD><TD>n/a</TD></TR><TR><TD ALIGN=RIGHT>Margin of victory</TD><TD> - </TD><TD>n/a</TD></TR><TR><TD ALIGN=RIGHT>Caution flags</TD><TD> - </TD><TD>n/a</TD></TR><TR><TD ALIGN=RIGHT>Lead changes</TD><TD> - </TD><TD>n/a</TD></TR><TR><TD ALIGN=RIGHT>Weather</TD><TD> - </TD><TD>n/a</TD></TR></FONT></TABLE></CENTER></p>
<p></p><HR>
<p>footer</p>
</FONT></BODY>
</HTML>
)page"));
}

TEST_F(CExportTest, AReportWithoutRowsGivesTheHeaderRowAlone) {
    OpenLeague(0, 0);
    auto page = Writer(CExport::kReport, AddStandingsReport());
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    EXPECT_NE(Written().find("<TH ALIGN=\"LEFT\"><FONT >Wins LEFT</FONT></TH>\r\n</TR>\r\n"
                             "</TABLE></CENTER>\r\n<p></p><HR>\r\n"),
              std::string::npos);
}

class CExportFailureTest : public CExportTest {
protected:
    void SetUp() override {
        OpenLeague(0, 0);
        AddStandings();
        reportId_ = AddStandingsReport();
        test::WriteFileBytes(page_, previous_);
    }

    // The previous page is there as it was, and nothing else was left in its folder.
    void ExpectPreviousPageKept() {
        EXPECT_EQ(Written(), previous_);
        EXPECT_EQ(FolderEntries(dir_.Path()),
                  (std::set<std::string>{"Tabulon.dat", "league.slf", "page.htm"}));
    }

    std::int32_t reportId_ = 0;
    const std::string previous_ = "<HTML>the page of last week</HTML>\r\n";
};

TEST_F(CExportFailureTest, APageThatCannotBeBuiltLeavesThePreviousOne) {
    auto page = Writer(CExport::kReport, 4242);
    EXPECT_FALSE(page->HTML(page_));
    EXPECT_FALSE(page->LastError().empty());
    ExpectPreviousPageKept();

    program_.Db().Execute("DELETE FROM ReportField WHERE ReportID = ?", {reportId_});
    page = Writer(CExport::kReport, reportId_);
    EXPECT_FALSE(page->HTML(page_));
    EXPECT_NE(page->LastError().find("no columns"), std::string::npos);
    ExpectPreviousPageKept();

    page = Writer(CExport::kRaceResults, 99);
    EXPECT_FALSE(page->HTML(page_));
    page = Writer(2, 1);
    EXPECT_FALSE(page->HTML(page_));
    ExpectPreviousPageKept();
}

TEST_F(CExportFailureTest, AFailedWriteLeavesThePreviousPageByteIdentical) {
    auto page = Writer(CExport::kReport, reportId_);
    // The disk fills up half-way through the page.
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit small = before;
    small.rlim_cur = 200;
    auto* oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = page->HTML(page_);
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(page->LastError().empty());
    ExpectPreviousPageKept();

    // A folder that does not exist.
    EXPECT_FALSE(page->HTML(dir_.File("no such folder/page.htm")));
    ExpectPreviousPageKept();
}

TEST_F(CExportFailureTest, AWriteProtectedPageOrFolderIsNotReplaced) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "the superuser writes wherever he likes";
    }
    auto page = Writer(CExport::kReport, reportId_);
    chmod(page_.c_str(), 0444);
    EXPECT_FALSE(page->HTML(page_));
    ExpectPreviousPageKept();
    chmod(page_.c_str(), 0644);
    chmod(dir_.Path().c_str(), 0555);
    EXPECT_FALSE(page->HTML(page_));
    chmod(dir_.Path().c_str(), 0755);
    ExpectPreviousPageKept();
}

TEST_F(CExportFailureTest, AReplacedPageKeepsItsAccessRights) {
    chmod(page_.c_str(), 0640);
    auto page = Writer(CExport::kReport, reportId_);
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    EXPECT_NE(Written(), previous_);
    struct stat st {};
    ASSERT_EQ(stat(page_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(Footer, NamesTheProgramAndItsVersion) {
    EXPECT_EQ(StandardFooter(),
              "<p>Points and scoring generated by <STRONG><a "
              "href=\"https://scorewell.example.org/\">Scorewell v1.00</a></STRONG> (free league "
              "software) by <STRONG><a href=\"mailto:scorewell@example.org\">The Scorewell "
              "developers</a></STRONG></p>");
    EXPECT_EQ(PreviewFooter(),
              "<p><font face=\"MS Sans Serif\" size=\"2\">Points and scoring generated by "
              "<STRONG><a href=\"https://scorewell.example.org/\">Scorewell v1.00</a></STRONG> "
              "(free league software) by <STRONG><a href=\"mailto:scorewell@example.org\">The "
              "Scorewell developers</a></STRONG></font></p>");
}

TEST(PageText, ControlCharactersAreDroppedButLineBreaksKept) {
    EXPECT_EQ(EncodePageText("a\tb\r\nc\nd\re\x7f\u0085f\u00a0\U0001F600"),
              "ab\r\ncdef\xa0&#128512;");
    EXPECT_EQ(EscapeHTML("<a href='x'>&\"</a>"), "&lt;a href=&#39;x&#39;&gt;&amp;&quot;&lt;/a&gt;");
}

} // namespace
} // namespace scorewell
