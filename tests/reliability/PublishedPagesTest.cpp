// Pages go onto the league's web site, and drivers choose their own names. Every page the
// command line can write is read back as a browser would read it: no element or attribute may
// come from a name, and every name must read as the driver typed it.

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <set>

#include "LeagueGenerator.h"
#include "PageCheck.h"
#include "RaceFinalWriter.h"
#include "data/Database.h"
#include "data/Program.h"
#include "reports/ReportEngine.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

struct HostileName {
    const char* typed;
    const char* shown = nullptr; // what a reader of the page must see, when not as typed
    std::string Shown() const { return shown ? shown : typed; }
};

// Names the league file may hold, whoever put them there.
const HostileName kStoredNames[] = {
    {"<script>alert('x')</script>"},
    {"\"><img src=x onerror=alert(1)>"},
    {"<iframe src=\"javascript:alert(1)\">"},
    {"<style>*{display:none}</style>"},
    {"<a href='javascript:x()' onclick=x()>x</a>"},
    {"</TD></TR></TABLE><BODY onload=x()>"},
    {"O'Brien & \"Sons\""},
    {"&amp; &#60; &lt;"},
    {"Robert'); DROP TABLE Stats;--"},
    {"\xC5\x81ukasz \xC5\xBB\xC3\xB3\xC5\x82w \xE5\xB1\xB1\xE7\x94\xB0 \xE2\x82\xAC"},
    {"\xF0\x9F\x98\x80 Smiley"},
    {"Tab\tBell\x07"
     "Esc\x1b[0m",
     "TabBellEsc[0m"},
    {"\x7f\xC2\x85Hidden\xC2\x9F", "Hidden"},
};

// Names as a race final brings them: Windows-1252 text in the driver column.
const HostileName kFileNames[] = {
    {"Ren\xC3\xA9"
     "e <b>Dufr\xC3\xAA"
     "ne</b>"},
    {"<script src=//x.js>"},
    {"Zo\xC3\xAB \"Ace\" O'Hara & Co"},
};

class PublishedPagesTest : public test::CliFixture {
protected:
    // A league of the demo season plus one race read from a file with the given names; the
    // stored names replace the first drivers' names when given.
    std::string MakeLeague(const std::string& name, bool hostile) {
        const std::string path = dir.File(name + ".slf");
        MakeDemoLeague(path, 6);
        RaceFinalRace race = bench::DemoSeason()[0];
        race.name = "Names Race";
        for (std::size_t i = 0; i < std::size(kFileNames); ++i) {
            race.cars[i].driver =
                hostile ? kFileNames[i].typed : "File Driver " + std::to_string(i + 1);
        }
        WriteRaceFinal(dir.File(name + "-names.stn"), race);
        const auto imported = Cli({"import", path, dir.File(name + "-names.stn")});
        EXPECT_EQ(imported.exitCode, 0) << imported.err << imported.out;
        if (hostile) {
            Database db = Database::Open(path);
            int id = 1;
            for (const HostileName& stored : kStoredNames) {
                db.Execute("UPDATE Driver SET Name=? WHERE DriverID=?",
                           {Value(stored.typed), Value(id++)});
            }
        }
        return path;
    }

    // Every page the command line writes for a league: each report, each race, and each race
    // again as an off-line league shows it.
    std::vector<std::string> WritePages(const std::string& league, const std::string& tag) {
        std::vector<std::string> pages;
        auto page = [&](std::vector<std::string> what, const std::string& league2) {
            const std::string out = dir.File(tag + "-" + std::to_string(pages.size()) + ".html");
            what.insert(what.begin(), {"export", league2});
            what.insert(what.end(), {"-o", out});
            const auto r = Cli(what);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            pages.push_back(out);
        };
        const std::vector<ReportInfo> reports = ListReports(Program(prog).Db());
        EXPECT_GE(reports.size(), 7u);
        for (const ReportInfo& report : reports) {
            page({"--report", std::to_string(report.id)}, league);
        }
        const std::string offline = dir.File(tag + "-offline.slf");
        std::filesystem::copy_file(league, offline);
        Database(Database::Open(offline))
            .Execute("UPDATE Settings SET SettingValue='1' WHERE SettingsID=12");
        for (int race = 1; race <= 7; ++race) {
            page({"--race", std::to_string(race)}, league);
            page({"--race", std::to_string(race)}, offline);
        }
        return pages;
    }
};

TEST_F(PublishedPagesTest, NoNameBecomesMarkupAndEveryNameReadsAsTyped) {
    const std::vector<std::string> plain = WritePages(MakeLeague("plain", false), "plain");
    const std::vector<std::string> hostile = WritePages(MakeLeague("hostile", true), "hostile");
    ASSERT_EQ(plain.size(), hostile.size());

    std::set<std::string> cells;
    for (std::size_t i = 0; i < hostile.size(); ++i) {
        SCOPED_TRACE(hostile[i]);
        const test::ParsedPage page = test::ParsePage(test::ReadFileBytes(hostile[i]));
        const test::ParsedPage reference = test::ParsePage(test::ReadFileBytes(plain[i]));
        for (const std::string& problem : page.problems) {
            ADD_FAILURE() << problem;
        }
        EXPECT_TRUE(reference.problems.empty());
        // Same tags and attributes as the page of harmless names: nothing came from a name.
        EXPECT_EQ(page.Structure(), reference.Structure());
        cells.insert(page.cells.begin(), page.cells.end());
    }
    for (const HostileName& name : kStoredNames) {
        EXPECT_TRUE(cells.contains(name.Shown())) << name.typed;
    }
    for (const HostileName& name : kFileNames) {
        EXPECT_TRUE(cells.contains(name.Shown())) << name.typed;
    }
    // Characters outside Windows-1252 are written as references, the euro sign as its byte.
    const std::string bytes = test::ReadFileBytes(hostile[0]);
    EXPECT_NE(bytes.find("&#321;ukasz &#379;\xF3&#322;w &#23665;&#30000; \x80"), std::string::npos);
    EXPECT_NE(bytes.find("&#128512; Smiley"), std::string::npos);
    EXPECT_NE(bytes.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"), std::string::npos);
    std::cout << "pages checked " << hostile.size() + plain.size() << ", hostile names "
              << std::size(kStoredNames) + std::size(kFileNames) << "\n";
}

// A page never replaces a database, a folder or a device: tests/fixtures/cli/refusals.txt.

} // namespace
} // namespace scorewell
