#pragma once

// The result editor's use cases: recalculating an edited race, and the texts its labels and grid
// show of a race and its results.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/Domain.h"
#include "data/League.h"
#include "data/RaceResults.h"

namespace scorewell {

// Recalculates the race's points and bonuses; ScorewellError when it could not be done, and the
// race is then as it was.
void RecalculateEditedRace(League& league, RaceSource source, std::int32_t raceId);

// What the editor's labels show of a race. An off-line race shows "---" for the statistics that
// the merge of several files cannot keep.
struct RaceLabels {
    std::string caption;
    std::string trackName;
    std::string trackLength;
    std::string laps;
    std::string raceTime;
    std::string avgSpeed;
    std::string margin;
    std::string cautions;
    std::string leadChanges;
    std::string weather;
};
RaceLabels RaceLabelTexts(const RaceSummary& race, bool offline, std::string_view decimalSeparator);

// The cells of a result's grid row: Finish, Start, Driver, Laps, Led, Points, Bonus, Avg Speed,
// Qualify, Reason Out, Excluded. Speeds show as the lap reporting method says, on a track of
// trackLength miles.
inline constexpr int kResultColumns = 11;
std::array<std::string, kResultColumns> ResultCells(const ResultLine& line, float trackLength,
                                                    LapReportingMethod lapReportingMethod,
                                                    std::string_view decimalSeparator);

} // namespace scorewell
