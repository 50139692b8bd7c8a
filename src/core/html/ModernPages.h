#pragma once

#include <cstdint>
#include <string>

#include "data/Database.h"
#include "reports/RaceTable.h"
#include "reports/ReportEngine.h"

namespace scorewell {

// The main part of a "Modern" page of a report: its visible columns, ranked, values escaped, and
// the adjustments the report counts under them (ReportAdjustments).
std::string ModernReportBody(Database& league, const ReportTable& table);

// The main part of a "Modern" page of a race: the results in finishing order, the race's summary
// under them and the adjustments tied to the race, values escaped.
std::string ModernRaceBody(Database& league, std::int32_t raceId, const RaceResultsTable& results);

// A page of the exports (a report, export type 0, or a race's results, 1) in the Modern style.
struct ModernExport {
    int exportType = 0;
    std::int32_t id = 0; // the ReportID or the RaceID
    std::string heading;
    std::string reportName;
    std::string caption;
    std::string footer;
    std::string font;
    std::string decimalSeparator = ".";
};

// The whole page. Throws ScorewellError when the report has no columns, the race does not exist
// or the export type is unknown, and ReportError when the report fails.
std::string ModernExportPage(Database& league, Database& programDb, const ModernExport& request);

} // namespace scorewell
