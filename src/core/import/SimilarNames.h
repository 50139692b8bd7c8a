#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/League.h"

namespace scorewell {

// A name new to the league that looks like a name it has (or like another new name of the same
// import): probably one driver written two ways.
struct SimilarName {
    std::string newName;
    std::string existingName;
    // The staged race that names the new driver first (SimilarStagedNames).
    std::int32_t stnRaceId = 0;
};

// The name reduced to what a typing slip leaves alike: lower case, without accents, blanks or
// punctuation ("Zoë Ødegård" and "zoe odegard" give "zoeodegard").
std::string NameSkeleton(std::string_view name);

// True when two different names probably mean one driver: their skeletons are equal; or both
// have 8 characters or more, the same numbers, and are at most 2 edits apart; or they share the
// surname and the first initial. Names that differ in a generational suffix (Jr., Sr., II, III)
// are two drivers, and so are names whose numbers differ ("Car 12", "Car 13").
bool NamesLookAlike(std::string_view a, std::string_view b);

// The names new to the league that look like a known one, each pair once, new names in order:
// compared with the known names and with the new names before them. Names are indexed, not
// compared pair by pair, so a file of thousands of drivers is checked at once.
std::vector<SimilarName> FindSimilarNames(const std::vector<std::string>& newNames,
                                          const std::vector<std::string>& knownNames);

// The names of the staged races (STNStats) that the league does not have yet and that look like
// one of its drivers or like another staged name.
std::vector<SimilarName> SimilarStagedNames(League& league);

} // namespace scorewell
