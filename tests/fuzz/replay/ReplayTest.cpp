// Every input the fuzzers were seeded with or kept, and every input that ever crashed them, runs
// through the targets again: a fault once found stays found.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = SCOREWELL_SOURCE_DIR;
const fs::path kFuzz = kSource / "tests" / "fuzz";

// The files of the folders, and of the folders listed in SCOREWELL_FUZZ_EXTRA (colon-separated,
// for the corpus and crash files of a fuzzing run), whose names end with one of the extensions
// (any name when extensions is empty).
std::vector<fs::path> Inputs(std::vector<fs::path> folders, const std::string& extra,
                             const std::vector<std::string>& extensions) {
    if (const char* more = std::getenv("SCOREWELL_FUZZ_EXTRA")) {
        std::string list = more;
        for (std::size_t from = 0; from <= list.size();) {
            std::size_t to = list.find(':', from);
            to = to == std::string::npos ? list.size() : to;
            if (to > from) {
                folders.push_back(fs::path(list.substr(from, to - from)) / extra);
            }
            from = to + 1;
        }
    }
    std::vector<fs::path> files;
    for (const fs::path& folder : folders) {
        if (!fs::is_directory(folder)) {
            continue;
        }
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (!entry.is_regular_file() || entry.path().filename().string().starts_with(".")) {
                continue;
            }
            bool wanted = extensions.empty();
            for (const std::string& e : extensions) {
                wanted = wanted || entry.path().extension() == e;
            }
            if (wanted) {
                files.push_back(entry.path());
            }
        }
    }
    return files;
}

void Replay(const std::vector<fs::path>& files, int (*target)(const std::uint8_t*, std::size_t)) {
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const std::string bytes = test::ReadFileBytes(file.string());
        target(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::cout << "replayed " << files.size() << " inputs\n";
}

TEST(FuzzReplay, RaceFinalReaderTakesEveryKeptInput) {
    const auto seeds = Inputs(
        {kSource / "tests" / "fixtures" / "stn", kSource / "resources" / "demo"}, "", {".stn"});
    auto kept = Inputs({kFuzz / "corpus" / "race_final", kFuzz / "crashes" / "race_final"},
                       "race_final", {});
    kept.insert(kept.end(), seeds.begin(), seeds.end());
    Replay(kept, fuzz::RaceFinal);
}

TEST(FuzzReplay, ExportedStandingsParserTakesEveryKeptInput) {
    const auto seeds = Inputs({kSource / "tests" / "fixtures" / "nr4"}, "", {".html"});
    auto kept =
        Inputs({kFuzz / "corpus" / "exported_standings", kFuzz / "crashes" / "exported_standings"},
               "exported_standings", {});
    kept.insert(kept.end(), seeds.begin(), seeds.end());
    Replay(kept, fuzz::ExportedStandings);
}

} // namespace
} // namespace scorewell
