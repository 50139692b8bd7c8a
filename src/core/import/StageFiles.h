#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/League.h"
#include "data/Settings.h"
#include "import/StagedImport.h"

namespace scorewell {

// Told before a file is read (reading) and after (read), by its place in the list.
struct StageFilesProgress {
    std::function<void(std::size_t index)> reading;
    std::function<void(std::size_t index, const StagingResult& result)> read;
};

// Stages result files as one action, each by the reader of the league's simulation (NASCAR
// Racing 4: exported standings; otherwise race finals read with lapReportingMethod). A file
// that cannot be read, or whose race could not be imported (a result without a driver name),
// leaves nothing of itself staged and gives its message; the others stay staged. Throws
// ScorewellError when the league could not keep what was staged; nothing of this action is staged
// then.
std::vector<StagingResult> StageResultFiles(League& league, const PointTable& pointTable,
                                            const std::vector<std::string>& files,
                                            Simulation simType,
                                            LapReportingMethod lapReportingMethod,
                                            const StageFilesProgress& progress = {});

// Removes staged races and their staged results, all or none.
void RemoveStagedRaces(League& league, const std::vector<std::int32_t>& stnRaceIds);

// The title of the message for a file the reader of the simulation could not read.
std::string ReadFailureTitle(Simulation simType, const std::string& fileName);

} // namespace scorewell
