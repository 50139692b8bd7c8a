#pragma once

#include <string>

#include "data/Database.h"
#include "data/League.h"

namespace scorewell {

// True when another program holds the league file (has it open), so it must not be replaced.
bool DatabaseFileInUse(const std::string& path);

// True when both paths name the same file (letter case aside when either does not exist).
bool IsSameFile(const std::string& a, const std::string& b);

// Creates a new league file at fileName. An existing league there is replaced in one journaled
// step of the engine while it is held against other programs: a failure leaves it whole, and the
// file keeps its identity (a link stays a link, owner and mode stay). Any other existing file is
// replaced by a rename. Throws ScorewellError whose message says why in plain words.
void CreateNewLeagueFile(const std::string& fileName, int simTitle, int leagueType,
                         Database& programDb, int droppedRaces, int lapReportingMethod);

// The two properties of an open league that can be changed (settings 6 and 17), stored as one
// change and taken into the working settings.
void SaveLeagueProperties(League& league, int droppedRaces, LapReportingMethod lapReportingMethod);

} // namespace scorewell
