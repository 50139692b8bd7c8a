#include "data/RecentFiles.h"

#include "common/Errors.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/Settings.h"

namespace scorewell {

void RecentFiles::Load(Database& programDb) {
    entries_ = {};
    std::size_t next = 0;
    for (int i = 0; i < kCount; ++i) {
        std::string path = ReadSetting(programDb, kFirstSetting + i);
        if (path == kMissingSetting || Trim(path).empty() || !FileExists(path)) {
            continue;
        }
        entries_[next++] = std::move(path);
    }
}

void RecentFiles::Add(const std::string& path) {
    std::size_t from = entries_.size() - 1;
    for (std::size_t m = 0; m < entries_.size(); ++m) {
        if (EqualsNoCase(entries_[m], path)) {
            from = m;
            break;
        }
    }
    for (std::size_t i = from; i > 0; --i) {
        entries_[i] = entries_[i - 1];
    }
    entries_[0] = path;
}

void RecentFiles::Save(Database& programDb) const {
    Transaction t(programDb);
    for (int i = 0; i < kCount; ++i) {
        if (!WriteSetting(programDb, kFirstSetting + i, Entry(i))) {
            throw ScorewellError("The list of recent files could not be saved in the program "
                                 "database \"" +
                                 programDb.Path() + "\".");
        }
    }
    t.Commit();
}

bool RecentFiles::Any() const {
    for (const std::string& e : entries_) {
        if (!Trim(e).empty()) {
            return true;
        }
    }
    return false;
}

} // namespace scorewell
