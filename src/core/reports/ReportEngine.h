#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Errors.h"
#include "common/Value.h"
#include "data/Database.h"

namespace scorewell {

// A report that cannot be loaded or run; the message names the report and says why.
class ReportError : public ScorewellError {
public:
    using ScorewellError::ScorewellError;
};

// One entry of the report list.
struct ReportInfo {
    std::int32_t id = 0;
    std::string name;
};

// One column of a report, as its ReportField row defines it.
struct ReportColumn {
    std::int32_t reportFieldId = 0;
    std::string caption;    // Name
    std::int32_t width = 0; // ColWidth, in twips
    int alignment = 0;      // ColAlignment, the grid's alignment code (4 is centred)
    std::string format;     // ColFormat; Null gives the empty pattern
    bool hidden = false;    // Hidden; Null counts as shown
    std::string field;      // the result column of the query shown here
};

struct ReportDefinition {
    std::int32_t id = 0;
    std::string name;
    std::string query;
    // In Sequence order. A report without columns shows nothing: callers keep what they showed.
    std::vector<ReportColumn> columns;
};

// A report's rows: per report column (hidden ones too) the raw value and its formatted text.
struct ReportTable {
    std::vector<ReportColumn> columns;
    std::vector<std::vector<Value>> values;
    std::vector<std::vector<std::string>> texts;

    std::size_t RowCount() const { return values.size(); }
    // Indexes of the columns that are not hidden, in order.
    std::vector<std::size_t> VisibleColumns() const;
};

// How long a report query may run before it is stopped.
inline constexpr std::chrono::milliseconds kReportTimeLimit{30'000};

// The reports of the program database in list order (Sequence).
std::vector<ReportInfo> ListReports(Database& programDb);

// A report named (without regard to letter case) or, failing that, numbered by text.
std::optional<ReportInfo> FindReport(Database& programDb, std::string_view nameOrId);

// The query and columns of a report. Throws ReportError when there is no such report.
ReportDefinition LoadReportDefinition(Database& programDb, std::int32_t reportId);

// Runs the report's query on the league and formats every value with its column's pattern.
// The query runs confined: one statement that only reads the league, within the time limit.
// Throws ReportError naming the report and the reason when it is refused or fails, or when it
// lacks a column the report shows. A report without columns gives an empty table and runs
// nothing.
ReportTable RunReport(Database& league, const ReportDefinition& report,
                      std::string_view decimalSeparator,
                      std::chrono::milliseconds timeLimit = kReportTimeLimit);

// The visible columns as text: their captions, then the texts of each row.
std::vector<std::vector<std::string>> VisibleTexts(const ReportTable& table);

} // namespace scorewell
