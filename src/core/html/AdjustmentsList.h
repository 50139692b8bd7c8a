#pragma once

#include <string>
#include <vector>

#include "data/AdjustmentRows.h"
#include "html/PageWriter.h"
#include "reports/ReportEngine.h"

namespace scorewell {

// The stewards' decisions under a page's table: a heading and a table of driver, race (on
// standings pages), points and reason, in the page's table style, as lines ending in CR LF.
// Every text from the league is escaped. No rows give no text at all, so a league without
// adjustments gets its pages as before.
std::string AdjustmentsListHtml(const std::vector<AdjustmentRow>& rows, const PageStyle& style,
                                bool withRace);

// The same list on a page in the Modern style: a heading and a table; no rows give no text.
std::string ModernAdjustmentsHtml(const std::vector<AdjustmentRow>& rows, bool withRace);

// The adjustments a report's page lists: when the report counts adjustments (it has a column of
// the field "Adj"), those of the drivers its table shows, by the names of its "Driver" column.
std::vector<AdjustmentRow> ReportAdjustments(Database& league, const ReportTable& table);

} // namespace scorewell
