#include "data/SimulationFolders.h"

#include "common/Paths.h"
#include "common/Text.h"

namespace scorewell {

namespace {

struct SimulationProgram {
    const char* title;
    const char* executable;
    int setting;
};

constexpr SimulationProgram kSimulations[] = {
    {"NASCAR Racing 3", "NASCAR Racing 3.exe", ProgramSettingId::Nascar3Folder},
    {"NASCAR Legends", "NASCAR Legends.exe", ProgramSettingId::LegendsFolder},
    {"NASCAR Racing 4", "NASCAR Racing 4.exe", ProgramSettingId::Nascar4Folder},
};

const SimulationProgram& Of(int index) {
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

int SimulationFolderIndex(Simulation simulation) {
    switch (simulation) {
    case Simulation::NascarRacing4:
        return 2;
    case Simulation::NascarLegends:
        return 1;
    default:
        return 0;
    }
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
