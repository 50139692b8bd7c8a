#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Domain.h"

namespace scorewell {

// Writes race finals as the simulations do, in the reader's columns: for tests, the demo season
// and the benchmarks. Texts are UTF-8 here and Windows-1252 in the file.

struct RaceFinalCar {
    int start = 0;
    std::string carNumber;
    std::string driver;
    int lapsRun = 0;
    int lapsLed = 0;
    int points = 0;         // as printed; only NASCAR Legends leagues keep them
    std::string qualifying; // as printed: a speed, a lap time, or empty
    std::string reasonOut;  // "Running", "Engine"...
};

struct RaceFinalRace {
    // NASCAR Racing 2 / 1999 has a layout of its own; the others share one.
    Simulation simType = Simulation::NascarRacing3;
    std::string name;
    std::string track;
    double length = 0; // miles
    int laps = 0;
    // Statistics as printed ("." as decimal point); an empty text or no number leaves the line
    // out.
    std::string raceTime;
    std::string avgSpeed;
    std::string victoryMargin;
    std::optional<int> cautions;
    std::optional<int> leadChanges;
    std::string weather;            // "°" is printed the way the simulation prints it
    std::vector<RaceFinalCar> cars; // in finishing order
};

// The file's bytes, with CR LF line ends. Throws std::invalid_argument when a number does not
// fit its column; names and reasons longer than theirs are cut, as the simulations cut them.
std::string RaceFinalText(const RaceFinalRace& race);

// Writes the file; throws std::runtime_error when it cannot be written.
void WriteRaceFinal(const std::string& path, const RaceFinalRace& race);

} // namespace scorewell
