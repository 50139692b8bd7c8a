#include "reports/ReportEngine.h"

#include "common/Format.h"
#include "common/Numbers.h"
#include "common/Text.h"
#include "data/ConfinedSql.h"

namespace scorewell {

namespace {

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

} // namespace

std::vector<std::size_t> ReportTable::VisibleColumns() const {
    std::vector<std::size_t> visible;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!columns[i].hidden) {
            visible.push_back(i);
        }
    }
    return visible;
}

std::vector<ReportInfo> ListReports(Database& programDb) {
    std::vector<ReportInfo> reports;
    for (Cursor c =
             programDb.Query("SELECT ReportID, Name FROM Report ORDER BY Sequence, ReportID");
         !c.AtEnd(); c.MoveNext()) {
        reports.push_back({static_cast<std::int32_t>(c.Field(0).AsInteger()), c.Field(1).AsText()});
    }
    return reports;
}

std::optional<ReportInfo> FindReport(Database& programDb, std::string_view nameOrId) {
    const std::vector<ReportInfo> reports = ListReports(programDb);
    for (const ReportInfo& report : reports) {
        if (EqualsNoCase(report.name, nameOrId)) {
            return report;
        }
    }
    const std::string number = Trim(nameOrId);
    const bool digits = !number.empty() && number.size() <= 9 &&
                        number.find_first_not_of("0123456789") == std::string::npos;
    if (digits) {
        const auto id = static_cast<std::int32_t>(std::stol(number));
        for (const ReportInfo& report : reports) {
            if (report.id == id) {
                return report;
            }
        }
    }
    return std::nullopt;
}

ReportDefinition LoadReportDefinition(Database& programDb, std::int32_t reportId) {
    ReportDefinition report;
    report.id = reportId;
    {
        Cursor row =
            programDb.Query("SELECT Name, Query FROM Report WHERE ReportID = ?", {Value(reportId)});
        if (row.AtEnd()) {
            throw ReportError("There is no report number " + std::to_string(reportId) + ".");
        }
        report.name = row.Field(0).AsText();
        report.query = row.Field(1).AsText();
    }
    for (Cursor c = programDb.Query(
             "SELECT ReportFieldID, Name, ColWidth, ColAlignment, ColFormat, Hidden, Field "
             "FROM ReportField WHERE ReportID = ? ORDER BY Sequence, ReportFieldID",
             {Value(reportId)});
         !c.AtEnd(); c.MoveNext()) {
        ReportColumn column;
        column.reportFieldId = static_cast<std::int32_t>(c.Field(0).AsInteger());
        column.caption = c.Field(1).AsText();
        column.width = static_cast<std::int32_t>(c.Field(2).AsInteger());
        column.alignment = static_cast<int>(c.Field(3).AsInteger());
        column.format = c.Field(4).AsText();
        column.hidden = c.Field(5).AsBool();
        column.field = c.Field(6).AsText();
        report.columns.push_back(std::move(column));
    }
    return report;
}

ReportTable RunReport(Database& league, const ReportDefinition& report,
                      std::string_view decimalSeparator, std::chrono::milliseconds timeLimit) {
    ReportTable table;
    table.columns = report.columns;
    if (report.columns.empty()) {
        return table;
    }
    try {
        // Report queries are data that anybody may have edited: they run confined to reading
        // the league, within the time limit.
        ConfinedStatement query(league, "The report " + Quoted(report.name), report.query, {},
                                timeLimit);
        std::vector<int> source;
        for (const ReportColumn& column : report.columns) {
            const int index = query.Get().ColumnIndex(column.field);
            if (index < 0) {
                query.Fail("its query gives no column " + Quoted(column.field));
            }
            source.push_back(index);
        }
        while (query.Step()) {
            std::vector<Value> values;
            std::vector<std::string> texts;
            values.reserve(source.size());
            texts.reserve(source.size());
            for (std::size_t i = 0; i < source.size(); ++i) {
                values.push_back(query.Get().Column(source[i]));
                texts.push_back(
                    FormatValue(values.back(), report.columns[i].format, decimalSeparator));
            }
            table.values.push_back(std::move(values));
            table.texts.push_back(std::move(texts));
        }
    } catch (const ConfinedSqlError& e) {
        throw ReportError(e.what());
    }
    return table;
}

std::vector<std::vector<std::string>> VisibleTexts(const ReportTable& table) {
    const std::vector<std::size_t> visible = table.VisibleColumns();
    auto line = [&](auto cell) {
        std::vector<std::string> values;
        for (std::size_t c : visible) {
            values.push_back(cell(c));
        }
        return values;
    };
    std::vector<std::vector<std::string>> lines;
    lines.push_back(line([&](std::size_t c) { return table.columns[c].caption; }));
    for (const auto& row : table.texts) {
        lines.push_back(line([&](std::size_t c) { return row[c]; }));
    }
    return lines;
}

} // namespace scorewell
