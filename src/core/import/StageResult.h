#pragma once

#include <cstdint>
#include <string>

namespace scorewell {

// What a reader made of one result file: the staged race, or the message to show when the file
// was refused (then nothing of it is staged).
struct StageResult {
    std::int32_t stnRaceId = 0;
    int drivers = 0;
    std::string title;
    std::string message;

    bool Staged() const { return stnRaceId > 0; }
};

} // namespace scorewell
