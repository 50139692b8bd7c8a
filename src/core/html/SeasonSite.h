#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/League.h"

namespace scorewell {

// What a publish did: the files it wrote and the files of an earlier publish it removed, by
// name within the folder.
struct SitePublished {
    std::vector<std::string> written;
    std::vector<std::string> removed;
    std::string index; // the full path of index.htm
};

// Called after each file with the files done and the files in all.
using SiteProgress = std::function<void(int done, int total)>;

// The name of the list in which a publish records the files it wrote.
inline constexpr const char* kSiteManifest = "scorewell-site.txt";

// Publishes the whole season as a static site in folder (made when missing), every file directly
// in it: index.htm, a page per report and per race, the season grid, the points chart, and the
// first report as standings.csv and standings.json. Pages are in the "Modern" style with the
// league's page heading and font, and link back to the index. Dropped results are marked first,
// as the standings window does. Each file replaces the old one only when completely written.
// Files an earlier publish wrote (its manifest) that this one did not are removed; nothing else
// in the folder is touched. Throws ScorewellError naming the file when one cannot be written;
// the files written before it stay, and nothing is removed then.
SitePublished PublishSeason(League& league, const std::string& folder,
                            const SiteProgress& progress = {});

// A file name made of the number and the name: "race-12-daytona-500.htm". Only lower-case ASCII
// letters, digits and single hyphens, at most 60 characters.
std::string SitePageName(const std::string& kind, std::int32_t number, const std::string& name);

} // namespace scorewell
