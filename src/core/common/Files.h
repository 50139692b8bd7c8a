#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace scorewell {

// True when the file starts as every SQLite database does: a league, a backup of one, the
// program database.
bool IsDatabaseFile(const std::string& path);

// Writes a whole file so that a failure leaves the previous file untouched: the bytes go into a
// temporary file beside it, flushed, then renamed over it; beforeReplace runs just before the
// rename (a league stores what belongs with the page there). A target that is not a regular file,
// that is one of the databases in use, or that is any SQLite database is refused before anything
// is written: a page never replaces a league. Throws ScorewellError for a refused target and
// std::system_error with the system's reason for a failed write.
void WriteFileSafely(const std::string& fileName, std::string_view bytes,
                     const std::function<void()>& beforeReplace = {},
                     const std::vector<std::string>& databasesInUse = {});

} // namespace scorewell
