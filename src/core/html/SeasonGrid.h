#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "data/Database.h"
#include "reports/ReportEngine.h"

namespace scorewell {

// The season as the grid and the chart show it: the races in the order they were run, the
// drivers in standings order, and what each driver did in each race.
struct Season {
    struct Race {
        std::int32_t raceId = 0;
        std::string name;
        std::string page; // the file of its page, may be empty
    };
    struct Driver {
        std::int32_t driverId = 0;
        std::string name;
        std::string points; // the total as the standings show it
    };
    struct Result {
        int finish = 0;
        bool running = true; // a Null status counts as running
        bool dropped = false;
        std::int64_t points = 0;
    };
    std::vector<Race> races;
    std::vector<Driver> drivers;
    std::map<std::pair<std::int32_t, std::int32_t>, Result> results; // (driver, race)

    const Result* Find(std::int32_t driverId, std::int32_t raceId) const;
};

// The season of the league, drivers in the order of the standings report (its "Driver" and
// "Points" columns); dropped results must be marked already. Throws ReportError when the report
// has no "Driver" column.
Season ReadSeason(Database& league, const ReportTable& standings);

// The grid: drivers down, races across, each cell the finishing position, with a legend of the
// marks (win, top 5, top 10, out of the race, dropped) and the total points at the end of each
// row; an empty cell where a driver did not race.
std::string SeasonGridHtml(const Season& season);

// Each driver's points after each race, counting results that are not dropped.
std::vector<std::int64_t> CumulativePoints(const Season& season, std::int32_t driverId);

// The chart of the first `lines` drivers' cumulative points as inline SVG: one labelled line per
// driver, race numbers across, points up.
std::string PointsChartSvg(const Season& season, std::size_t lines = 10);

} // namespace scorewell
