#include "data/SimulationFolders.h"

#include "common/Paths.h"
#include "common/Text.h"

namespace scorewell {

namespace {

struct Simulation {
    const char* title;
    const char* executable;
    int setting;
};

constexpr Simulation kSimulations[] = {
    {"NASCAR Racing 3", "NASCAR Racing 3.exe", 0},
    {"NASCAR Legends", "NASCAR Legends.exe", 1},
    {"NASCAR Racing 4", "NASCAR Racing 4.exe", 12},
};

const Simulation& Of(int index) {
    return kSimulations[index >= 0 && index < 3 ? index : 0];
}

} // namespace

const char* SimulationTitle(int index) {
    return Of(index).title;
}
const char* SimulationExecutable(int index) {
    return Of(index).executable;
}
int SimulationFolderSetting(int index) {
    return Of(index).setting;
}

std::optional<std::string> CheckSimulationFolder(int index, std::string_view folder) {
    if (Trim(folder).empty()) {
        return std::nullopt;
    }
    if (!FindNoCase(folder, SimulationExecutable(index)).empty()) {
        return std::nullopt;
    }
    return "\"" + std::string(folder) + "\" does not seem to refer to a valid " +
           SimulationTitle(index) + " path.";
}

} // namespace scorewell
