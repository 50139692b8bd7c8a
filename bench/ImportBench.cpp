// Staging and importing race finals, against the bare inserts of the same rows.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "BenchSupport.h"
#include "LeagueGenerator.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "import/RaceFinal.h"
#include "import/StagedImport.h"

namespace {

using namespace scorewell;
using bench::Clock;
using bench::Median;
using bench::Scratch;
using bench::Seconds;

constexpr int kSeasonRaces = 1000;
constexpr int kImportedRaces = 100;
constexpr int kRepetitions = 5;
constexpr double kTarget = 3.0;

std::unique_ptr<League> NewLeague(Program& program, const std::string& path) {
    std::filesystem::remove(path);
    CreateLeagueFile(path, 0, 0, program.Db(), 0, 0);
    return std::make_unique<League>(program, path);
}

// The reader and the Import step, as the import dialog runs them: one transaction.
double TimeImport(Program& program, const std::string& path,
                  const std::vector<std::string>& files) {
    auto league = NewLeague(program, path);
    const PointTable table = league->LoadPointTable();
    const auto begin = Clock::now();
    Transaction transaction(league->Db());
    for (const std::string& file : files) {
        StagingResult staged = ImportSTNFile(*league, table, file, Simulation::NascarRacing3,
                                             LapReportingMethod::Speed);
        if (!staged.Staged()) {
            throw std::runtime_error(staged.title + ": " + staged.message);
        }
    }
    ImportStagedRaces(*league);
    transaction.Commit();
    return Seconds(Clock::now() - begin);
}

// The same rows with prepared statements in one transaction, from values already in memory.
double TimeBareInserts(Program& program, const std::string& path,
                       const std::vector<RaceFinalRace>& races,
                       const std::vector<std::string>& files) {
    auto league = NewLeague(program, path);
    Database& db = league->Db();
    const auto begin = Clock::now();
    db.Execute("BEGIN IMMEDIATE");
    Statement stnRace(db, "INSERT INTO STNRace (Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
                          "VictoryMargin, Cautions, LeadChanges, Weather) "
                          "VALUES (?,?,?,?,?,?,?,?,?,?)");
    Statement stnStats(db, "INSERT INTO STNStats (STNRaceID, Finish, Start, DriverName, LapsRun, "
                           "LapsLed, Points, Qualifying, ReasonOut, PrizeMoney, Bonus) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?,?)");
    Statement race(db,
                   "INSERT INTO Race (Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
                   "VictoryMargin, Cautions, LeadChanges, Weather) VALUES (?,?,?,?,?,?,?,?,?,?)");
    Statement driver(db, "INSERT INTO Driver (Name, Handicap) VALUES (?, 0)");
    Statement stats(db, "INSERT INTO Stats (RaceID, DriverID, Start, Finish, LapsRun, LapsLed, "
                        "Status, Points, Bonus, PrizeMoney, Qualifying) "
                        "VALUES (?,?,?,?,?,?,?,?,?,?,?)");
    std::unordered_map<std::string, std::int64_t> drivers;
    for (std::size_t r = 0; r < races.size(); ++r) {
        const RaceFinalRace& rf = races[r];
        const std::vector<Value> raceValues = {
            Value(rf.name),          Value(std::filesystem::path(files[r]).filename().string()),
            Value(float(rf.length)), Value(rf.laps),
            Value(rf.raceTime),      Value(rf.avgSpeed),
            Value(rf.victoryMargin), Value(*rf.cautions),
            Value(*rf.leadChanges),  Value(rf.weather)};
        stnRace.Run(raceValues);
        const Value stnRaceId(static_cast<long long>(db.LastInsertRowId()));
        race.Run(raceValues);
        const Value raceId(static_cast<long long>(db.LastInsertRowId()));
        int finish = 0;
        for (const RaceFinalCar& car : rf.cars) {
            ++finish;
            const Value qualifying(float(std::strtod(car.qualifying.c_str(), nullptr)));
            stnStats.Run({stnRaceId, Value(finish), Value(car.start), Value(car.driver),
                          Value(car.lapsRun), Value(car.lapsLed), Value(car.points), qualifying,
                          Value(car.reasonOut), Value(), Value(0)});
            auto found = drivers.find(car.driver);
            if (found == drivers.end()) {
                driver.Run({Value(car.driver)});
                found = drivers.emplace(car.driver, db.LastInsertRowId()).first;
            }
            stats.Run({raceId, Value(static_cast<long long>(found->second)), Value(car.start),
                       Value(finish), Value(car.lapsRun), Value(car.lapsLed), Value(car.reasonOut),
                       Value(car.points), Value(0), Value(), qualifying});
        }
    }
    db.Execute("COMMIT");
    return Seconds(Clock::now() - begin);
}

} // namespace

int main() {
    try {
        Scratch scratch;
        Program program(scratch.File("program"));

        auto begin = Clock::now();
        bench::SeasonShape shape;
        shape.races = kSeasonRaces;
        const std::vector<RaceFinalRace> season = bench::GenerateSeason(shape);
        std::filesystem::create_directory(scratch.File("finals"));
        const std::vector<std::string> files = bench::WriteSeason(scratch.File("finals"), season);
        std::printf("generated %d race finals of %d cars from %d drivers: %.3f s\n", kSeasonRaces,
                    shape.carsPerRace, shape.drivers, Seconds(Clock::now() - begin));

        const std::vector<std::string> importFiles(files.begin(), files.begin() + kImportedRaces);
        const std::vector<RaceFinalRace> importRaces(season.begin(),
                                                     season.begin() + kImportedRaces);
        std::vector<double> imports, bare;
        for (int i = 0; i < kRepetitions; ++i) {
            imports.push_back(TimeImport(program, scratch.File("import.slf"), importFiles));
            bare.push_back(
                TimeBareInserts(program, scratch.File("bare.slf"), importRaces, importFiles));
        }
        const double importTime = Median(imports);
        const double bareTime = Median(bare);
        const double ratio = importTime / bareTime;
        std::printf("stage + import %d race finals (ImportSTNFile, ImportStagedRaces): %.1f ms\n",
                    kImportedRaces, importTime * 1000);
        std::printf("bare inserts of the same rows (prepared statements): %.1f ms\n",
                    bareTime * 1000);
        std::printf("ratio: %.2f (target: at most %.0f, %s), medians of %d runs\n", ratio, kTarget,
                    ratio <= kTarget ? "met" : "MISSED", kRepetitions);

        begin = Clock::now();
        bench::BuildLeague(program, scratch.File("season.slf"), files, 0);
        std::printf("league of %d races built and compacted: %.2f s\n", kSeasonRaces,
                    Seconds(Clock::now() - begin));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_import: %s\n", e.what());
        return 1;
    }
}
