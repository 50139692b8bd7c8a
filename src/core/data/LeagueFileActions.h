#pragma once

#include <string>

#include "data/Database.h"
#include "data/League.h"

namespace scorewell {

// True when another connection holds a lock on the database file: a program is writing to it or
// keeps a transaction open on it. Here an open file can always be deleted, so a held lock is how
// a league shows that another program is working on it; a file merely opened and left idle by
// another program does not count.
bool DatabaseFileInUse(const std::string& path);

// True when both paths name the same file (letter case aside when either does not exist).
bool IsSameFile(const std::string& a, const std::string& b);

// Creates a new league file at fileName, replacing a file of that name in one step: the league
// is built beside it and renamed over it, so a failure leaves an existing file exactly as it
// was. Throws ScorewellError whose message says why in plain words.
void CreateNewLeagueFile(const std::string& fileName, int simTitle, int leagueType,
                         Database& programDb, int droppedRaces, int lapReportingMethod);

// The two properties of an open league that can be changed (settings 6 and 17), stored as one
// change and taken into the working settings.
void SaveLeagueProperties(League& league, int droppedRaces, int lapReportingMethod);

} // namespace scorewell
