#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/Database.h"

namespace scorewell {

// How a page looks: the page and heading colours, the table styling and the font. Colours are
// 0x00BBGGRR; a system colour (top bit set) is written as FFFFFF.
struct PageStyle {
    bool useBackgroundImage = false;
    std::string backgroundImage;
    std::int32_t backgroundColor = 0;
    std::int32_t textColor = 0;
    std::int32_t linkColor = 0;
    std::int32_t visitedLinkColor = 0;
    std::int32_t activeLinkColor = 0;
    std::int32_t headingColor = 0;
    std::int32_t reportNameColor = 0;
    std::int32_t captionColor = 0;
    // 0/1 header text/background, 2/3 row text/background, 4/5 alternate row text/background,
    // 6/7 border light/dark, 8 table background, 9 unused.
    std::array<std::int32_t, 10> tableColors{};
    // 0 header colours, 1 row colours, 2 alternate rows (only with 1), 3 border, 4 background.
    std::array<bool, 5> useTableColors{};
    // Border size, cell padding, cell spacing.
    std::array<int, 3> layout{};
    std::string font;
    // 0 or less: no size attribute.
    int fontSize = 0;
    // The Modern page (html/ModernStyle.h): of this style it takes only the font.
    bool modern = false;
};

// What one page shows: a report of the program database, or the results of one race.
enum class PageContent { Report, RaceResults };

// Everything a page is written from. Build one with the functions of html/PageSettings.h, which
// take the texts, the style and the footer from the league's saved page settings or the export
// dialog.
struct PageRequest {
    PageContent content = PageContent::Report;
    // A ReportID for a report, a RaceID for race results.
    std::int32_t id = 0;
    // The page heading; may contain CR LF line breaks.
    std::string heading;
    std::string reportName;
    std::string caption;
    // An HTML fragment, written verbatim.
    std::string footer;
    PageStyle style;
    // The user's decimal separator, for the numbers of the table.
    std::string decimalSeparator = ".";
};

// The HTML page writer: one page with a heading, a report heading, a caption, one table (a report
// of the program database, or the results of one race) and a footer.
//
// Values from the league (table cells, race summary) are HTML-escaped; the texts the
// administrator types, the column captions and the footer are written as they are, so they may
// carry markup. The page is Windows-1252 with CR LF line ends; a character the code page lacks
// becomes a numeric character reference, control characters are left out. The page replaces the
// target file only once it is completely written, so a failed export leaves the old page as it
// was.
class PageWriter {
public:
    // league: the open league file; programDb: the program database.
    PageWriter(Database& league, Database& programDb) : league_(&league), programDb_(&programDb) {}

    // Builds the table from the databases and writes the page. beforeReplace is called once the
    // new page is completely written and flushed, just before it replaces the old one, to commit
    // what goes with the page; when it throws, the old page stays. False when the report has no
    // columns, the race does not exist, a statement fails or the file cannot be written;
    // LastError then says why.
    bool Write(const PageRequest& request, const std::string& fileName,
               const std::function<void()>& beforeReplace = {});
    const std::string& LastError() const { return lastError_; }

private:
    struct Content {
        std::vector<std::string> captions;           // 0 heads the row-number column
        std::vector<int> alignments;                 // 4 centred, 999 hidden, else left
        std::vector<std::vector<std::string>> cells; // per row, columns 1..n at 0..n-1
        std::string raceInformation;
        std::string adjustments; // the list under the table, HTML lines; empty when none
    };

    Content BuildReport(const PageRequest& request);
    Content BuildRaceResults(const PageRequest& request);
    static std::string Page(const PageRequest& request, const Content& content);

    Database* league_;
    Database* programDb_;
    std::string lastError_;
};

// The footer of an exported page, and the variant of the preview page.
std::string StandardFooter();
std::string PreviewFooter();

// "&", "<", ">", '"' and "'" as entities.
std::string EscapeHTML(std::string_view text);

// UTF-8 text as Windows-1252 bytes for a page: characters outside the code page become "&#N;",
// control characters are dropped except CR LF pairs.
std::string EncodePageText(std::string_view utf8);

} // namespace scorewell
