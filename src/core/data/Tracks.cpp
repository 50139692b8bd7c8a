#include "data/Tracks.h"

namespace scorewell {

CTrackInfo& CTracks::Add(std::string trackName, float length, std::string_view key) {
    if (CTrackInfo* existing = Find(key)) {
        return *existing;
    }
    return *Insert(CTrackInfo{length, std::move(trackName)}, key);
}

} // namespace scorewell
