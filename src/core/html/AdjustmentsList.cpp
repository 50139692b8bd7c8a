#include "html/AdjustmentsList.h"

#include <set>

#include "common/Formatting.h"
#include "common/Text.h"
#include "data/Drivers.h"
#include "html/ModernStyle.h"

namespace scorewell {

namespace {

std::string Color(std::int32_t color) {
    return "#" + HTMLColor(color);
}

int FieldColumn(const ReportTable& table, std::string_view field) {
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (EqualsNoCase(table.columns[i].field, field)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

std::string AdjustmentsListHtml(const std::vector<AdjustmentRow>& rows, const PageStyle& s,
                                bool withRace) {
    if (rows.empty()) {
        return {};
    }
    const std::string size = s.fontSize > 0 ? " SIZE=\"" + std::to_string(s.fontSize) + "\"" : "";
    const auto& tc = s.tableColors;
    const auto& utc = s.useTableColors;
    std::string html;
    auto line = [&html](const std::string& text) {
        html += text + "\r\n";
    };

    std::string table = "<TABLE BORDER=" + std::to_string(s.layout[0]) +
                        " CELLPADDING=" + std::to_string(s.layout[1]) +
                        " CELLSPACING=" + std::to_string(s.layout[2]);
    if (utc[3]) {
        table +=
            " BORDERCOLORDARK=\"" + Color(tc[7]) + "\" BORDERCOLORLIGHT=\"" + Color(tc[6]) + "\"";
    }
    if (utc[4]) {
        table += " BGCOLOR=\"" + Color(tc[8]) + "\"";
    }
    line("<p></p><CENTER><H3><FONT COLOR=\"" + Color(s.captionColor) +
         "\">Penalties and Adjustments</FONT></H3>" + table + "><TR>");

    struct Column {
        const char* caption;
        const char* align;
    };
    std::vector<Column> columns = {
        {"Driver", "LEFT"}, {"Race", "LEFT"}, {"Points", "CENTER"}, {"Reason", "LEFT"}};
    if (!withRace) {
        columns.erase(columns.begin() + 1);
    }
    for (const Column& c : columns) {
        line(utc[0] ? "<TH ALIGN=\"" + std::string(c.align) + "\" BGCOLOR=\"" + Color(tc[1]) +
                          "\"><FONT COLOR=\"" + Color(tc[0]) + "\"" + size + ">" + c.caption +
                          "</FONT></TH>"
                    : "<TH ALIGN=\"" + std::string(c.align) + "\"><FONT " + size + ">" + c.caption +
                          "</FONT></TH>");
    }
    line("</TR>");

    for (std::size_t r = 0; r < rows.size(); ++r) {
        const AdjustmentRow& row = rows[r];
        const bool alternate = utc[2] && r % 2 == 1;
        const std::string rowFG = Color(alternate ? tc[4] : tc[2]);
        const std::string rowBG = Color(alternate ? tc[5] : tc[3]);
        std::vector<std::string> cells = {EscapeHTML(row.driver), EscapeHTML(row.race),
                                          SignedPoints(row.points), EscapeHTML(row.reason)};
        if (!withRace) {
            cells.erase(cells.begin() + 1);
        }
        line("<TR>");
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string align = columns[c].align;
            line(utc[1] ? "<TD BGCOLOR=\"" + rowBG + "\" ALIGN=\"" + align + "\"><FONT COLOR=\"" +
                              rowFG + "\"" + size + ">" + cells[c] + "</FONT></TD>"
                        : "<TD ALIGN=\"" + align + "\"><FONT " + size + ">" + cells[c] +
                              "</FONT></TD>");
        }
        line("</TR>");
    }
    line("</TABLE></CENTER>");
    return html;
}

std::string ModernAdjustmentsHtml(const std::vector<AdjustmentRow>& rows, bool withRace) {
    if (rows.empty()) {
        return {};
    }
    ModernTable t;
    t.captions = {"Driver", "Race", "Points", "Reason"};
    t.centred = {false, false, true, false};
    for (const AdjustmentRow& row : rows) {
        t.cells.push_back({EscapeHTML(row.driver), EscapeHTML(row.race), SignedPoints(row.points),
                           EscapeHTML(row.reason)});
    }
    if (!withRace) {
        t.captions.erase(t.captions.begin() + 1);
        t.centred.erase(t.centred.begin() + 1);
        for (auto& cells : t.cells) {
            cells.erase(cells.begin() + 1);
        }
    }
    return "<h3>Penalties and Adjustments</h3>\r\n" + ModernTableHtml(t);
}

std::vector<AdjustmentRow> ReportAdjustments(Database& league, const ReportTable& table) {
    if (FieldColumn(table, "Adj") < 0) {
        return {};
    }
    const int driverColumn = FieldColumn(table, "Driver");
    std::set<std::string> shown;
    if (driverColumn >= 0) {
        for (const auto& row : table.values) {
            shown.insert(DriverNameKey(row[static_cast<std::size_t>(driverColumn)].AsText()));
        }
    }
    std::vector<AdjustmentRow> listed;
    for (AdjustmentRow& row : ReadAdjustments(league)) {
        const bool onPage =
            driverColumn >= 0 ? shown.count(DriverNameKey(row.driver)) > 0 : !row.driverExcluded;
        if (onPage) {
            listed.push_back(std::move(row));
        }
    }
    return listed;
}

} // namespace scorewell
