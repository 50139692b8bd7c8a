#include "support/Seasons.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "common/Paths.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "editing/PointSystem.h"
#include "import/RaceFinal.h"
#include "import/StagedImport.h"
#include "support/TempDir.h"

namespace scorewell::test {

std::vector<CsvRow> ReadCup1992(const std::string& name) {
    std::ifstream in(std::string(SCOREWELL_FIXTURES_DIR) + "/cup1992/" + name);
    // Lines end in CR LF in some of the files.
    auto fields = [](std::string line) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return CsvFields(line);
    };
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> header = fields(line);
    std::vector<CsvRow> rows;
    while (std::getline(in, line)) {
        const std::vector<std::string> values = fields(line);
        CsvRow& row = rows.emplace_back();
        for (std::size_t i = 0; i < header.size() && i < values.size(); ++i) {
            row[header[i]] = values[i];
        }
    }
    return rows;
}

std::vector<RaceFinalRace> Cup1992Races() {
    std::vector<CsvRow> results = ReadCup1992("results.csv");
    std::stable_sort(results.begin(), results.end(), [](const CsvRow& a, const CsvRow& b) {
        return std::stoi(a.at("finish")) < std::stoi(b.at("finish"));
    });
    std::vector<RaceFinalRace> races;
    for (const CsvRow& r : ReadCup1992("races.csv")) {
        RaceFinalRace& race = races.emplace_back();
        race.name = r.at("race_name");
        race.track = r.at("track");
        race.length = std::stod(r.at("track_length_miles"));
        race.laps = std::stoi(r.at("scheduled_laps"));
        for (const CsvRow& result : results) {
            if (result.at("race_no") == r.at("race_no") && result.at("status") != "did not start") {
                race.cars.push_back({std::stoi(result.at("start")), result.at("car"),
                                     result.at("driver"), std::stoi(result.at("laps")),
                                     std::stoi(result.at("laps_led")), 0, "", result.at("status")});
            }
        }
    }
    return races;
}

void MakeSeasonLeague(Program& program, const std::string& leaguePath, const std::string& folder,
                      const std::vector<RaceFinalRace>& races) {
    CreateLeagueFile(leaguePath, 0, 0, program.Db(), 0, 0);
    League league(program, leaguePath);
    Transaction transaction(league.Db());
    const PointTable table = league.LoadPointTable();
    for (std::size_t i = 0; i < races.size(); ++i) {
        const std::string file = folder + "/race" + std::to_string(i + 1) + ".stn";
        WriteRaceFinal(file, races[i]);
        const StagingResult staged = ImportSTNFile(league, table, file, Simulation::NascarRacing3,
                                                   LapReportingMethod::Speed);
        if (!staged.Staged()) {
            throw std::runtime_error(file + ": " + staged.message);
        }
    }
    ImportStagedRaces(league);
    transaction.Commit();
    league.Close();
}

void CopyCup1992League(const std::string& path) {
    static TempDir shared;
    static const bool made = [] {
        Program program(shared.File("prog"));
        std::filesystem::create_directory(shared.File("stn"));
        MakeSeasonLeague(program, shared.File("cup1992.slf"), shared.File("stn"), Cup1992Races());
        return true;
    }();
    (void)made;
    std::filesystem::copy_file(shared.File("cup1992.slf"), FileSystemPath(path));
}

} // namespace scorewell::test
