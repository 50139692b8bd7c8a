#pragma once

#include <map>
#include <string>
#include <vector>

namespace scorewell::test {

// What is wrong with a league file after a crash or a failed command, in words; empty when it
// opens with integrity_check "ok" and foreign_key_check empty, as every league must.
std::string LeagueProblems(const std::string& path);

// The key columns of every race, driver and result, one sorted line each: two leagues with the
// same text hold the same content.
std::string KeyColumns(const std::string& path);

// Frees about n pages of the league, as removing results would, so that closing it after the
// next change compacts it.
void FreePages(const std::string& path, long long n);

// The number of results of each race, by the race's file name (a file imported twice has two
// entries).
std::map<std::string, std::vector<int>> ResultsByRaceFile(const std::string& path);

// The name of the league's first driver.
std::string FirstDriver(const std::string& path);

// Every command of the command line that opens a league, with what it needs beyond the league
// (a page it writes goes into folder). Each writes to a sound league: the import takes a race
// the league may hold already again.
std::vector<std::vector<std::string>> LeagueCommands(const std::string& league,
                                                     const std::string& folder);

} // namespace scorewell::test
