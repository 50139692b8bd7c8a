#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/Program.h"
#include "RaceFinalWriter.h"

namespace scorewell::bench {

// The shape of a made-up season. The same shape gives the same season on every machine.
struct SeasonShape {
    int races = 1000;
    int carsPerRace = 43;
    int drivers = 200;
    std::uint64_t seed = 1;
    int simType = 0;
    // The drivers' names; made up from a list of first and last names when empty.
    std::vector<std::string> driverNames;
};

// A season of fictional races at fictional tracks: every race draws its field from the drivers,
// with starts, laps, laps led, qualifying speeds, reasons out and statistics.
std::vector<RaceFinalRace> GenerateSeason(const SeasonShape& shape);

// The short season of twenty drivers shipped as the demo.
std::vector<RaceFinalRace> DemoSeason();

// A file name for a race: its number and its name ("03-cedar-valley-250.stn").
std::string RaceFileName(int number, const RaceFinalRace& race);

// Writes the races as race finals into folder; gives their paths in race order.
std::vector<std::string> WriteSeason(const std::string& folder,
                                     const std::vector<RaceFinalRace>& races);

// Creates a league at path (which must not exist) and imports the race finals into it as the
// import dialog does, a batch of files per transaction. Throws when a file is refused.
void BuildLeague(Program& program, const std::string& path, const std::vector<std::string>& files,
                 int simType, int batch = 100);

} // namespace scorewell::bench
