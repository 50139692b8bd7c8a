#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/Database.h"
#include "reports/DataTable.h"

namespace scorewell {

// The full result of one race as its page shows it: a column per result field, a row per
// driver in finishing order, and the race's summary.
struct RaceResultsTable {
    std::vector<std::string> captions; // without the finishing position
    std::vector<bool> centred;
    std::vector<std::vector<DataCell>> rows;
    // Label and text ("n/a" when unknown) of the race time, average speed, margin of victory,
    // cautions, lead changes and weather.
    std::vector<std::pair<std::string, std::string>> summary;
};

// The race's results: "Start", "Driver", "Laps", "Led", "Points", "Bonus", ("Avg Speed" in an
// off-line league), "Qualify" (a speed or a lap time by the league's lap reporting method),
// "Reason Out". Throws ScorewellError when there is no such race.
RaceResultsTable ReadRaceResults(Database& league, std::int32_t raceId,
                                 const std::string& decimalSeparator);

// The results as data, with the finishing position first ("Finish").
DataTable RaceResultsData(const RaceResultsTable& results, const std::string& title,
                          const std::string& caption);

} // namespace scorewell
