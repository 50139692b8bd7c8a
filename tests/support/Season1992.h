#pragma once

// The 1992 NASCAR Winston Cup season of tests/fixtures/cup1992, written as race finals of
// NASCAR Racing 3: real results for tests that import and score a whole season.

#include <map>
#include <string>
#include <vector>

namespace scorewell::test {

using CsvRow = std::map<std::string, std::string>;

// The rows of a CSV file of the fixtures folder, by header name.
std::vector<CsvRow> ReadFixtureCsv(const std::string& relativePath);

struct Season1992 {
    // One race final per race, in race order.
    std::vector<std::string> files;
    // The results written, race by race in finishing order (cars that never started left out).
    std::map<int, std::vector<CsvRow>> results;
    // Cars that never took the start, by driver: officially worth nothing, so not written.
    std::map<std::string, int> notStarted;
    std::vector<CsvRow> standings;
};

// Writes the season's race finals into folder. No qualifying is known and no points are
// printed: the league scores the season itself.
Season1992 WriteSeason1992(const std::string& folder);

} // namespace scorewell::test
