#pragma once

#include <cstdint>
#include <vector>

#include "data/League.h"

namespace scorewell {

// Removes races as one action: their results go with them, the league as it was is kept as
// LEAGUE.slf.bak, and each driver's dropped results are marked again over the races left. A race
// id the league does not hold is refused (ScorewellError naming it) before anything changes;
// any failure leaves the league as it was.
void RemoveSeasonRaces(League& league, const std::vector<std::int32_t>& raceIds);

} // namespace scorewell
