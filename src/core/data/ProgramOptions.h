#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/Program.h"

namespace scorewell {

// The program-wide options of the Options dialog.
struct ProgramOptions {
    // NASCAR Racing 3, NASCAR Legends, NASCAR Racing 4 (settings 0, 1, 12).
    std::array<std::string, 3> simPath;
    bool openLastFile = false; // 11
    bool useBGImage = false;   // 100
    std::string bgImage;       // 101
    // Page background, text, hyperlink, visited and active hyperlink (102 to 106), 0x00BBGGRR.
    std::array<std::int32_t, 5> colors{};
};

// The colours a program database without them stands for: white page, black text, blue links,
// purple visited links, red active links.
inline constexpr std::array<std::int32_t, 5> kDefaultPageColors = {
    0x00FFFFFF, 0x00000000, 0x00FF0000, 0x00800080, 0x000000FF};

// The options as they stand: the simulation folders the program holds and the settings.
ProgramOptions LoadProgramOptions(Program& program);
// Stores every option as one change of the program database and makes the folders the
// program's own. Throws ScorewellError when the program database could not be written.
void StoreProgramOptions(Program& program, const ProgramOptions& options);

// The folder checks of the Options dialog, NASCAR Legends, then NASCAR Racing 3, then NASCAR
// Racing 4. A blank folder is not checked. The message for the last invalid folder, or the empty
// text when every folder given holds its simulation's executable.
std::string CheckSimulationFolders(const std::array<std::string, 3>& simPath);

} // namespace scorewell
