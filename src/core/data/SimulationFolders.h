#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/Domain.h"

namespace scorewell {

// The simulations whose program folders the program knows: 0 NASCAR Racing 3, 1 NASCAR Legends,
// 2 NASCAR Racing 4 (the index of SimPath and of the Options dialog's folder boxes).
const char* SimulationTitle(int index);
const char* SimulationExecutable(int index);
// The program-database setting that holds the folder: 0, 1 and 12.
int SimulationFolderSetting(int index);
// The folder a league's simulation reads its files from: NASCAR Racing 2 / 1999 shares the
// folder of NASCAR Racing 3.
int SimulationFolderIndex(Simulation simulation);

// Checks a folder the way the Options dialog does: empty is accepted; otherwise the simulation's
// executable must be in it (its name matched without regard to letter case, since the folder
// comes from Windows). Gives the "Invalid Path" message when it is not.
std::optional<std::string> CheckSimulationFolder(int index, std::string_view folder);

} // namespace scorewell
