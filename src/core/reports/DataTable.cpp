#include "reports/DataTable.h"

#include <cmath>
#include <cstdio>

#include "common/Numbers.h"
#include "common/Text.h"
#include "data/RaceList.h"

namespace scorewell {

namespace {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    return "\"" + ReplaceAll(text, "\"", "\"\"") + "\"";
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    // Decoding and encoding again replaces bytes that are not UTF-8, so the output always is.
    for (char32_t c : Utf8ToCodePoints(utf8)) {
        switch (c) {
        case U'"':
            out += "\\\"";
            break;
        case U'\\':
            out += "\\\\";
            break;
        case U'\n':
            out += "\\n";
            break;
        case U'\r':
            out += "\\r";
            break;
        case U'\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x2028 || c == 0x2029) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
                out += buffer;
            } else {
                AppendUtf8(out, c);
            }
        }
    }
    return out + "\"";
}

// The shown text as a JSON number when it is one: digits, one decimal point (any separator the
// user's settings gave), an optional leading minus.
bool IsShownNumber(const std::string& text, std::string& json) {
    json.clear();
    bool digits = false;
    bool point = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            json += c;
        } else if (c == '-' && i == 0) {
            json += c;
        } else if ((c == '.' || c == ',') && !point && digits) {
            point = true;
            json += '.';
        } else {
            return false;
        }
    }
    if (!digits || json.back() == '.') {
        return false;
    }
    // JSON allows no leading zeros: "007" is written as 7.
    const std::size_t first = json[0] == '-' ? 1 : 0;
    while (json.size() > first + 1 && json[first] == '0' && json[first + 1] != '.') {
        json.erase(first, 1);
    }
    return true;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    return GeneralNumberText(value);
}

std::string JsonCell(const DataCell& cell) {
    if (cell.value.IsNull()) {
        return "null";
    }
    if (!cell.value.IsNumber()) {
        return JsonString(cell.text);
    }
    std::string shown;
    if (IsShownNumber(cell.text, shown)) {
        return shown;
    }
    return JsonNumber(cell.value.AsDouble());
}

} // namespace

bool ParseDataFormat(std::string_view name, DataFormat& format) {
    if (name == "tsv") {
        format = DataFormat::Tsv;
    } else if (name == "csv") {
        format = DataFormat::Csv;
    } else if (name == "json") {
        format = DataFormat::Json;
    } else {
        return false;
    }
    return true;
}

std::string ToCsv(const DataTable& table) {
    std::string out;
    auto line = [&out](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            out += (i ? "," : "") + CsvField(fields[i]);
        }
        out += "\r\n";
    };
    line(table.columns);
    for (const auto& row : table.rows) {
        std::vector<std::string> fields;
        fields.reserve(row.size());
        for (const DataCell& cell : row) {
            fields.push_back(cell.text);
        }
        line(fields);
    }
    return out;
}

std::string ToJson(const DataTable& table) {
    std::string out = "{\n  \"title\": " + JsonString(table.title) +
                      ",\n  \"caption\": " + JsonString(table.caption) + ",\n  \"columns\": [";
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        out += (i ? ", " : "") + JsonString(table.columns[i]);
    }
    out += "],\n  \"rows\": [";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        out += r ? ",\n    [" : "\n    [";
        for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
            out += (c ? ", " : "") + JsonCell(table.rows[r][c]);
        }
        out += "]";
    }
    out += table.rows.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

DataTable ReportData(const ReportTable& report, const std::string& title,
                     const std::string& caption) {
    DataTable data;
    data.title = title;
    data.caption = caption;
    const std::vector<std::size_t> visible = report.VisibleColumns();
    for (std::size_t c : visible) {
        data.columns.push_back(report.columns[c].caption);
    }
    for (std::size_t r = 0; r < report.RowCount(); ++r) {
        std::vector<DataCell> row;
        for (std::size_t c : visible) {
            row.push_back({report.texts[r][c], report.values[r][c]});
        }
        data.rows.push_back(std::move(row));
    }
    return data;
}

DataTable RaceListData(Database& league) {
    DataTable data;
    data.columns = {"RaceID", "Race", "Laps", "Miles", "Standings File"};
    auto number = [](const std::string& text) {
        const std::optional<std::int32_t> n = StrictInteger(text);
        return n ? Value(*n) : Value();
    };
    for (const RaceListRow& race : ReadRaceList(league)) {
        data.rows.push_back({{std::to_string(race.raceId), Value(race.raceId)},
                             {race.name, Value(race.name)},
                             {race.laps, number(race.laps)},
                             {race.miles, number(race.miles)},
                             {race.fileName, Value(race.fileName)}});
    }
    return data;
}

} // namespace scorewell
