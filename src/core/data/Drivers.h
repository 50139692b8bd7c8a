#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/Database.h"

namespace scorewell {

struct DriverRow {
    std::int32_t driverId = 0;
    std::string name;
    bool exclude = false;
    bool rookie = false;
    std::int32_t handicap = 0;
};

// The league's drivers by name.
std::vector<DriverRow> ListDrivers(Database& league);

// The drivers whose name matches (the league compares names without regard to letter case).
std::vector<std::int32_t> FindDriversByName(Database& league, std::string_view name);

// Sets the Exclude flag of the drivers of these names, all in one transaction. Throws
// ScorewellError naming the first name the league does not know; nothing is changed then.
void SetDriversExcluded(Database& league, const std::vector<std::string>& names, bool exclude);

} // namespace scorewell
