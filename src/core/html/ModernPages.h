#pragma once

#include "reports/RaceTable.h"
#include "reports/ReportEngine.h"

namespace scorewell {

// The main part of a "Modern" page of a report: its visible columns, ranked, values escaped.
std::string ModernReportBody(const ReportTable& table);

// The main part of a "Modern" page of a race: the results in finishing order and the race's
// summary under them, values escaped.
std::string ModernRaceBody(const RaceResultsTable& results);

} // namespace scorewell
