#pragma once

#include <functional>

#include "data/League.h"

namespace scorewell {

// Rescores every race of the league (in RaceID order) in one transaction.
void RecalculateAllRaces(League& league,
                         const std::function<void(int done, int total)>& progress = {});

// Removes the results of every excluded driver from every race and rescores every race, so start
// and finishing positions close up without them. One transaction; since nothing asks before this
// removal, the league as it was is kept beside it (LEAGUE.slf.bak) when results were removed.
// Gives the number of results removed.
int RemoveExcludedResults(League& league);

} // namespace scorewell
