#pragma once

#include <cstdint>
#include <string_view>

#include "common/Value.h"
#include "data/Database.h"
#include "data/Drivers.h"
#include "data/League.h"
#include "data/Settings.h"

namespace scorewell {

// The scoring procedures work on one race, staged (STNRace/STNStats, key STNRaceID) while it is
// imported, or stored (Race/Stats, key RaceID) when it is edited or recalculated later.

// Which alternative scale (1, 2 or 3 points between neighbours) a race was scored with: the most
// frequent points difference between neighbours in points order; -1 when it is none of them.
int DetectPointGap(Database& league, std::int32_t raceKey, bool staging);

// Points and prize money of a finishing position with point-table column `column`: beyond the
// table 0 points and no prize money; prize money only with the league's own point system.
struct PositionScore {
    Value points;
    Value prizeMoney;
};
PositionScore ScorePosition(const PointTable& table, int position, int column,
                            bool useCustomPointSystem);

// Adds the bonus points of a race: the league's own rules when its bonus system is on, else the
// two built-in bonuses (none for NASCAR Legends). Adds to the values in place, so it runs once
// per scoring, after the points of the positions were set.
void ApplyBonusPoints(League& league, Simulation simTitle, std::int32_t raceKey, bool staging);

// Scores a race from scratch: start positions from qualifying, finishing positions 1, 2, 3 ...
// in their order, points and prize money from the point table, then the bonuses.
void RecalculateRace(League& league, std::int32_t raceKey, bool staging);

// A bonus rule or rank criterion that cannot run: names the rule and says why.
class RuleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace scorewell
