#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/Value.h"
#include "data/Database.h"

namespace scorewell {

// One race as the main window lists it: the cell texts and the hidden key.
struct RaceListRow {
    std::int32_t raceId = 0;
    std::string name;
    std::string laps;
    std::string miles;
    std::string fileName;
};

// The league's races in the table's stored order.
std::vector<RaceListRow> ReadRaceList(Database& league);

// Length × laps as a whole number, halves to the even neighbour (2.5 × 187 gives 468); the empty
// text when either is unknown.
std::string RaceMilesText(const Value& length, const Value& laps);

// Removes the races and, through the cascading relation, their results: all of them or, when any
// removal fails, none. A removal cannot be undone, so the league as it was is kept beside it
// (LEAGUE.slf.bak) when races were removed; when that copy cannot be written nothing is removed.
// alongside runs in the same transaction after the removal, for what must change with it.
void RemoveRaces(Database& league, const std::vector<std::int32_t>& raceIds,
                 const std::function<void()>& alongside = {});

} // namespace scorewell
