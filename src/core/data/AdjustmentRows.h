#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/Database.h"

namespace scorewell {

// One point adjustment of the league as the lists show it.
struct AdjustmentRow {
    std::int32_t adjustmentId = 0;
    std::int32_t driverId = 0;
    std::string driver;
    std::optional<std::int32_t> raceId; // none: for the season as a whole
    std::string race;                   // the race's name (its file when it has none); empty
    std::int32_t points = 0;
    std::string reason;
    std::string entered; // YYYY-MM-DD
    bool driverExcluded = false;
};

// The league's adjustments in the order they were entered; with a race, only those tied to it.
std::vector<AdjustmentRow> ReadAdjustments(Database& league,
                                           std::optional<std::int32_t> raceId = std::nullopt);

// Points as the lists write them: "+10", "-25".
std::string SignedPoints(std::int32_t points);

} // namespace scorewell
