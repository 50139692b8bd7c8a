#include "reports/RaceTable.h"

#include "common/Domain.h"
#include "common/Errors.h"
#include "common/Format.h"
#include "common/Formatting.h"
#include "common/Numbers.h"
#include "data/Settings.h"

namespace scorewell {

namespace {

struct SummaryItem {
    const char* column;
    const char* label;
};

constexpr SummaryItem kSummary[] = {
    {"RaceTime", "Race time"},
    {"AvgSpeed", "Average speed"},
    {"VictoryMargin", "Margin of victory"},
    {"Cautions", "Caution flags"},
    {"LeadChanges", "Lead changes"},
    {"Weather", "Weather"},
};

struct Column {
    const char* caption;
    const char* field;
    const char* format;
};

constexpr Column kOnline[] = {
    {"Start", "Start", "##"},      {"Driver", "Name", ""},       {"Laps", "LapsRun", "####;;--"},
    {"Led", "LapsLed", ""},        {"Points", "Points", ""},     {"Bonus", "Bonus", ""},
    {"Qualify", "Qualifying", ""}, {"Reason Out", "Status", ""},
};
constexpr Column kOffline[] = {
    {"Start", "Start", "##"},
    {"Driver", "Name", ""},
    {"Laps", "LapsRun", "####;;--"},
    {"Led", "LapsLed", ""},
    {"Points", "Points", ""},
    {"Bonus", "Bonus", ""},
    {"Avg Speed", "AvgSpeed", "##0.000"},
    {"Qualify", "Qualifying", ""},
    {"Reason Out", "Status", ""},
};

} // namespace

RaceResultsTable ReadRaceResults(Database& league, std::int32_t raceId,
                                 const std::string& decimalSeparator) {
    RaceResultsTable table;
    float length = 0;
    {
        Cursor race = league.Query("SELECT * FROM Race WHERE RaceID=?", {Value(raceId)});
        if (race.AtEnd()) {
            throw ScorewellError("There is no race number " + std::to_string(raceId) + ".");
        }
        length = ToSingle(race.Field("Length").AsDouble());
        for (const SummaryItem& item : kSummary) {
            const Value value = race.Field(item.column);
            table.summary.emplace_back(item.label, value.IsNull() ? "n/a" : value.AsText());
        }
    }
    const bool offline = ReadSettingInteger(league, SettingId::LeagueType).value_or(0) !=
                         static_cast<int>(LeagueType::Online);
    const bool lapTimes = ReadSettingNumber(league, SettingId::LapReportingMethod) != 0;
    const std::vector<Column> columns =
        offline ? std::vector<Column>(std::begin(kOffline), std::end(kOffline))
                : std::vector<Column>(std::begin(kOnline), std::end(kOnline));
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        table.captions.push_back(columns[i].caption);
        // The driver and the reason out read as text; the numbers are centred.
        table.centred.push_back(i != 1 && i + 1 != columns.size());
        sql += std::string(i ? ", " : "") + (i == 1 ? "Driver." : "Stats.") + columns[i].field;
    }
    sql += " FROM Stats INNER JOIN Driver ON Driver.DriverID=Stats.DriverID WHERE RaceID=? "
           "ORDER BY Finish";
    for (Cursor results = league.Query(sql, {Value(raceId)}); !results.AtEnd();
         results.MoveNext()) {
        std::vector<DataCell> row;
        for (std::size_t j = 0; j < columns.size(); ++j) {
            const Value value = results.Field(static_cast<int>(j));
            std::string text;
            Value shown = value;
            if (std::string_view(columns[j].field) != "Qualifying") {
                text = FormatValue(value, columns[j].format, decimalSeparator);
            } else if (value.IsNull()) {
                text = "--";
            } else if (!lapTimes) {
                text = FormatValue(value, "##0.000 mph;;--", decimalSeparator);
            } else {
                const float seconds = ConvertSpeedTime(ToSingle(value.AsDouble()), length);
                text = FormatTime(seconds, decimalSeparator);
                shown = Value(seconds);
            }
            // Average speeds are stored as text, but they are numbers all the same.
            if (std::string_view(columns[j].field) == "AvgSpeed" && value.IsText()) {
                const std::optional<double> n = StrictNumber(value.Text());
                shown = n ? Value(*n) : Value();
            }
            row.push_back({std::move(text), std::move(shown)});
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

DataTable RaceResultsData(const RaceResultsTable& results, const std::string& title,
                          const std::string& caption) {
    DataTable data;
    data.title = title;
    data.caption = caption;
    data.columns.push_back("Finish");
    data.columns.insert(data.columns.end(), results.captions.begin(), results.captions.end());
    int finish = 0;
    for (const auto& row : results.rows) {
        ++finish;
        std::vector<DataCell> cells{{std::to_string(finish), Value(finish)}};
        cells.insert(cells.end(), row.begin(), row.end());
        data.rows.push_back(std::move(cells));
    }
    return data;
}

} // namespace scorewell
