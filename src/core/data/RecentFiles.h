#pragma once

#include <array>
#include <string>

#include "data/Database.h"

namespace scorewell {

// The four most recently opened league files, most recent first, kept in the program database's
// settings 7 to 10. A free entry is the empty text.
class RecentFiles {
public:
    static constexpr int kCount = 4;
    static constexpr int kFirstSetting = 7;

    // Entries that are blank, missing or whose file is gone are left out; the others close ranks.
    void Load(Database& programDb);
    // The path becomes entry 0. A path already listed (letter case aside) moves up from its place;
    // a new one pushes the oldest entry out.
    void Add(const std::string& path);
    // All four entries, as one change of the program database.
    void Save(Database& programDb) const;

    const std::string& Entry(int index) const {
        return entries_.at(static_cast<std::size_t>(index));
    }
    // True when at least one entry is in use.
    bool Any() const;

private:
    std::array<std::string, kCount> entries_;
};

} // namespace scorewell
