// Whole pages written by the page writer, compared byte for byte with the golden pages in
// tests/fixtures/golden/pages.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/Errors.h"
#include "common/Text.h"
#include "core/LeagueFixture.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "editing/RaceRemoval.h"
#include "html/ModernPages.h"
#include "html/PageSettings.h"
#include "html/PageWriter.h"
#include "html/SeasonSite.h"
#include "support/Checks.h"
#include "support/Golden.h"
#include "support/Process.h"
#include "support/Seasons.h"
#include "support/TempDir.h"
#include <chrono>
#include <fstream>

namespace scorewell {
namespace {

class PageWriterTest : public ::testing::Test {
protected:
    // A league with the rows of the given fixture (tests/fixtures/sql); report 100 of
    // sql/page-report.sql shows its standings.
    void OpenLeague(int leagueType, int lapMethod, const std::string& fixture = "") {
        CreateLeagueFile(path_, 0, leagueType, program_.Db(), 0, lapMethod);
        league_ = std::make_unique<League>(program_, path_);
        test::RunSqlFixture(program_.Db(), "sql/page-report.sql");
        if (!fixture.empty()) {
            test::RunSqlFixture(Db(), fixture);
        }
    }

    Database& Db() { return league_->Db(); }

    // Asks for the content in the style of the golden pages.
    void Ask(PageContent content, std::int32_t id) {
        request = PageRequest();
        request.content = content;
        request.id = id;
        request.heading = "Millbrook League\r\nSeason 2";
        request.reportName = "Point <I>Standings</I>";
        request.caption = "Results after 2 events";
        request.footer = "<p>footer</p>";
        PageStyle& s = request.style;
        s.backgroundColor = static_cast<std::int32_t>(0x8000000E);
        s.textColor = 0x000000;
        s.linkColor = 0xFF0000;
        s.visitedLinkColor = 0x0000FF;
        s.activeLinkColor = 0x123456;
        s.headingColor = 0x000080;
        s.reportNameColor = 0x008000;
        s.captionColor = -1;
        s.tableColors = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF,
                         0xFFFF00, 0xE0E0E0, 0x808080, 0x404040, 0x123456};
        s.layout = {1, 3, 0};
        s.font = "Times New Roman";
    }
    bool Write(const std::string& file) {
        PageWriter writer(Db(), program_.Db());
        const bool written = writer.Write(request, file);
        error = writer.LastError();
        return written;
    }
    void ExpectPage(const std::string& golden) {
        ASSERT_TRUE(Write(page_)) << error;
        test::ExpectGolden(golden, Written());
    }
    std::string Written() { return test::ReadFileBytes(page_); }

    test::TempDir dir_;
    Program program_{dir_.Path()};
    std::string path_ = dir_.File("league.slf");
    std::string page_ = dir_.File("page.htm");
    std::unique_ptr<League> league_;
    PageRequest request;
    std::string error;
};

TEST_F(PageWriterTest, AReportPageLeavesHiddenColumnsOutAndShowsAZeroIntervalAsDashes) {
    OpenLeague(0, 0);
    Ask(PageContent::Report, 100);
    // Without rows the header row stands alone.
    ExpectPage("pages/report-empty.htm");

    test::RunSqlFixture(Db(), "sql/page-standings.sql");
    // Alternating colours mean nothing while row colours are off.
    request.style.useTableColors = {false, false, true, false, false};
    ExpectPage("pages/report.htm");
}

TEST_F(PageWriterTest, AnIntervalPatternGetsTheMissingZeroSection) {
    OpenLeague(0, 0, "sql/page-standings.sql");
    for (const auto& [format, zero] : {std::pair{"0.0;(0.0)", "--"}, {"0.0;(0.0);nil", "nil"}}) {
        SCOPED_TRACE(format);
        program_.Db().Execute("UPDATE ReportField SET ColFormat=? WHERE Field='Interval' AND "
                              "ReportID=100",
                              {format});
        Ask(PageContent::Report, 100);
        ASSERT_TRUE(Write(page_)) << error;
        EXPECT_TRUE(test::Has(Written(), "<FONT >" + std::string(zero) + "</FONT>"));
        EXPECT_TRUE(test::Has(Written(), "<FONT >55.0</FONT>"));
    }
}

TEST_F(PageWriterTest, TableColoursAlternateRowsAndAFontSizeStyleEveryCell) {
    OpenLeague(0, 0, "sql/page-standings.sql");
    Ask(PageContent::Report, 100);
    PageStyle& s = request.style;
    s.useBackgroundImage = true;
    s.backgroundImage = "images/back.gif";
    s.useTableColors = {true, true, true, true, true};
    s.layout = {2, 4, 1};
    s.font = "Arial";
    s.fontSize = 3;
    ExpectPage("pages/report-table-colours.htm");

    // Without alternation every row takes the row colours; without any table colours the cells
    // read <FONT  SIZE="3"> (the literal blank, then the attribute's own).
    s.useTableColors = {false, true, false, false, false};
    ASSERT_TRUE(Write(page_));
    EXPECT_EQ(CountOccurrences(Written(), "BGCOLOR=\"#FFFF00\""), 12);
    EXPECT_EQ(CountOccurrences(Written(), "#00FFFF"), 0);
    s.useTableColors = {false, false, false, false, true};
    ASSERT_TRUE(Write(page_));
    EXPECT_TRUE(test::Has(Written(), "CELLSPACING=1 BGCOLOR=\"#404040\"><TR>\r\n<TH "
                                     "ALIGN=\"CENTER\"><FONT  SIZE=\"3\">Pos</FONT></TH>\r\n"));
}

TEST_F(PageWriterTest, OnlineRaceResultsEscapeTheLeaguesTextsAndEncodeThePageAsWindows1252) {
    OpenLeague(0, 0, "sql/page-race-online.sql");
    Ask(PageContent::RaceResults, 7);
    ExpectPage("pages/race-online.htm");
}

TEST_F(PageWriterTest, OfflineRaceResultsAddTheAverageSpeedAndShowLapTimes) {
    OpenLeague(1, 1, "sql/page-race-offline.sql");
    Ask(PageContent::RaceResults, 3);
    request.decimalSeparator = ",";
    request.style.fontSize = 3;
    ExpectPage("pages/race-offline.htm");
}

TEST_F(PageWriterTest, ARaceWithoutResultsOrSummaryGivesTheHeaderRowAndNotAvailable) {
    OpenLeague(0, 0);
    Db().Execute("INSERT INTO Race (RaceID, Name) VALUES (1, 'Not run yet')");
    Ask(PageContent::RaceResults, 1);
    request.heading = "Plain";
    request.reportName = "Not run yet";
    request.caption = "";
    ExpectPage("pages/race-not-run.htm");
}

// A report that counts adjustments lists those of the drivers it shows under its table, escaped;
// a race page lists those of its race, in the page's table colours.
TEST_F(PageWriterTest, AdjustmentsAreListedUnderTheirDriversStandingsAndUnderTheirRace) {
    OpenLeague(0, 0, "sql/page-standings.sql");
    test::RunSqlFixture(Db(), "sql/page-adjustments.sql");

    // A report without the Adj column does not count them: its page is as before.
    Ask(PageContent::Report, 100);
    ExpectPage("pages/report.htm");
    Ask(PageContent::Report, 1);
    ExpectPage("pages/report-adjustments.htm");
    Ask(PageContent::RaceResults, 2);
    request.style.useTableColors = {true, true, true, false, false};
    request.style.fontSize = 2;
    ExpectPage("pages/race-adjustments.htm");

    // The Modern style lists them too.
    ModernExport modern;
    modern.heading = "Cup";
    modern.id = 1;
    test::ExpectGolden("pages/report-adjustments-modern.htm",
                       ModernExportPage(Db(), program_.Db(), modern));
    modern.exportType = 1;
    modern.id = 2;
    test::ExpectGolden("pages/race-adjustments-modern.htm",
                       ModernExportPage(Db(), program_.Db(), modern));
}

TEST(PageText, ControlCharactersAreDroppedButLineBreaksKept) {
    EXPECT_EQ(EncodePageText("a\tb\r\nc\nd\re\x7f\u0085f\u00a0\U0001F600"),
              "ab\r\ncdef\xa0&#128512;");
}

class PageWriterFailureTest : public PageWriterTest {
protected:
    void SetUp() override {
        OpenLeague(0, 0, "sql/page-standings.sql");
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

    const std::string previous_ = "<HTML>the page of last week</HTML>\r\n";
};

// A full disk is covered by the reliability tests of published pages.
TEST_F(PageWriterFailureTest, APageThatCannotBeBuiltOrWrittenLeavesThePreviousOne) {
    Ask(PageContent::Report, 4242);
    EXPECT_FALSE(Write(page_));
    EXPECT_FALSE(error.empty());
    program_.Db().Execute("DELETE FROM ReportField WHERE ReportID = 100");
    Ask(PageContent::Report, 100);
    EXPECT_FALSE(Write(page_));
    EXPECT_TRUE(test::Has(error, "no columns"));
    Ask(PageContent::RaceResults, 99);
    EXPECT_FALSE(Write(page_));
    Ask(PageContent::RaceResults, 1);
    EXPECT_FALSE(Write(dir_.File("no such folder/page.htm")));
    ExpectPreviousPageKept();
}

TEST_F(PageWriterFailureTest,
       AWriteProtectedPageOrFolderIsNotReplacedAndAReplacedPageKeepsItsRights) {
#ifdef _WIN32
    GTEST_SKIP() << "permission bits are POSIX's; Windows keeps access lists";
#endif
    namespace fs = std::filesystem;
    Ask(PageContent::Report, 100);
    if (test::PermissionBitsBind()) {
        fs::permissions(page_, fs::perms(0444));
        EXPECT_FALSE(Write(page_));
        ExpectPreviousPageKept();
        fs::permissions(dir_.Path(), fs::perms(0555));
        fs::permissions(page_, fs::perms(0644));
        EXPECT_FALSE(Write(page_));
        fs::permissions(dir_.Path(), fs::perms(0755));
        ExpectPreviousPageKept();
    }
    fs::permissions(page_, fs::perms(0640));
    ASSERT_TRUE(Write(page_)) << error;
    EXPECT_NE(Written(), previous_);
    EXPECT_EQ(fs::status(page_).permissions(), fs::perms(0640));
}

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

// The season published as a site: the real 1992 championship, a second publish after a race is
// removed, and a league of hostile names. The grid and the chart of 1992 were checked against the
// official finishes and points of tests/fixtures/cup1992 before they were kept as golden pages.
namespace fs = std::filesystem;

// A page of the site with the footer, which names the program's version, taken out.
std::string Page(const fs::path& path) {
    return ReplaceAll(test::ReadFileBytes(path.string()), StandardFooter(), "FOOTER");
}

class SeasonSiteTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.File("prog")};
    const fs::path site = dir.File("site");
};

TEST_F(SeasonSiteTest, The1992SeasonIsPublishedPageByPageAsTheResultsWere) {
    test::CopyCup1992League(dir.File("cup.slf"));
    League cup(program, dir.File("cup.slf"));
    const auto start = std::chrono::steady_clock::now();
    const SitePublished published = PublishSeason(cup, site.string());
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    EXPECT_LT(seconds.count(), 2.0);
    RecordProperty("publish_seconds", std::to_string(seconds.count()));

    EXPECT_EQ(std::count_if(published.written.begin(), published.written.end(),
                            [](const std::string& n) { return StartsWith(n, "race-"); }),
              29);
    for (const std::string& name : published.written) {
        EXPECT_TRUE(fs::is_regular_file(site / name)) << name;
    }
    test::ExpectGolden("site/cup1992-grid.htm", Page(site / "season-grid.htm"));
    test::ExpectGolden("site/cup1992-chart.htm", Page(site / "points-chart.htm"));
    test::ExpectGolden("site/cup1992-race-1.htm", Page(site / "race-1-daytona-500.htm"));

    // A second publish after a race is removed takes away that race's page alone: not the
    // administrator's own files, nor what a tampered manifest names.
    std::ofstream(site / "notes.txt") << "mine";
    std::ofstream(site / "race-99-mine.htm") << "mine";
    std::ofstream(site / kSiteManifest, std::ios::app) << "notes.txt\n../cup.slf\n";
    RemoveSeasonRaces(cup, {5});
    EXPECT_TRUE(fs::exists(cup.BackupPath()));
    const SitePublished second = PublishSeason(cup, site.string());
    EXPECT_EQ(second.removed, std::vector<std::string>{"race-5-transouth-500.htm"});
    for (const char* name : {"notes.txt", "race-99-mine.htm", "../cup.slf"}) {
        EXPECT_TRUE(fs::exists(site / name)) << name;
    }
    EXPECT_FALSE(fs::exists(site / "race-5-transouth-500.htm"));
    EXPECT_FALSE(test::Has(Page(site / "season-grid.htm"), "race-5-"));
    EXPECT_TRUE(PublishSeason(cup, site.string()).removed.empty());
}

TEST_F(SeasonSiteTest, HostileNamesStayInertAndTheGridKeepsItsLook) {
    CreateLeagueFile(dir.File("hostile.slf"), 0, 0, program.Db(), 0, 0);
    League hostile(program, dir.File("hostile.slf"));
    test::RunSqlFixture(hostile.Db(), "sql/hostile-season.sql");
    // Each driver's worst race does not count, so the grid shows that mark too.
    hostile.Settings().droppedRaces = 1;
    const SitePublished published = PublishSeason(hostile, site.string());
    EXPECT_EQ(published.written[7], "race-1-script-alert-1-script.htm");
    for (const std::string& name : published.written) {
        for (const char* raw : {"<script", "<svg onload", "Tom & O"}) {
            EXPECT_FALSE(EndsWith(name, ".htm") && test::Has(Page(site / name), raw)) << name;
        }
    }
    // The race's page of the exports in the Modern style shows what the site's page shows.
    PageRequest request;
    request.content = PageContent::RaceResults;
    request.id = 1;
    request.style.modern = true;
    PageWriter race(hostile.Db(), program.Db());
    ASSERT_TRUE(race.Write(request, dir.File("race.htm"))) << race.LastError();
    auto main = [](const std::string& page) {
        return page.substr(page.find("<main>"), page.find("</main>") - page.find("<main>"));
    };
    EXPECT_EQ(main(Page(dir.File("race.htm"))), main(Page(site / published.written[7])));
    EXPECT_TRUE(test::Has(Page(dir.File("race.htm")), "<td>Tom &amp; O&#39;Neil</td>"));
    test::ExpectGolden("site/season-grid.htm", Page(site / "season-grid.htm"));
}

} // namespace
} // namespace scorewell
