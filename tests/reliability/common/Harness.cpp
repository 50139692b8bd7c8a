#include "Harness.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <thread>

#include "LeagueGenerator.h"

namespace scorewell::test {

int HarnessCount(const char* variable, int fallback) {
    const char* text = std::getenv(variable);
    return text && *text ? std::atoi(text) : fallback;
}

std::uint64_t HarnessSeed(const char* harness) {
    const char* text = std::getenv("SCOREWELL_SEED");
    const std::uint64_t seed =
        text && *text ? std::strtoull(text, nullptr, 10) : std::random_device{}();
    std::cout << harness << ": seed " << seed << " (SCOREWELL_SEED=" << seed
              << " repeats this run)\n";
    return seed;
}

void PrintFigure(const std::string& what, long long good, long long tried) {
    std::cout << what << " " << good << "/" << tried << std::endl;
}

WrittenSeason WriteGeneratedSeason(const std::string& folder, int races, std::uint64_t seed) {
    bench::SeasonShape shape;
    shape.races = races;
    shape.carsPerRace = 43;
    shape.drivers = 120;
    shape.seed = seed;
    const auto season = bench::GenerateSeason(shape);
    std::filesystem::create_directories(folder);
    WrittenSeason written;
    written.files = bench::WriteSeason(folder, season);
    for (const auto& race : season) {
        written.drivers.push_back(static_cast<int>(race.cars.size()));
    }
    return written;
}

KilledRun RunKilledAt(const std::vector<std::string>& args, std::chrono::microseconds at,
                      const std::string& journal, std::chrono::microseconds poll) {
    using Clock = std::chrono::steady_clock;
    KilledRun run;
    ChildProcess child(SCOREWELL_CLI_PATH, args);
    const auto started = Clock::now();
    while (Clock::now() < started + at && child.Running()) {
        std::this_thread::sleep_for(poll);
    }
    if (child.Running()) {
        run.journalAtKill = std::filesystem::exists(journal);
        child.Kill(SIGKILL);
    }
    run.result = child.Wait();
    run.took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started);
    // It may have ended on its own just before the signal.
    run.killed = run.result.signal == SIGKILL;
    EXPECT_FALSE(HasSanitizerReport(run.result.err)) << run.result.err;
    return run;
}

} // namespace scorewell::test
