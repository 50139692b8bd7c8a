#pragma once

// Whole seasons as leagues for tests: the real 1992 championship of tests/fixtures/cup1992, and
// small ones made up on the spot.

#include <map>
#include <string>
#include <vector>

#include "RaceFinalWriter.h"

namespace scorewell {
class Program;
}

namespace scorewell::test {

using CsvRow = std::map<std::string, std::string>;

// The rows of a file of the 1992 fixture (races.csv, results.csv, standings.csv), by header.
std::vector<CsvRow> ReadCup1992(const std::string& name);

// The 1992 season as race finals of NASCAR Racing 3 (cars in finishing order, those that never
// started left out: officially worth nothing). No qualifying is known and no points are printed.
std::vector<RaceFinalRace> Cup1992Races();

// Creates an on-line NASCAR Racing 3 league at leaguePath and imports the races as race finals
// written into folder, one race per entry, in order.
void MakeSeasonLeague(Program& program, const std::string& leaguePath, const std::string& folder,
                      const std::vector<RaceFinalRace>& races);

// Copies to path the 1992 season as such a league, made once for the whole test program.
void CopyCup1992League(const std::string& path);

} // namespace scorewell::test
