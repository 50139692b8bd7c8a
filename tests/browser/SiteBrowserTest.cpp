// The published site as a browser shows it: headless Chromium renders the index, the season grid
// and the points chart of the 1992 season, and the rendered pages are checked.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "common/Text.h"
#include "data/League.h"
#include "data/Program.h"
#include "html/SeasonSite.h"
#include "support/Process.h"
#include "support/Seasons.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;

std::string Browser() {
    for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"}) {
        if (fs::exists(path)) {
            return path;
        }
    }
    return {};
}

class SiteBrowserTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        Program program(dir_->File("prog"));
        fs::create_directory(dir_->File("stn"));
        test::MakeSeasonLeague(program, dir_->File("cup.slf"), dir_->File("stn"),
                               test::Cup1992Races());
        League league(program, dir_->File("cup.slf"));
        written_ = PublishSeason(league, dir_->File("site")).written;
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        if (Browser().empty()) {
            GTEST_SKIP() << "Chromium is not installed (tools/setup.sh installs it)";
        }
    }

    // The DOM of a page of the site after the browser has rendered it, in a window of the size.
    static std::string RenderedDom(const std::string& page, const std::string& size = "1280,900") {
        const test::ProcessResult r = test::RunProcess(
            Browser(), {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                        "--user-data-dir=" + dir_->File("profile"), "--window-size=" + size,
                        "--dump-dom", "file://" + Site(page)});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.out;
    }
    static std::string Site(const std::string& name) { return dir_->File("site/" + name); }

    static test::TempDir* dir_;
    static std::vector<std::string> written_;
};

test::TempDir* SiteBrowserTest::dir_ = nullptr;
std::vector<std::string> SiteBrowserTest::written_;

// One test, as every start of the browser costs seconds: the index, the grid (on a phone) and the
// chart.
TEST_F(SiteBrowserTest, TheIndexGridAndChartRenderWhole) {
    const std::string dom = RenderedDom("index.htm");
    static const std::regex href("href=\"([^\"]*)\"");
    std::set<std::string> links;
    for (std::sregex_iterator m(dom.begin(), dom.end(), href), end; m != end; ++m) {
        const std::string link = (*m)[1];
        if (link.find(':') == std::string::npos) {
            links.insert(link);
        }
    }
    // 7 reports, 29 races, the grid, the chart and the two data files.
    EXPECT_EQ(links.size(), 7u + 29u + 2u + 2u);
    const std::set<std::string> written(written_.begin(), written_.end());
    for (const std::string& link : links) {
        EXPECT_TRUE(written.count(link) && fs::is_regular_file(Site(link))) << link;
    }

    // A copy of the grid with a probe that writes what it measured into the page.
    std::ifstream in(Site("season-grid.htm"), std::ios::binary);
    std::string page((std::istreambuf_iterator<char>(in)), {});
    page = ReplaceAll(page, "</body>",
                      "<script>const s=document.querySelector('.scroll');"
                      "document.body.setAttribute('data-probe',[s.scrollWidth>s.clientWidth,"
                      "document.documentElement.scrollWidth<=window.innerWidth].join());"
                      "</script></body>");
    std::ofstream(Site("probe.htm"), std::ios::binary) << page;
    // On a phone the table scrolls sideways in its frame; the page itself stays narrow.
    const std::string grid = RenderedDom("probe.htm", "390,844");
    EXPECT_NE(grid.find("data-probe=\"true,true\""), std::string::npos)
        << grid.substr(0, grid.find("<main>"));
    const std::string body = grid.substr(grid.find("<tbody>"));
    EXPECT_EQ(CountOccurrences(body.substr(0, body.find("</tbody>")), "<tr>"), 97);
    EXPECT_NE(grid.find("href=\"index.htm\""), std::string::npos);

    const std::string chart = RenderedDom("points-chart.htm");
    EXPECT_EQ(CountOccurrences(chart, "<svg"), 1);
    EXPECT_EQ(CountOccurrences(chart, "<polyline class=\"line\""), 10);
    EXPECT_EQ(CountOccurrences(chart, "<text class=\"label\""), 10);
}

} // namespace
} // namespace scorewell
