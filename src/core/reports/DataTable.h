#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/Value.h"
#include "reports/ReportEngine.h"

namespace scorewell {

// One value of a table given out as data: the text as the program shows it, and the value it
// stands for (a number for a numeric column, Null when unknown, else the text).
struct DataCell {
    std::string text;
    Value value;
};

// A table for other programs: a heading and a caption (either may be empty), column names and
// rows of cells.
struct DataTable {
    std::string title;
    std::string caption;
    std::vector<std::string> columns;
    std::vector<std::vector<DataCell>> rows;
};

enum class DataFormat { Tsv, Csv, Json };

// "tsv", "csv" or "json"; false for anything else.
bool ParseDataFormat(std::string_view name, DataFormat& format);

// RFC 4180: a header line of the column names, then a line per row, CR LF line ends; a field
// holding a comma, a double quote or a line break is quoted, with its quotes doubled. UTF-8, no
// byte order mark. The caption is not part of the table.
std::string ToCsv(const DataTable& table);

// {"title": ..., "caption": ..., "columns": [...], "rows": [[...], ...]}. A numeric cell is a
// JSON number, written with the digits the program shows ("12.3" for an average shown with one
// decimal) or, when it shows a word for the number ("--" for a zero interval), the number
// itself; Null is null; everything else is a string.
std::string ToJson(const DataTable& table);

// A report's visible columns, cells as the standings window shows them.
DataTable ReportData(const ReportTable& report, const std::string& title,
                     const std::string& caption);

// The league's races as the race list shows them.
DataTable RaceListData(Database& league);

} // namespace scorewell
