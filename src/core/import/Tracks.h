#pragma once

#include <string>

#include "data/Program.h"
#include "data/Tracks.h"

namespace scorewell {

// Reads one track.ini and adds its track, keyed by its name. False, with nothing added, when the
// file cannot be read.
bool ReadTrackIni(CTracks& tracks, const std::string& path);

// The tracks of every sub-folder of <nr4Folder>/tracks that holds a track.ini. Folders are read
// in byte-wise order of their names, so the same installation gives the same catalogue anywhere.
CTracks LoadTrackCatalogue(const std::string& nr4Folder);

// The program's NASCAR Racing 4 track catalogue, read from the tracks of its NASCAR Racing 4
// folder on first need and kept for the run: a track installed later is seen after a restart.
const CTracks& TrackCatalogue(Program& program);

} // namespace scorewell
