// Merging the members' race finals of one off-line event into one race, against the bare SQLite
// work of the same rows.

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
#include "import/OfflineMerge.h"
#include "import/RaceFinal.h"

namespace {

using namespace scorewell;
using bench::Clock;
using bench::Median;
using bench::Scratch;
using bench::Seconds;

constexpr int kFiles = 40;
constexpr int kCars = 43;
constexpr int kRepetitions = 7;
constexpr double kTargetSeconds = 0.5;

std::unique_ptr<League> NewLeague(Program& program, const std::string& path) {
    std::filesystem::remove(path);
    CreateLeagueFile(path, 0, 1, program.Db(), 0, 0);
    return std::make_unique<League>(program, path);
}

// Every member's file holds the same 42 computer cars and himself.
std::vector<RaceFinalRace> EventFiles() {
    bench::SeasonShape shape;
    shape.races = kFiles;
    shape.carsPerRace = kCars;
    shape.drivers = kCars;
    std::vector<RaceFinalRace> files = bench::GenerateSeason(shape);
    for (int f = 0; f < kFiles; ++f) {
        files[static_cast<std::size_t>(f)].cars[static_cast<std::size_t>(f % kCars)].driver =
            "Member " + std::to_string(f + 1);
    }
    return files;
}

struct Timing {
    double whole = 0; // staging and merge, as Import in an off-line league
    double merge = 0; // the merge alone
};

Timing TimeMerge(Program& program, const std::string& path, const std::vector<std::string>& files) {
    auto league = NewLeague(program, path);
    const PointTable table = league->LoadPointTable();
    Timing timing;
    const auto begin = Clock::now();
    Transaction transaction(league->Db());
    for (const std::string& file : files) {
        StagingResult staged = ImportSTNFile(*league, table, file, Simulation::NascarRacing3,
                                             LapReportingMethod::Speed);
        if (!staged.Staged()) {
            throw std::runtime_error(staged.title + ": " + staged.message);
        }
    }
    const auto merging = Clock::now();
    const MergeOutcome outcome = MergeStagedRaces(*league, table);
    transaction.Commit();
    timing.merge = Seconds(Clock::now() - merging);
    timing.whole = Seconds(Clock::now() - begin);
    if (outcome.drivers != kFiles) {
        throw std::runtime_error("the merge kept " + std::to_string(outcome.drivers) +
                                 " drivers instead of " + std::to_string(kFiles));
    }
    return timing;
}

// The rows the merge writes, with prepared statements in one transaction, from values in memory:
// the staged files, the computer cars taken out, the members renumbered, the race and its results.
double TimeBareWork(Program& program, const std::string& path,
                    const std::vector<RaceFinalRace>& races) {
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
    Statement remove(db, "DELETE FROM STNStats WHERE STNStatsID=?");
    Statement renumber(db, "UPDATE STNStats SET STNRaceID=?, Start=?, Finish=?, Points=?, "
                           "AvgSpeed=? WHERE STNStatsID=?");
    Statement race(db, "INSERT INTO Race (Name, FileName, Length, Laps, Weather) "
                       "VALUES (?,'Merged',?,?,?)");
    Statement driver(db, "INSERT INTO Driver (Name, Handicap) VALUES (?, 0)");
    Statement stats(db, "INSERT INTO Stats (RaceID, DriverID, Start, Finish, LapsRun, LapsLed, "
                        "Status, Points, Bonus, PrizeMoney, Qualifying, AvgSpeed) "
                        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
    std::unordered_map<std::string, int> files;
    for (const RaceFinalRace& rf : races) {
        for (const RaceFinalCar& car : rf.cars) {
            ++files[car.driver];
        }
    }
    std::vector<std::pair<std::int64_t, const RaceFinalCar*>> members;
    Value firstRace;
    for (std::size_t r = 0; r < races.size(); ++r) {
        const RaceFinalRace& rf = races[r];
        stnRace.Run({Value(rf.name), Value(std::to_string(r) + ".stn"), Value(float(rf.length)),
                     Value(rf.laps), Value(rf.raceTime), Value(rf.avgSpeed),
                     Value(rf.victoryMargin), Value(*rf.cautions), Value(*rf.leadChanges),
                     Value(rf.weather)});
        const Value stnRaceId(static_cast<long long>(db.LastInsertRowId()));
        if (r == 0) {
            firstRace = stnRaceId;
        }
        int finish = 0;
        for (const RaceFinalCar& car : rf.cars) {
            stnStats.Run({stnRaceId, Value(++finish), Value(car.start), Value(car.driver),
                          Value(car.lapsRun), Value(car.lapsLed), Value(car.points),
                          Value(float(std::strtod(car.qualifying.c_str(), nullptr))),
                          Value(car.reasonOut), Value(), Value(0)});
            if (files[car.driver] > 1) {
                remove.Run({Value(static_cast<long long>(db.LastInsertRowId()))});
            } else {
                members.emplace_back(db.LastInsertRowId(), &car);
            }
        }
    }
    const RaceFinalRace& first = races.front();
    race.Run(
        {Value(first.name), Value(float(first.length)), Value(first.laps), Value(first.weather)});
    const Value raceId(static_cast<long long>(db.LastInsertRowId()));
    int position = 0;
    for (const auto& [id, car] : members) {
        ++position;
        renumber.Run({firstRace, Value(position), Value(position), Value(0), Value(150.0f),
                      Value(static_cast<long long>(id))});
        driver.Run({Value(car->driver)});
        stats.Run({raceId, Value(static_cast<long long>(db.LastInsertRowId())), Value(position),
                   Value(position), Value(car->lapsRun), Value(car->lapsLed), Value(car->reasonOut),
                   Value(0), Value(0), Value(), Value(180.0f), Value("150")});
    }
    db.Execute("COMMIT");
    return Seconds(Clock::now() - begin);
}

} // namespace

int main() {
    try {
        Scratch scratch;
        Program program(scratch.File("program"));
        const std::vector<RaceFinalRace> event = EventFiles();
        std::filesystem::create_directory(scratch.File("finals"));
        const std::vector<std::string> files = bench::WriteSeason(scratch.File("finals"), event);

        std::vector<double> wholes, merges, bare;
        for (int i = 0; i < kRepetitions; ++i) {
            const Timing timing = TimeMerge(program, scratch.File("merge.slf"), files);
            wholes.push_back(timing.whole);
            merges.push_back(timing.merge);
            bare.push_back(TimeBareWork(program, scratch.File("bare.slf"), event));
        }
        const double whole = Median(wholes);
        const double merge = Median(merges);
        const double bareTime = Median(bare);
        std::printf("stage + merge %d race finals of %d cars (ImportSTNFile, MergeStagedRaces): "
                    "%.1f ms, of which the merge %.1f ms\n",
                    kFiles, kCars, whole * 1000, merge * 1000);
        std::printf("bare SQLite work of the same rows (prepared statements): %.1f ms\n",
                    bareTime * 1000);
        std::printf(
            "ratio: %.2f; absolute: %.3f s (target: under %.1f s, %s), medians of %d runs\n",
            whole / bareTime, whole, kTargetSeconds, whole < kTargetSeconds ? "met" : "MISSED",
            kRepetitions);
        return whole < kTargetSeconds ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_merge: %s\n", e.what());
        return 1;
    }
}
