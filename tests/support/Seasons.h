#pragma once

// Whole seasons as leagues for tests: the real 1992 championship, and small ones made up on the
// spot.

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
// Fields separated by commas; a field in double quotes may hold commas and doubled quotes.
std::vector<std::string> CsvFields(const std::string& line);

// Creates an on-line NASCAR Racing 3 league at leaguePath and imports the races as race finals
// written into folder, one race per entry, in order.
void MakeSeasonLeague(Program& program, const std::string& leaguePath, const std::string& folder,
                      const std::vector<RaceFinalRace>& races);

// The 1992 season as race finals (cars in finishing order, the car that never started left out).
std::vector<RaceFinalRace> Cup1992Races();

} // namespace scorewell::test
