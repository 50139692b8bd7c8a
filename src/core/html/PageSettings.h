#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/Domain.h"
#include "data/Database.h"
#include "html/PageWriter.h"

namespace scorewell {

// What the export dialog shows before any setting of the league overrides it.
namespace PageDefaults {

// Swatches 0 to 17: page background, text, hyperlink, visited and active hyperlink, page heading,
// report name, caption, then the ten table colours. The first two are system colours.
inline constexpr std::array<std::int32_t, 18> kSwatchColors = {
    static_cast<std::int32_t>(0x8000000E),
    static_cast<std::int32_t>(0x80000008),
    0xFF0000,
    0x0000FF,
    0xFF8080,
    0x000000,
    0x000000,
    0x00FF00,
    0xFFFFFF,
    0xFF0000,
    0x000000,
    0xFFFF00,
    0x00FFFF,
    0xFF00FF,
    0xE0E0E0,
    0x808080,
    0x404040,
    0x808080,
};
inline constexpr std::array<bool, 5> kUseTableColors = {false, false, false, false, false};
inline constexpr std::array<int, 3> kLayout = {1, 3, 0};
inline constexpr const char* kFont = "Times New Roman";
inline constexpr int kFontSize = 0;
inline constexpr bool kUseBGImage = false;
inline constexpr const char* kHeading = "OrgName";
inline constexpr const char* kReportName = "RepName";
inline constexpr const char* kCaption = "Results after X races";

} // namespace PageDefaults

// The swatch colours of a style: 0 to 7 the page and heading colours, 8 to 17 the table colours.
std::array<std::int32_t, 18> SwatchColors(const PageStyle& style);
void SetSwatchColors(PageStyle& style, const std::array<std::int32_t, 18>& colors);

// The style the exports write with, from the league's saved page settings (100, 101, 102 to 119,
// 200 to 204, 300 to 302, 15, 16); a setting not saved yet, or unreadable, takes its default
// value.
PageStyle SavedPageStyle(Database& league);

// What the export dialog shows and saves. The layout boxes keep their text as typed (or as it was
// stored); the page takes their whole-number values.
struct ExportDialogSettings {
    std::string heading = PageDefaults::kHeading;       // 2
    std::string reportName = PageDefaults::kReportName; // 3
    std::string caption = PageDefaults::kCaption;       // 4
    std::string font = PageDefaults::kFont;             // 15
    int fontSize = PageDefaults::kFontSize;             // 16: an index into the size list
    bool useBGImage = PageDefaults::kUseBGImage;        // 100
    std::string bgImage;                                // 101
    std::array<std::int32_t, 18> colors = PageDefaults::kSwatchColors;  // 102 + swatch
    std::array<bool, 5> useTableColors = PageDefaults::kUseTableColors; // 200 + switch
    std::array<std::string, 3> layout = {"1", "3", "0"};                // 300 + box
    bool modern = false;                                                // 400
};

// The dialog's settings as the league has them: a setting never saved keeps its default,
// and a table-colour switch never saved is off.
ExportDialogSettings LoadExportDialogSettings(Database& league);

// Saves 2, 3, 4, 15, 16, 100, 101, 102 to 119, 200 to 204, 300 to 302 and 400, in that order, as
// one change of the league. Throws ScorewellError when they could not be saved; nothing is saved
// then.
void SaveExportDialogSettings(Database& league, const ExportDialogSettings& settings);

// The style a page is written with from the dialog's settings.
PageStyle PageStyleOf(const ExportDialogSettings& settings);

// The whole-number value of a layout box: its leading number, 0 when there is none.
int LayoutValue(const std::string& text);

// The page heading the exports propose: setting 2, or the default text when it was never saved.
std::string SavedPageHeading(Database& league);

// The caption of a standings page: the standings caption without its final colon.
std::string StandingsPageCaption(const std::string& standingsCaption);

// The name and caption ("2.5 miles - 200 laps") a race's page is proposed with. Throws
// ScorewellError when there is no such race.
struct RaceHeading {
    std::string name;
    std::string caption;
};
RaceHeading ReadRaceHeading(Database& league, std::int32_t raceId,
                            const std::string& decimalSeparator);

// The texts a page is headed with, as the administrator typed or accepted them.
struct PageTexts {
    std::string heading;
    std::string reportName;
    std::string caption;
};

// An exported page: styled with the league's saved page settings, with the standard footer.
PageRequest ExportedPage(Database& league, PageContent content, std::int32_t id, PageTexts texts,
                         const std::string& decimalSeparator);

// A race's exported page headed without asking: the saved page heading, the race's name and its
// length and laps. The name comes straight from the result file, so it is league data and
// escaped as such. Throws ScorewellError when there is no such race.
PageRequest SavedRacePage(Database& league, std::int32_t raceId,
                          const std::string& decimalSeparator);

// The export dialog's preview: its texts and style as they stand, with the preview footer.
PageRequest PreviewPage(const ExportDialogSettings& settings, PageContent content, std::int32_t id,
                        const std::string& decimalSeparator);

} // namespace scorewell
