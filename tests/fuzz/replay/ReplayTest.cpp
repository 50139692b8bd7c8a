// Every input the fuzzers were seeded with or kept, and every input that ever crashed them, runs
// through the targets again: a fault once found stays found.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = SCOREWELL_SOURCE_DIR;
const fs::path kFuzz = kSource / "tests" / "fuzz";

// The target's kept corpus and crash files, those of the folders in SCOREWELL_FUZZ_EXTRA
// (colon-separated, the output folders of a fuzzing run), and the seeds: the files of the seed
// folders with the extension.
std::vector<fs::path> Inputs(const std::string& target, const std::vector<fs::path>& seedFolders,
                             const std::string& seedExtension) {
    std::vector<std::pair<fs::path, std::string>> folders = {{kFuzz / "corpus" / target, ""},
                                                             {kFuzz / "crashes" / target, ""}};
    std::stringstream extra(
        std::getenv("SCOREWELL_FUZZ_EXTRA") ? std::getenv("SCOREWELL_FUZZ_EXTRA") : "");
    for (std::string folder; std::getline(extra, folder, ':');) {
        if (!folder.empty()) {
            folders.push_back({fs::path(folder) / target, ""});
        }
    }
    for (const fs::path& folder : seedFolders) {
        folders.push_back({folder, seedExtension});
    }
    std::vector<fs::path> files;
    for (const auto& [folder, extension] : folders) {
        for (const auto& entry :
             fs::is_directory(folder) ? fs::directory_iterator(folder) : fs::directory_iterator()) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && !name.starts_with(".") &&
                (extension.empty() || entry.path().extension() == extension)) {
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
    Replay(
        Inputs("race_final", {kSource / "tests/fixtures/stn", kSource / "resources/demo"}, ".stn"),
        fuzz::RaceFinal);
}

TEST(FuzzReplay, ExportedStandingsParserTakesEveryKeptInput) {
    Replay(Inputs("exported_standings", {kSource / "tests/fixtures/nr4"}, ".html"),
           fuzz::ExportedStandings);
}

} // namespace
} // namespace scorewell
