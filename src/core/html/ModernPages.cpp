#include "html/ModernPages.h"

#include "common/Errors.h"
#include "html/AdjustmentsList.h"
#include "html/ModernStyle.h"
#include "html/PageWriter.h"

namespace scorewell {

namespace {

constexpr int kCentred = 4;

} // namespace

std::string ModernReportBody(Database& league, const ReportTable& table) {
    ModernTable t;
    t.numberCaption = "Pos";
    const std::vector<std::size_t> visible = table.VisibleColumns();
    for (std::size_t c : visible) {
        t.captions.push_back(table.columns[c].caption);
        t.centred.push_back(table.columns[c].alignment == kCentred);
    }
    for (const auto& row : table.texts) {
        std::vector<std::string> cells;
        for (std::size_t c : visible) {
            cells.push_back(EscapeHTML(row[c]));
        }
        t.cells.push_back(std::move(cells));
    }
    return ModernTableHtml(t) +
           ModernAdjustmentsHtml(ReportAdjustments(league, table), /*withRace=*/true);
}

std::string ModernRaceBody(Database& league, std::int32_t raceId, const RaceResultsTable& results) {
    ModernTable t;
    t.numberCaption = "Finish";
    t.captions = results.captions;
    t.centred = results.centred;
    for (const auto& row : results.rows) {
        std::vector<std::string> cells;
        for (const DataCell& cell : row) {
            cells.push_back(EscapeHTML(cell.text));
        }
        t.cells.push_back(std::move(cells));
    }
    std::string body = ModernTableHtml(t) + "<table class=\"summary\">\r\n";
    for (const auto& [label, value] : results.summary) {
        body += "<tr><th>" + label + "</th><td>" + EscapeHTML(value) + "</td></tr>\r\n";
    }
    return body + "</table>\r\n" +
           ModernAdjustmentsHtml(ReadAdjustments(league, raceId), /*withRace=*/false);
}

std::string ModernExportPage(Database& league, Database& programDb, const ModernExport& request) {
    ModernPage page;
    page.heading = request.heading;
    page.reportName = request.reportName;
    page.caption = request.caption;
    page.footer = request.footer;
    page.font = request.font;
    if (request.exportType == 0) {
        const ReportDefinition report = LoadReportDefinition(programDb, request.id);
        if (report.columns.empty()) {
            throw ScorewellError("the report \"" + report.name + "\" has no columns");
        }
        page.body = ModernReportBody(league, RunReport(league, report, request.decimalSeparator));
    } else if (request.exportType == 1) {
        page.body = ModernRaceBody(league, request.id,
                                   ReadRaceResults(league, request.id, request.decimalSeparator));
    } else {
        throw ScorewellError("there is no export type " + std::to_string(request.exportType));
    }
    return ModernDocument(page);
}

} // namespace scorewell
