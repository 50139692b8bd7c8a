// The season published as a site: the real 1992 championship page by page, a second publish
// after a race is removed, and a league of hostile names whose grid is kept as a golden page.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "common/Text.h"
#include "data/League.h"
#include "data/Program.h"
#include "editing/RaceRemoval.h"
#include "html/PageWriter.h"
#include "html/SeasonSite.h"
#include "support/Seasons.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The cells of each body row of a page's table, tags taken out.
std::vector<std::vector<std::string>> BodyRows(const std::string& page) {
    std::vector<std::vector<std::string>> rows;
    const std::string body = page.substr(page.find("<tbody>"));
    static const std::regex tr("<tr>(.*?)</tr>");
    static const std::regex cell("<td[^>]*>(.*?)</td>");
    static const std::regex tag("<[^>]*>");
    for (std::sregex_iterator r(body.begin(), body.end(), tr), end; r != end; ++r) {
        const std::string row = (*r)[1];
        std::vector<std::string> cells;
        for (std::sregex_iterator c(row.begin(), row.end(), cell); c != end; ++c) {
            std::string text = std::regex_replace((*c)[1].str(), tag, "");
            for (const auto& [entity, character] : {std::pair{"&#39;", "'"},
                                                    {"&quot;", "\""},
                                                    {"&lt;", "<"},
                                                    {"&gt;", ">"},
                                                    {"&amp;", "&"}}) {
                text = ReplaceAll(text, entity, character);
            }
            cells.push_back(text);
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

class SeasonSiteTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        shared_ = new test::TempDir;
        Program program(shared_->File("prog"));
        fs::create_directory(shared_->File("stn"));
        test::MakeSeasonLeague(program, shared_->File("cup1992.slf"), shared_->File("stn"),
                               test::Cup1992Races());
    }
    static void TearDownTestSuite() {
        delete shared_;
        shared_ = nullptr;
    }

    // A copy of the 1992 league, open.
    League& Open1992() {
        fs::copy_file(shared_->File("cup1992.slf"), dir.File("cup.slf"));
        league = std::make_unique<League>(program, dir.File("cup.slf"));
        return *league;
    }

    static test::TempDir* shared_;
    test::TempDir dir;
    Program program{dir.File("prog")};
    std::unique_ptr<League> league;
};

test::TempDir* SeasonSiteTest::shared_ = nullptr;

TEST_F(SeasonSiteTest, The1992SeasonIsPublishedPageByPageAsTheResultsWere) {
    League& cup = Open1992();
    const std::string site = dir.File("site");
    const auto start = std::chrono::steady_clock::now();
    const SitePublished published = PublishSeason(cup, site);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 2.0);
    RecordProperty("publish_seconds", std::to_string(seconds));

    const std::set<std::string> written(published.written.begin(), published.written.end());
    EXPECT_EQ(std::count_if(written.begin(), written.end(),
                            [](const std::string& n) { return StartsWith(n, "race-"); }),
              29);
    EXPECT_TRUE(written.count("race-1-daytona-500.htm"));
    for (const std::string& name : written) {
        EXPECT_TRUE(fs::is_regular_file(fs::path(site) / name)) << name;
    }

    // Grid: every cell the driver's finish in that race, empty where he did not race.
    std::map<std::pair<std::string, int>, const test::CsvRow*> finishes;
    const std::vector<test::CsvRow> results = test::ReadCup1992("results.csv");
    for (const test::CsvRow& r : results) {
        if (r.at("status") != "did not start") {
            finishes[{r.at("driver"), std::stoi(r.at("race_no"))}] = &r;
        }
    }
    const std::string grid = Read(fs::path(site) / "season-grid.htm");
    const auto rows = BodyRows(grid);
    ASSERT_EQ(rows.size(), 97u);
    std::size_t cells = 0;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 1u + 1u + 29u + 1u);
        for (int race = 1; race <= 29; ++race) {
            auto it = finishes.find({row[1], race});
            EXPECT_EQ(row[1 + race], it == finishes.end() ? "" : it->second->at("finish"))
                << row[1] << " in race " << race;
            cells += it != finishes.end();
        }
    }
    EXPECT_EQ(cells, finishes.size());
    EXPECT_EQ(rows[0][1], "Alan Kulwicki");
    EXPECT_EQ(rows[0].back(), "4078");
    // A win and a retirement each carry their mark.
    EXPECT_NE(grid.find("<span class=\"win\">1</span>"), std::string::npos);
    EXPECT_NE(grid.find("class=\"out\">"), std::string::npos);

    // Chart: the top ten, each line ending on the points of the standings.
    const std::string chart = Read(fs::path(site) / "points-chart.htm");
    std::map<std::string, std::string> official;
    for (const test::CsvRow& s : test::ReadCup1992("standings.csv")) {
        official[s.at("driver")] = s.at("official_pts_sum");
    }
    static const std::regex line(
        "<polyline class=\"line\" data-driver=\"([^\"]*)\"[^>]*><title>[^<]*: "
        "([0-9]+)</title>");
    int lines = 0;
    for (std::sregex_iterator m(chart.begin(), chart.end(), line), end; m != end; ++m, ++lines) {
        EXPECT_EQ((*m)[2].str(), official[(*m)[1].str()]) << (*m)[1];
    }
    EXPECT_EQ(lines, 10);
}

TEST_F(SeasonSiteTest, ASecondPublishRemovesOnlyThePageOfTheRemovedRace) {
    League& cup = Open1992();
    const fs::path site = dir.File("site");
    PublishSeason(cup, site.string());
    // The administrator's own files, one named like a page, and a manifest tampered with.
    std::ofstream(site / "notes.txt") << "mine";
    std::ofstream(site / "race-99-mine.htm") << "mine";
    std::ofstream(site / kSiteManifest, std::ios::app) << "notes.txt\n../cup.slf\n";

    RemoveSeasonRaces(cup, {5});
    EXPECT_TRUE(fs::exists(cup.BackupPath()));
    const SitePublished second = PublishSeason(cup, site.string());
    EXPECT_EQ(second.removed, std::vector<std::string>{"race-5-transouth-500.htm"});
    EXPECT_FALSE(fs::exists(site / "race-5-transouth-500.htm"));
    EXPECT_TRUE(fs::exists(site / "notes.txt"));
    EXPECT_TRUE(fs::exists(site / "race-99-mine.htm"));
    EXPECT_TRUE(fs::exists(dir.File("cup.slf")));
    EXPECT_EQ(BodyRows(Read(site / "season-grid.htm"))[0].size(), 1u + 1u + 28u + 1u);
    // Nothing to remove the next time.
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
    const fs::path site = dir.File("site");
    const SitePublished published = PublishSeason(hostile, site.string());
    EXPECT_EQ(published.written[7], "race-1-script-alert-1-script.htm");
    for (const std::string& name : published.written) {
        if (!EndsWith(name, ".htm")) {
            continue;
        }
        const std::string page = Read(site / name);
        EXPECT_EQ(page.find("<script"), std::string::npos) << name;
        EXPECT_EQ(page.find("<svg onload"), std::string::npos) << name;
        EXPECT_EQ(page.find("Tom & O"), std::string::npos) << name;
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
    EXPECT_EQ(main(Read(dir.File("race.htm"))), main(Read(site / published.written[7])));
    EXPECT_NE(Read(dir.File("race.htm")).find("<td>Tom &amp; O&#39;Neil</td>"), std::string::npos);

    test::ExpectGolden("site/season-grid.htm",
                       ReplaceAll(Read(site / "season-grid.htm"), StandardFooter(), "FOOTER"));
}

} // namespace
} // namespace scorewell
