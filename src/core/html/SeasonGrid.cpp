#include "html/SeasonGrid.h"

#include "common/Text.h"
#include "html/PageWriter.h"
#include "html/ModernStyle.h"

namespace scorewell {

const Season::Result* Season::Find(std::int32_t driverId, std::int32_t raceId) const {
    auto it = results.find({driverId, raceId});
    return it == results.end() ? nullptr : &it->second;
}

Season ReadSeason(Database& league, const ReportTable& standings) {
    Season season;
    for (Cursor race = league.Query("SELECT RaceID, Name FROM Race ORDER BY RaceID"); !race.AtEnd();
         race.MoveNext()) {
        season.races.push_back(
            {static_cast<std::int32_t>(race.Field(0).AsInteger()), race.Field(1).AsText(), {}});
    }
    std::map<std::string, std::int32_t> ids;
    for (Cursor driver = league.Query("SELECT DriverID, Name FROM Driver"); !driver.AtEnd();
         driver.MoveNext()) {
        ids[driver.Field(1).AsText()] = static_cast<std::int32_t>(driver.Field(0).AsInteger());
    }
    std::optional<std::size_t> name;
    std::optional<std::size_t> points;
    for (std::size_t c = 0; c < standings.columns.size(); ++c) {
        if (standings.columns[c].field == "Driver") {
            name = c;
        } else if (standings.columns[c].field == "Points") {
            points = c;
        }
    }
    if (!name) {
        throw ReportError("The standings report has no \"Driver\" column to order the season by.");
    }
    for (std::size_t r = 0; r < standings.RowCount(); ++r) {
        auto it = ids.find(standings.values[r][*name].AsText());
        if (it != ids.end()) {
            season.drivers.push_back(
                {it->second, it->first, points ? standings.texts[r][*points] : std::string()});
        }
    }
    for (Cursor result = league.Query("SELECT DriverID, RaceID, Finish, Status, Dropped, Points "
                                      "FROM Stats ORDER BY StatsID");
         !result.AtEnd(); result.MoveNext()) {
        Season::Result r;
        r.finish = static_cast<int>(result.Field(2).AsInteger());
        const Value status = result.Field(3);
        r.running = status.IsNull() || EqualsNoCase(Trim(status.AsText()), "Running");
        r.dropped = result.Field(4).AsBool();
        r.points = result.Field(5).AsInteger();
        season.results.emplace(
            std::make_pair(static_cast<std::int32_t>(result.Field(0).AsInteger()),
                           static_cast<std::int32_t>(result.Field(1).AsInteger())),
            r);
    }
    return season;
}

namespace {

std::string CellClass(const Season::Result& r) {
    std::string classes;
    auto add = [&classes](const char* name) {
        classes += (classes.empty() ? "" : " ") + std::string(name);
    };
    if (r.finish == 1) {
        add("win");
    } else if (r.finish >= 2 && r.finish <= 5) {
        add("top5");
    } else if (r.finish >= 6 && r.finish <= 10) {
        add("top10");
    }
    if (!r.running) {
        add("out");
    }
    if (r.dropped) {
        add("dropped");
    }
    return classes;
}

} // namespace

std::string SeasonGridHtml(const Season& season) {
    std::string out = "<ul class=\"legend\">"
                      "<li><span class=\"mark win\">1</span> win</li>"
                      "<li><span class=\"mark top5\">5</span> top 5</li>"
                      "<li><span class=\"mark top10\">10</span> top 10</li>"
                      "<li><span class=\"mark out\">30</span> out of the race</li>"
                      "<li><span class=\"mark dropped\">25</span> dropped, does not count</li>"
                      "<li><span class=\"mark\">&nbsp;</span> did not race</li></ul>\r\n";
    ModernTable table;
    table.tableClass = "grid";
    table.numberCaption = "Pos";
    table.captions.push_back("Driver");
    table.centred.push_back(false);
    for (std::size_t i = 0; i < season.races.size(); ++i) {
        const Season::Race& race = season.races[i];
        const std::string number = std::to_string(i + 1);
        const std::string title = " title=\"" + EscapeHTML(race.name) + "\"";
        table.captions.push_back(race.page.empty() ? "<span" + title + ">" + number + "</span>"
                                                   : "<a href=\"" + race.page + "\"" + title + ">" +
                                                         number + "</a>");
        table.centred.push_back(true);
    }
    table.captions.push_back("Points");
    table.centred.push_back(true);
    for (const Season::Driver& driver : season.drivers) {
        std::vector<std::string> row{EscapeHTML(driver.name)};
        for (const Season::Race& race : season.races) {
            const Season::Result* r = season.Find(driver.driverId, race.raceId);
            if (!r) {
                row.emplace_back();
                continue;
            }
            const std::string classes = CellClass(*r);
            row.push_back((classes.empty() ? "" : "<span class=\"" + classes + "\">") +
                          std::to_string(r->finish) + (classes.empty() ? "" : "</span>"));
        }
        row.push_back(EscapeHTML(driver.points));
        table.cells.push_back(std::move(row));
    }
    return out + ModernTableHtml(table);
}

std::vector<std::int64_t> CumulativePoints(const Season& season, std::int32_t driverId) {
    std::vector<std::int64_t> points;
    std::int64_t sum = 0;
    for (const Season::Race& race : season.races) {
        const Season::Result* r = season.Find(driverId, race.raceId);
        if (r && !r->dropped) {
            sum += r->points;
        }
        points.push_back(sum);
    }
    return points;
}

} // namespace scorewell
