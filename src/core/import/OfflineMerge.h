#pragma once

#include <cstdint>
#include <string>

#include "data/League.h"
#include "data/Settings.h"
#include "import/StagedImport.h"

namespace scorewell {

// The refusal of a merge that finds no driver who is in one file only.
inline constexpr const char* kNoUniqueDrivers =
    "There are no unique drivers!  All duplicate drivers\nare assumed to be AI drivers and are "
    "ignored!";

// What a merge made: the race and how many drivers it holds; merged is false, and nothing was
// changed, when no driver is in one file only.
struct MergeOutcome {
    bool merged = false;
    std::int32_t raceId = 0;
    int drivers = 0;
    std::string raceName;
};

// Merges every staged race of an off-line league into one race, as one action. The members race
// the same event against the same computer cars, each sending his own file: a driver whose name
// (compared as the league compares names) is in more than one file is taken for a computer car
// and left out. The others start in order of qualifying speed and finish in the order of the
// league's rank criteria; they score by the point table (NASCAR Legends without the league's own
// point system: the scale of the first staged race), then the bonus rules run once on the merged
// field. The race takes name, length, laps and weather from the first staged race, with the file
// name "Merged"; each driver keeps his own file's average speed.
//
// Ties: equal qualifying speeds start in order of start position in their own files, then of
// the files as staged, then of their lines; results equal on every criterion finish in order of
// finishing position in their own files, then of the files, then of their lines. Positions
// beyond the point table score 0 and no prize money; with no rank criteria at all, that
// tie-break is the whole order.
//
// progress counts three passes over the merged field (start order, finishing order, copy).
// Throws ScorewellError (a staged result that cannot be imported, a rank criterion or bonus rule
// that cannot run, the league refusing); the league is as it was then. The staged rows hold the
// merged race afterwards, until the staging area is next cleared.
MergeOutcome MergeStagedRaces(League& league, const PointTable& pointTable,
                              const ImportProgress& progress = {});

} // namespace scorewell
