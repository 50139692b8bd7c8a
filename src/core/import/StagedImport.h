#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "data/League.h"

namespace scorewell {

// What became of one result file handed to a reader: the staged race and its number of results,
// or, when nothing was staged, the message the user reads (the front end shows it).
struct StagingResult {
    std::int32_t stnRaceId = 0;
    int drivers = 0;
    std::string title;
    std::string message;

    bool Staged() const { return stnRaceId != 0; }
};

// The message for a result file whose name (without folder) has more characters than the size a
// race keeps of it.
std::string FileNameTooLong(std::string_view shortName, std::size_t size);

// Empties the staging area: the staged results go with their races.
void ClearStaging(League& league);

// Removes one staged race and its staged results.
void RemoveStagedRace(League& league, std::int32_t stnRaceId);

// Why a staged race cannot be imported, naming the result ("the result in position 3 has no
// driver name", or a driver listed twice in any letter case); nothing when it can be.
std::optional<std::string> StagedRaceProblem(League& league, std::int32_t stnRaceId);

// A race of the league that already holds what a staged race holds.
struct ImportedRace {
    std::int32_t raceId = 0;
    std::string name;
};

// The first race of the league with the staged race's name, length and laps and the same
// results: the same drivers (names compared by DriverNameKey), each with the same finish, start,
// laps run, laps led and status. Points, bonus and prize money are left out: a recalculation
// changes them. Nothing when the league holds no such race. One query.
std::optional<ImportedRace> FindImportedRace(League& league, std::int32_t stnRaceId);

// Told after each result copied: how many are done, out of how many.
using ImportProgress = std::function<void(int done, int total)>;

// Copies every staged race, in staging order, into Race and its staged results into Stats,
// finding or adding each driver by name. Points, bonus and prize money are copied as staged.
// Gives the number of races imported. All or nothing: on failure it throws ScorewellError and the
// league is as it was. The staged rows stay until the staging area is next cleared.
int ImportStagedRaces(League& league, const ImportProgress& progress = {});

} // namespace scorewell
