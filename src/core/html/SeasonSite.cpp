#include "html/SeasonSite.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "common/Errors.h"
#include "common/Files.h"
#include "common/Platform.h"
#include "common/Text.h"
#include "data/RaceList.h"
#include "html/ModernPages.h"
#include "html/ModernStyle.h"
#include "html/PageSettings.h"
#include "html/PageWriter.h"
#include "html/SeasonGrid.h"
#include "reports/DataTable.h"
#include "reports/Dropped.h"
#include "reports/RaceTable.h"

namespace scorewell {

namespace fs = std::filesystem;

namespace {

constexpr const char* kIndex = "index.htm";
constexpr const char* kGrid = "season-grid.htm";
constexpr const char* kChart = "points-chart.htm";
constexpr const char* kCsv = "standings.csv";
constexpr const char* kJson = "standings.json";

// Only a name this publish could have written is ever removed, whatever the manifest says.
bool IsSiteFileName(const std::string& name) {
    if (name == kIndex || name == kGrid || name == kChart || name == kCsv || name == kJson) {
        return true;
    }
    if (!(StartsWith(name, "race-") || StartsWith(name, "report-")) || !EndsWith(name, ".htm")) {
        return false;
    }
    for (char c : name) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.')) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> ReadManifest(const fs::path& path) {
    std::vector<std::string> names;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (!line.empty() && line[0] != '#') {
            names.push_back(line);
        }
    }
    return names;
}

std::string Link(const std::string& href, const std::string& text) {
    return "<a href=\"" + href + "\">" + text + "</a>";
}

struct SiteFile {
    std::string name;
    std::string bytes;
};

} // namespace

std::string SitePageName(const std::string& kind, std::int32_t number, const std::string& name) {
    std::string slug;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            slug += c;
        } else if (!slug.empty() && slug.back() != '-') {
            slug += '-';
        }
    }
    std::string page = kind + "-" + std::to_string(number);
    const std::size_t room = 60 - page.size() - 4;
    if (slug.size() > room) {
        slug.resize(room);
    }
    while (!slug.empty() && slug.back() == '-') {
        slug.pop_back();
    }
    return page + (slug.empty() ? "" : "-" + slug) + ".htm";
}

SitePublished PublishSeason(League& league, const std::string& folder,
                            const SiteProgress& progress) {
    Database& db = league.Db();
    Program& program = league.GetProgram();
    Database& programDb = program.Db();
    const std::string& separator = program.DecimalSeparator();

    const std::string standingsCaption =
        StandingsCaption(MarkDroppedResults(db, league.Settings().droppedRaces));
    const std::string caption = StandingsPageCaption(standingsCaption);
    const std::string heading = SavedPageHeading(db);
    const std::string font = SavedPageStyle(db).font;
    const std::string footer = StandardFooter();
    auto page = [&](const std::string& reportName, const std::string& pageCaption,
                    const std::string& body, bool isIndex) {
        ModernPage p;
        p.heading = heading;
        p.reportName = reportName;
        p.caption = pageCaption;
        p.font = font;
        p.navigation = isIndex ? std::string() : Link(kIndex, "Index");
        p.body = body;
        p.footer = footer;
        return ModernDocument(p);
    };

    std::vector<SiteFile> files;
    std::string reportLinks;
    std::optional<ReportTable> standings;
    std::string standingsName;
    for (const ReportInfo& info : ListReports(programDb)) {
        const ReportDefinition report = LoadReportDefinition(programDb, info.id);
        ReportTable table = RunReport(db, report, separator);
        const std::string name = SitePageName("report", info.id, info.name);
        files.push_back(
            {name, page(EscapeHTML(info.name), caption, ModernReportBody(db, table), false)});
        reportLinks += "<li>" + Link(name, EscapeHTML(info.name)) + "</li>\r\n";
        if (!standings) {
            standings = std::move(table);
            standingsName = info.name;
        }
    }
    if (!standings) {
        throw ScorewellError("The program database holds no report to publish the standings with.");
    }

    Season season = ReadSeason(db, *standings);
    std::string raceLinks;
    for (Season::Race& race : season.races) {
        race.page = SitePageName("race", race.raceId, race.name);
        const RaceResultsTable results = ReadRaceResults(db, race.raceId, separator);
        const std::string body = ModernRaceBody(db, race.raceId, results);
        const RaceHeading raceHeading = ReadRaceHeading(db, race.raceId, separator);
        files.push_back({race.page, page(EscapeHTML(race.name), raceHeading.caption, body, false)});
        raceLinks += "<li>" + Link(race.page, EscapeHTML(race.name)) + "</li>\r\n";
    }
    files.push_back({kGrid, page("Season grid", caption, SeasonGridHtml(season), false)});
    files.push_back(
        {kChart, page("Points chart", caption,
                      "<p>Points after each race, the top ten of the standings.</p>\r\n" +
                          PointsChartSvg(season),
                      false)});
    const DataTable data = ReportData(*standings, standingsName, standingsCaption);
    files.push_back({kCsv, ToCsv(data)});
    files.push_back({kJson, ToJson(data)});
    const std::string index =
        "<h2>Standings and statistics</h2>\r\n<ul class=\"links\">\r\n" + reportLinks +
        "</ul>\r\n<h2>Season</h2>\r\n<ul class=\"links\">\r\n<li>" + Link(kGrid, "Season grid") +
        "</li>\r\n<li>" + Link(kChart, "Points chart") +
        "</li>\r\n</ul>\r\n<h2>Races</h2>\r\n"
        "<ol class=\"links\">\r\n" +
        raceLinks +
        "</ol>\r\n<h2>Data</h2>\r\n<ul class=\"links\">\r\n"
        "<li>" +
        Link(kCsv, "Standings as CSV") + "</li>\r\n<li>" + Link(kJson, "Standings as JSON") +
        "</li>\r\n</ul>\r\n";
    // The index goes last: a publish that fails on the way leaves the old index to the old pages.
    files.push_back({kIndex, page("", caption, index, true)});

    const fs::path dir(folder);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir)) {
        throw ScorewellError("The folder \"" + folder + "\" could not be made" +
                             (ec ? ": " + ec.message() : std::string()) + ".");
    }
    const std::vector<std::string> databases{league.Path(), programDb.Path()};
    const int total = static_cast<int>(files.size()) + 1;
    int done = 0;
    SitePublished published;
    auto write = [&](const std::string& name, const std::string& bytes) {
        const std::string path = (dir / name).string();
        try {
            WriteFileSafely(path, bytes, {}, databases);
        } catch (const std::system_error& e) {
            throw ScorewellError(
                "\"" + path + "\" could not be written: " +
                (IsDiskFullError(e.code().value()) ? std::string("the disk is full")
                                                   : e.code().message()) +
                ". The pages written before it are in place; nothing was removed.");
        }
        if (progress) {
            progress(++done, total);
        }
    };

    const std::vector<std::string> before = ReadManifest(dir / kSiteManifest);
    std::string manifest =
        "# Written by Scorewell's season publish: the next publish removes the files listed here\n"
        "# that it does not write again. Nothing else in this folder is touched.\n";
    std::set<std::string> now;
    for (const SiteFile& file : files) {
        write(file.name, file.bytes);
        published.written.push_back(file.name);
        now.insert(file.name);
        manifest += file.name + "\n";
    }
    write(kSiteManifest, manifest);
    for (const std::string& name : before) {
        if (now.count(name) || !IsSiteFileName(name)) {
            continue;
        }
        const fs::path stale = dir / name;
        if (fs::is_regular_file(fs::symlink_status(stale, ec)) && !IsDatabaseFile(stale.string()) &&
            fs::remove(stale, ec)) {
            published.removed.push_back(name);
        }
    }
    published.index = (dir / kIndex).string();
    return published;
}

} // namespace scorewell
