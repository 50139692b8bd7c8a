// The season published as a site: the real 1992 championship, a second publish after a race is
// removed, and a league of hostile names. The grid and the chart of 1992 were checked against the
// official finishes and points of tests/fixtures/cup1992 before they were kept as golden pages.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "common/Text.h"
#include "data/League.h"
#include "data/Program.h"
#include "editing/RaceRemoval.h"
#include "html/PageWriter.h"
#include "html/SeasonSite.h"
#include "support/Checks.h"
#include "support/Golden.h"
#include "support/Seasons.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

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
    auto car = [](int start, const std::string& name, int laps, const std::string& out) {
        return RaceFinalCar{start, std::to_string(start), name, laps, 0, 0, "", out};
    };
    std::vector<RaceFinalRace> races(3);
    races[0].name = "<script>alert(1)</script>";
    races[1].name = "Tom's \"Big\" 200";
    races[2].name = "Fall & Final";
    for (RaceFinalRace& race : races) {
        race.track = "Oval";
        race.length = 1.5;
        race.laps = 200;
    }
    races[0].cars = {car(2, "<svg onload=alert(1)>", 200, "Running"),
                     car(1, "Tom & O'Neil", 200, "Running"), car(3, "Ann Lee", 150, "Engine")};
    races[1].cars = {car(1, "Tom & O'Neil", 200, "Running"), car(2, "Ann Lee", 200, "Running")};
    races[2].cars = {car(3, "Ann Lee", 200, "Running"),
                     car(1, "<svg onload=alert(1)>", 120, "Crash"),
                     car(2, "Tom & O'Neil", 100, "Crash")};
    fs::create_directory(dir.File("stn"));
    test::MakeSeasonLeague(program, dir.File("hostile.slf"), dir.File("stn"), races);
    League hostile(program, dir.File("hostile.slf"));
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
