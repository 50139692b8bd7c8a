#include "html/ModernPages.h"

#include "html/CExport.h"
#include "html/ModernStyle.h"

namespace scorewell {

namespace {

constexpr int kCentred = 4;

} // namespace

std::string ModernReportBody(const ReportTable& table) {
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
    return ModernTableHtml(t);
}

std::string ModernRaceBody(const RaceResultsTable& results) {
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
    return body + "</table>\r\n";
}

} // namespace scorewell
