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
    bool UseBGImage = false;
    std::string BGImage;
    std::int32_t BGColor = 0;
    std::int32_t TextColor = 0;
    std::int32_t LinkColor = 0;
    std::int32_t VLinkColor = 0;
    std::int32_t ALinkColor = 0;
    std::int32_t TitleColor = 0;
    std::int32_t ReportNameColor = 0;
    std::int32_t CaptionColor = 0;
    // 0/1 header text/background, 2/3 row text/background, 4/5 alternate row text/background,
    // 6/7 border light/dark, 8 table background, 9 unused.
    std::array<std::int32_t, 10> TableColors{};
    // 0 header colours, 1 row colours, 2 alternate rows (only with 1), 3 border, 4 background.
    std::array<bool, 5> UseTableColors{};
    // Border size, cell padding, cell spacing.
    std::array<int, 3> Layout{};
    std::string HTMLPageFont;
    // 0 or less: no size attribute.
    int HTMLPageFontSize = 0;
    // The Modern page (html/ModernStyle.h): of this style it takes only the font.
    bool Modern = false;
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
class CExport {
public:
    static constexpr int kReport = 0;
    static constexpr int kRaceResults = 1;

    // league: the open league file (Database); programDb: the program database (SLDatabase).
    CExport(Database& league, Database& programDb) : league_(&league), programDb_(&programDb) {}

    Database& GetDatabase() const { return *league_; }
    Database& GetSLDatabase() const { return *programDb_; }

    // May contain CR LF line breaks.
    std::string Title;
    std::string Title2;
    std::string ReportName;
    // An HTML fragment, written verbatim.
    std::string Footer;
    // A ReportID for a report, a RaceID for race results.
    std::int32_t ReportID = 0;
    int ExportType = kReport;
    PageStyle Style;
    // The user's decimal separator, for the numbers of the table.
    std::string DecimalSeparator = ".";
    // Called once the new page is completely written and flushed, just before it replaces the
    // old one, to commit what goes with the page; when it throws, the old page stays.
    std::function<void()> BeforeReplace;

    // Builds the table from the databases and writes the page. False when the report has no
    // columns, the race does not exist, a statement fails, the export type is unknown or the
    // file cannot be written; LastError then says why.
    bool HTML(const std::string& fileName);
    const std::string& LastError() const { return lastError_; }

private:
    struct Content {
        std::vector<std::string> captions;           // 0 heads the row-number column
        std::vector<int> alignments;                 // 4 centred, 999 hidden, else left
        std::vector<std::vector<std::string>> cells; // per row, columns 1..n at 0..n-1
        std::string raceInformation;
    };

    Content BuildReport();
    Content BuildRaceResults();
    std::string Page(const Content& content) const;

    Database* league_;
    Database* programDb_;
    std::string lastError_;
};

// The footer every export passes in Footer, and the variant of the preview page.
std::string StandardFooter();
std::string PreviewFooter();

// "&", "<", ">", '"' and "'" as entities.
std::string EscapeHTML(std::string_view text);

// UTF-8 text as Windows-1252 bytes for a page: characters outside the code page become "&#N;",
// control characters are dropped except CR LF pairs.
std::string EncodePageText(std::string_view utf8);

} // namespace scorewell
