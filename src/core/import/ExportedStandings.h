#pragma once

#include <string>

#include "data/League.h"
#include "data/Settings.h"
#include "import/StagedImport.h"

namespace scorewell {

// Stages one NASCAR Racing 4 exported-standings page: the race and one result per counted driver
// (excluded drivers take no position), scored with the point table and the bonus rules. The
// tracks come from the program's catalogue of the NASCAR Racing 4 folder. A page that cannot be
// read or staged leaves nothing staged and gives the message to show.
StagingResult ImportExportedStandings(League& league, const PointTable& table,
                                      const std::string& fileName);

} // namespace scorewell
