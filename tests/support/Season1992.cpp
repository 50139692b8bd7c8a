#include "support/Season1992.h"

#include <algorithm>
#include <fstream>

#include "RaceFinalWriter.h"

namespace scorewell::test {

namespace {

// Fields separated by commas; a field in double quotes may hold commas and doubled quotes.
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

} // namespace

std::vector<CsvRow> ReadFixtureCsv(const std::string& relativePath) {
    std::ifstream in(std::string(SCOREWELL_FIXTURES_DIR) + "/" + relativePath);
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> header = CsvFields(line);
    std::vector<CsvRow> rows;
    while (std::getline(in, line)) {
        if (line.empty()) {
            continue;
        }
        const std::vector<std::string> fields = CsvFields(line);
        CsvRow row;
        for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) {
            row[header[i]] = fields[i];
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

Season1992 WriteSeason1992(const std::string& folder) {
    Season1992 season;
    season.standings = ReadFixtureCsv("cup1992/standings.csv");
    std::vector<CsvRow> results = ReadFixtureCsv("cup1992/results.csv");
    std::stable_sort(results.begin(), results.end(), [](const CsvRow& a, const CsvRow& b) {
        return std::stoi(a.at("finish")) < std::stoi(b.at("finish"));
    });
    for (const CsvRow& r : ReadFixtureCsv("cup1992/races.csv")) {
        const int number = std::stoi(r.at("race_no"));
        RaceFinalRace race;
        race.name = r.at("race_name");
        race.track = r.at("track");
        race.length = std::stod(r.at("track_length_miles"));
        race.laps = std::stoi(r.at("scheduled_laps"));
        for (const CsvRow& result : results) {
            if (std::stoi(result.at("race_no")) != number) {
                continue;
            }
            if (result.at("status") == "did not start") {
                ++season.notStarted[result.at("driver")];
                continue;
            }
            race.cars.push_back({std::stoi(result.at("start")), result.at("car"),
                                 result.at("driver"), std::stoi(result.at("laps")),
                                 std::stoi(result.at("laps_led")), 0, "", result.at("status")});
            season.results[number].push_back(result);
        }
        season.files.push_back(folder + "/race" + r.at("race_no") + ".stn");
        WriteRaceFinal(season.files.back(), race);
    }
    return season;
}

} // namespace scorewell::test
