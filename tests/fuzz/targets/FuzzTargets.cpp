#include "FuzzTargets.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "import/HTMLParser.h"
#include "import/RaceFinal.h"

namespace scorewell::fuzz {

namespace {

// A league made once per process in a folder of its own, removed at exit. Every input is staged
// inside a transaction that is rolled back, so the league stays as it was made.
class ScratchLeague {
public:
    ScratchLeague() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "scorewell-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("cannot create a folder for the scratch league");
        }
        folder_ = pattern;
        program_ = std::make_unique<Program>(folder_ + "/prog");
        const std::string path = folder_ + "/fuzz.slf";
        CreateLeagueFile(path, 0, 0, program_->Db(), 0, 0);
        league_ = std::make_unique<League>(*program_, path);
        // Nothing here has to survive a crash; the inputs run many times faster without syncs.
        league_->Db().Execute("PRAGMA synchronous=OFF");
        league_->Db().Execute("PRAGMA journal_mode=MEMORY");
        table_ = league_->LoadPointTable();
    }
    ~ScratchLeague() {
        league_.reset();
        program_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    League& Get() { return *league_; }
    const PointTable& Table() const { return table_; }

private:
    std::string folder_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<League> league_;
    PointTable table_;
};

CTracks MakeTracks() {
    CTracks tracks;
    tracks.Add("Millbrook Speedway", 2.5f, "Millbrook Speedway");
    tracks.Add("Harbor Point", 1.5f, "Harbor Point");
    tracks.Add("Short Track", 0.25f, "Short Track");
    return tracks;
}

} // namespace

int RaceFinal(const std::uint8_t* data, std::size_t size) {
    static ScratchLeague scratch;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    League& league = scratch.Get();
    for (int simType = 0; simType < 3; ++simType) {
        Transaction t(league.Db());
        StagingResult result = ImportSTNBytes(league, scratch.Table(), "fuzz.stn", bytes,
                                              static_cast<Simulation>(simType),
                                              static_cast<LapReportingMethod>(size % 2));
        if (result.Staged() == !result.message.empty()) {
            std::abort(); // a file is either staged or refused with a message
        }
    }
    return 0;
}

int ExportedStandings(const std::uint8_t* data, std::size_t size) {
    static const CTracks tracks = MakeTracks();
    CHTMLParser parser;
    parser.InputFile = "fuzz.html";
    parser.TrackList = &tracks;
    const bool read =
        parser.ExecuteBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    if (read == !parser.ErrMsg().empty()) {
        std::abort(); // a page is either read or refused with a message
    }
    return 0;
}

} // namespace scorewell::fuzz
