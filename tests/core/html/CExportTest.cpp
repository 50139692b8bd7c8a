// Whole pages written by the page writer, compared byte for byte with pages put together from
// the page templates below.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/Text.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "html/CExport.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

using Cells = std::vector<std::string>;

// The parts of a page around its table, as the writer set up by Writer() gives them.
struct Shell {
    std::string bodyStart; // attributes ahead of BGCOLOR
    std::string font = "FACE=\"Times New Roman\"";
    std::string title = "Millbrook League - Season 2";
    std::string heading = "Millbrook League<BR>Season 2";
    std::string reportName = "Point <I>Standings</I>";
    std::string caption = "Results after 2 events";
    std::string table = "BORDER=1 CELLPADDING=3 CELLSPACING=0";
};

// Pages end their lines with CR LF; the templates are written with plain line ends.
std::string Page(const Shell& s, const std::string& rows, const std::string& summary = "") {
    const std::string page =
        "<HTML><HEAD>\n<TITLE>" + s.title + "</TITLE>\n</HEAD><BODY " + s.bodyStart +
        "BGCOLOR=\"#FFFFFF\" TEXT=\"#000000\" LINK=\"#0000FF\" VLINK=\"#FF0000\" "
        "ALINK=\"#563412\"><FONT " +
        s.font + ">\n<HR><H1><CENTER><FONT COLOR=\"#800000\">" + s.heading +
        "</FONT></CENTER></H1><HR>\n<CENTER><H2><FONT COLOR=\"#008000\">" + s.reportName +
        "</FONT></H2><H3><FONT COLOR=\"#FFFFFF\">" + s.caption + "</FONT></H3><TABLE " + s.table +
        ">" + rows + "</TABLE></CENTER>\n<p></p>" + summary +
        "<HR>\n<p>footer</p>\n</FONT></BODY>\n</HTML>\n";
    return ReplaceAll(page, "\n", "\r\n");
}

// One table row, aligned per column ('L' left, else centred); the first cell, and every cell of
// the header row, is a heading cell.
std::string Row(std::string_view aligns, const Cells& cells, bool header = false,
                const std::string& bg = "", const std::string& font = "") {
    std::string out = header ? "<TR>\n" : "<TR>";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string align = aligns[i] == 'L' ? "\"LEFT\"" : "\"CENTER\"";
        const std::string text = "<FONT " + font + ">" + cells[i] + "</FONT>";
        out += header || i == 0 ? "<TH ALIGN=" + align + bg + ">" + text + "</TH>\n"
                                : "<TD" + bg + " ALIGN=" + align + ">" + text + "</TD>\n";
    }
    return out + "</TR>\n";
}

// The race statistics under a race's table.
std::string Summary(const Cells& values, bool sized = false) {
    const char* const labels[] = {"Race time",     "Average speed", "Margin of victory",
                                  "Caution flags", "Lead changes",  "Weather"};
    auto cell = [&](const std::string& text) {
        return sized ? "<font size=\"3\">" + text + "</font>" : text;
    };
    std::string out = "<p><CENTER><TABLE>";
    for (std::size_t i = 0; i < values.size(); ++i) {
        out += "<TR><TD ALIGN=RIGHT>" + cell(labels[i]) + "</TD><TD> - </TD><TD>" +
               cell(values[i]) + "</TD></TR>";
    }
    return out + "</FONT></TABLE></CENTER></p>\n<p></p>";
}

const Cells kStandingsHeader = {"Pos", "Driver", "Interval", "Wins LEFT"};
const std::vector<Cells> kStandings = {{"1", "Bob Burns", "--", "1"},
                                       {"2", "Alan Ash", "55.0", "1"},
                                       {"3", "Carl Cole", "205.0", "0"}};
const Cells kRaceHeader = {"Finish", "Start", "Driver",  "Laps",      "Led",
                           "Points", "Bonus", "Qualify", "Reason Out"};

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
        Db().Execute("INSERT INTO Stats (RaceID, DriverID, Finish, Points) VALUES (1, 1, 1, 180), "
                     "(1, 2, 2, 170), (2, 2, 1, 185), (2, 1, 3, 120), (2, 3, 2, 150)");
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
    auto page = Writer(CExport::kReport, AddStandingsReport());
    // Without rows the header row stands alone.
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    EXPECT_EQ(Written(), Page({}, Row("CLCL", kStandingsHeader, true)));

    AddStandings();
    // Alternating colours mean nothing while row colours are off.
    page->Style.UseTableColors = {false, false, true, false, false};
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    std::string rows = Row("CLCL", kStandingsHeader, true);
    for (const Cells& row : kStandings) {
        rows += Row("CLCL", row);
    }
    EXPECT_EQ(Written(), Page({}, rows));
}

TEST_F(CExportTest, AnIntervalPatternGetsTheMissingZeroSection) {
    OpenLeague(0, 0);
    AddStandings();
    for (const auto& [format, zero] : {std::pair{"0.0;(0.0)", "--"}, {"0.0;(0.0);nil", "nil"}}) {
        SCOPED_TRACE(format);
        auto page = Writer(CExport::kReport, AddStandingsReport(format));
        ASSERT_TRUE(page->HTML(page_)) << page->LastError();
        EXPECT_NE(Written().find("<FONT >" + std::string(zero) + "</FONT>"), std::string::npos);
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
    Shell shell;
    shell.bodyStart = "BACKGROUND=\"images/back.gif\" ";
    shell.font = "FACE=\"Arial\" SIZE=\"3\"";
    shell.table = "BORDER=2 CELLPADDING=4 CELLSPACING=1 BORDERCOLORDARK=\"#808080\" "
                  "BORDERCOLORLIGHT=\"#E0E0E0\" BGCOLOR=\"#404040\"";
    std::string rows =
        Row("CLCL", kStandingsHeader, true, " BGCOLOR=\"#00FF00\"", "COLOR=\"#FF0000\" SIZE=\"3\"");
    for (std::size_t i = 0; i < kStandings.size(); ++i) {
        rows += i % 2 ? Row("CLCL", kStandings[i], false, " BGCOLOR=\"#00FFFF\"",
                            "COLOR=\"#FF00FF\" SIZE=\"3\"")
                      : Row("CLCL", kStandings[i], false, " BGCOLOR=\"#FFFF00\"",
                            "COLOR=\"#0000FF\" SIZE=\"3\"");
    }
    EXPECT_EQ(Written(), Page(shell, rows));

    // Without alternation every row takes the row colours; without any table colours the cells
    // read <FONT  SIZE="3"> (the literal blank, then the attribute's own).
    s.UseTableColors = {false, true, false, false, false};
    ASSERT_TRUE(page->HTML(page_));
    EXPECT_EQ(CountOccurrences(Written(), "BGCOLOR=\"#FFFF00\""), 12);
    EXPECT_EQ(CountOccurrences(Written(), "#00FFFF"), 0);
    s.UseTableColors = {false, false, false, false, true};
    ASSERT_TRUE(page->HTML(page_));
    EXPECT_NE(Written().find("CELLSPACING=1 BGCOLOR=\"#404040\"><TR>\r\n<TH "
                             "ALIGN=\"CENTER\"><FONT  SIZE=\"3\">Pos</FONT></TH>\r\n"),
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
    const std::string aligns = "CCLCCCCCL";
    const std::string rows =
        Row(aligns, kRaceHeader, true) +
        Row(aligns,
            {"1", "2", "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;Co&quot;",
             "200", "150", "185", "10", "191.500 mph", "Running"}) +
        Row(aligns, {"2", "", "Jürgen Z&#261;b€k", "--", "0", "170", "0", "--", ""}) +
        Row(aligns, {"3", "1", "Carl Cole", "199", "0", "165", "0", "--", "Engine"});
    const std::string summary =
        Summary({"3:12:45", "155.123", "0.5 sec", "5", "12", "Sunny &amp; &lt;hot&gt;"});
    EXPECT_EQ(Written(), Utf8ToCp1252(Page({}, rows, summary)));
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
    Shell shell;
    shell.font = "FACE=\"Times New Roman\" SIZE=\"3\"";
    Cells header = kRaceHeader;
    header.insert(header.begin() + 7, "Avg Speed");
    const std::string aligns = "CCLCCCCCCL", size = " SIZE=\"3\"";
    const std::string rows =
        Row(aligns, header, true, "", size) +
        Row(aligns,
            {"1", "1", "Dan Drew", "50", "50", "175", "5", "120,500", "1:00,000", "Running"}, false,
            "", size) +
        Row(aligns, {"2", "2", "Ed Eby", "12", "0", "170", "0", "", "--", "Crash &lt;big&gt;"},
            false, "", size);
    EXPECT_EQ(Written(),
              Page(shell, rows, Summary({"25:00", "120,5", "1 lap", "0", "1", "Cloudy"}, true)));
}

TEST_F(CExportTest, ARaceWithoutResultsOrSummaryGivesTheHeaderRowAndNotAvailable) {
    OpenLeague(0, 0);
    Db().Execute("INSERT INTO Race (RaceID, Name) VALUES (1, 'Not run yet')");
    auto page = Writer(CExport::kRaceResults, 1);
    page->Title = "Plain";
    page->ReportName = "Not run yet";
    page->Title2 = "";
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    Shell shell;
    shell.title = shell.heading = "Plain";
    shell.reportName = "Not run yet";
    shell.caption = "";
    EXPECT_EQ(Written(),
              Page(shell, Row("CCLCCCCCL", kRaceHeader, true), Summary(Cells(6, "n/a"))));
}

// The text of a page between its table and the rule above the footer.
std::string AfterTable(const std::string& page) {
    const std::size_t start = page.find("</TABLE></CENTER>\r\n") + 19;
    return page.substr(start, page.find("<p></p><HR>") - start);
}

TEST_F(CExportTest, AdjustmentsAreListedUnderTheirDriversStandingsAndUnderTheirRace) {
    OpenLeague(0, 0);
    AddStandings();
    const char* adjust = "INSERT INTO Adjustment (DriverID, RaceID, Points, Reason, Entered) "
                         "VALUES (?, ?, ?, ?, '2026-12-06')";
    Db().Execute(adjust, {2, 2, -25, "Wrecked <Alan> & 'Carl'"});
    Db().Execute(adjust, {1, nullptr, 10, "Appeal"});
    Db().Execute("UPDATE Driver SET Exclude=1 WHERE DriverID=1");

    // Only a report that counts adjustments lists them, and only for the drivers it shows.
    auto page = Writer(CExport::kReport, AddStandingsReport());
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    EXPECT_EQ(AfterTable(Written()), "");
    page = Writer(CExport::kReport, 1);
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    EXPECT_EQ(AfterTable(Written()),
              ReplaceAll("<p></p><CENTER><H3><FONT COLOR=\"#FFFFFF\">Penalties and Adjustments"
                         "</FONT></H3><TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR>\n"
                         "<TH ALIGN=\"LEFT\"><FONT >Driver</FONT></TH>\n"
                         "<TH ALIGN=\"LEFT\"><FONT >Race</FONT></TH>\n"
                         "<TH ALIGN=\"CENTER\"><FONT >Points</FONT></TH>\n"
                         "<TH ALIGN=\"LEFT\"><FONT >Reason</FONT></TH>\n</TR>\n<TR>\n"
                         "<TD ALIGN=\"LEFT\"><FONT >Bob Burns</FONT></TD>\n"
                         "<TD ALIGN=\"LEFT\"><FONT >Dover</FONT></TD>\n"
                         "<TD ALIGN=\"CENTER\"><FONT >-25</FONT></TD>\n"
                         "<TD ALIGN=\"LEFT\"><FONT >Wrecked &lt;Alan&gt; &amp; &#39;Carl&#39;"
                         "</FONT></TD>\n</TR>\n</TABLE></CENTER>\n",
                         "\n", "\r\n"));

    // A race page lists the adjustments of that race, in the page's table colours.
    Db().Execute("UPDATE Driver SET Exclude=0");
    Db().Execute(adjust, {3, 2, 5, "Given back"});
    page = Writer(CExport::kRaceResults, 2);
    page->Style.UseTableColors = {true, true, true, false, false};
    page->Style.HTMLPageFontSize = 2;
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    const std::string list = AfterTable(Written());
    EXPECT_EQ(list.substr(0, list.find("<p></p><p><CENTER><TABLE>")),
              ReplaceAll("<p></p><CENTER><H3><FONT COLOR=\"#FFFFFF\">Penalties and Adjustments"
                         "</FONT></H3><TABLE BORDER=1 CELLPADDING=3 CELLSPACING=0><TR>\n"
                         "<TH ALIGN=\"LEFT\" BGCOLOR=\"#00FF00\"><FONT COLOR=\"#FF0000\" "
                         "SIZE=\"2\">Driver</FONT></TH>\n"
                         "<TH ALIGN=\"CENTER\" BGCOLOR=\"#00FF00\"><FONT COLOR=\"#FF0000\" "
                         "SIZE=\"2\">Points</FONT></TH>\n"
                         "<TH ALIGN=\"LEFT\" BGCOLOR=\"#00FF00\"><FONT COLOR=\"#FF0000\" "
                         "SIZE=\"2\">Reason</FONT></TH>\n</TR>\n<TR>\n"
                         "<TD BGCOLOR=\"#FFFF00\" ALIGN=\"LEFT\"><FONT COLOR=\"#0000FF\" "
                         "SIZE=\"2\">Bob Burns</FONT></TD>\n"
                         "<TD BGCOLOR=\"#FFFF00\" ALIGN=\"CENTER\"><FONT COLOR=\"#0000FF\" "
                         "SIZE=\"2\">-25</FONT></TD>\n"
                         "<TD BGCOLOR=\"#FFFF00\" ALIGN=\"LEFT\"><FONT COLOR=\"#0000FF\" "
                         "SIZE=\"2\">Wrecked &lt;Alan&gt; &amp; &#39;Carl&#39;</FONT></TD>\n"
                         "</TR>\n<TR>\n"
                         "<TD BGCOLOR=\"#00FFFF\" ALIGN=\"LEFT\"><FONT COLOR=\"#FF00FF\" "
                         "SIZE=\"2\">Carl Cole</FONT></TD>\n"
                         "<TD BGCOLOR=\"#00FFFF\" ALIGN=\"CENTER\"><FONT COLOR=\"#FF00FF\" "
                         "SIZE=\"2\">+5</FONT></TD>\n"
                         "<TD BGCOLOR=\"#00FFFF\" ALIGN=\"LEFT\"><FONT COLOR=\"#FF00FF\" "
                         "SIZE=\"2\">Given back</FONT></TD>\n</TR>\n</TABLE></CENTER>\n",
                         "\n", "\r\n"));
}

TEST(PageText, ControlCharactersAreDroppedButLineBreaksKept) {
    EXPECT_EQ(EncodePageText("a\tb\r\nc\nd\re\x7f\u0085f\u00a0\U0001F600"),
              "ab\r\ncdef\xa0&#128512;");
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
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
            names.insert(entry.path().filename().string());
        }
        EXPECT_EQ(names, (std::set<std::string>{"Tabulon.dat", "league.slf", "page.htm"}));
    }

    std::int32_t reportId_ = 0;
    const std::string previous_ = "<HTML>the page of last week</HTML>\r\n";
};

// A full disk is covered by the reliability tests of published pages.
TEST_F(CExportFailureTest, APageThatCannotBeBuiltOrWrittenLeavesThePreviousOne) {
    auto page = Writer(CExport::kReport, 4242);
    EXPECT_FALSE(page->HTML(page_));
    EXPECT_FALSE(page->LastError().empty());

    program_.Db().Execute("DELETE FROM ReportField WHERE ReportID = ?", {reportId_});
    page = Writer(CExport::kReport, reportId_);
    EXPECT_FALSE(page->HTML(page_));
    EXPECT_NE(page->LastError().find("no columns"), std::string::npos);

    EXPECT_FALSE(Writer(CExport::kRaceResults, 99)->HTML(page_));
    EXPECT_FALSE(Writer(2, 1)->HTML(page_));
    EXPECT_FALSE(Writer(CExport::kRaceResults, 1)->HTML(dir_.File("no such folder/page.htm")));
    ExpectPreviousPageKept();
}

TEST_F(CExportFailureTest, AWriteProtectedPageOrFolderIsNotReplacedAndAReplacedPageKeepsItsRights) {
    auto page = Writer(CExport::kReport, reportId_);
    if (geteuid() != 0) { // file permissions do not bind the superuser
        chmod(page_.c_str(), 0444);
        EXPECT_FALSE(page->HTML(page_));
        ExpectPreviousPageKept();
        chmod(dir_.Path().c_str(), 0555);
        chmod(page_.c_str(), 0644);
        EXPECT_FALSE(page->HTML(page_));
        chmod(dir_.Path().c_str(), 0755);
        ExpectPreviousPageKept();
    }
    chmod(page_.c_str(), 0640);
    ASSERT_TRUE(page->HTML(page_)) << page->LastError();
    EXPECT_NE(Written(), previous_);
    struct stat st {};
    ASSERT_EQ(stat(page_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

} // namespace
} // namespace scorewell
