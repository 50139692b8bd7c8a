#include "support/Seasons.h"
#include "support/Season1992.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "import/RaceFinal.h"
#include "import/StagedImport.h"

namespace scorewell::test {

std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<CsvRow> ReadCup1992(const std::string& name) {
    return ReadFixtureCsv("cup1992/" + name);
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

std::vector<RaceFinalRace> Cup1992Races() {
    std::vector<CsvRow> results = ReadCup1992("results.csv");
    std::stable_sort(results.begin(), results.end(), [](const CsvRow& a, const CsvRow& b) {
        return std::stoi(a.at("finish")) < std::stoi(b.at("finish"));
    });
    std::vector<RaceFinalRace> races;
    for (const CsvRow& r : ReadCup1992("races.csv")) {
        RaceFinalRace race;
        race.name = r.at("race_name");
        race.track = r.at("track");
        race.length = std::stod(r.at("track_length_miles"));
        race.laps = std::stoi(r.at("scheduled_laps"));
        for (const CsvRow& result : results) {
            if (result.at("race_no") != r.at("race_no") || result.at("status") == "did not start") {
                continue;
            }
            race.cars.push_back({std::stoi(result.at("start")), result.at("car"),
                                 result.at("driver"), std::stoi(result.at("laps")),
                                 std::stoi(result.at("laps_led")), 0, "", result.at("status")});
        }
        races.push_back(std::move(race));
    }
    return races;
}

} // namespace scorewell::test
