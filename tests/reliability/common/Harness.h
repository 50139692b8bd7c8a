#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "support/Process.h"

namespace scorewell::test {

// A count for a long harness: the environment variable when set (to try a harness quickly, or
// harder), else the fallback.
int HarnessCount(const char* variable, int fallback);

// The seed of a harness's random choices: SCOREWELL_SEED when set, else a fresh one. Printed, so
// that a failing run can be repeated.
std::uint64_t HarnessSeed(const char* harness);

// Prints one figure of a harness on its own line ("kills survived 200/200").
void PrintFigure(const std::string& what, long long good, long long tried);

// The race finals of a generated season written into folder, with the number of counted drivers
// of each file by its file name.
struct WrittenSeason {
    std::vector<std::string> files;
    std::vector<int> drivers;
};
WrittenSeason WriteGeneratedSeason(const std::string& folder, int races, std::uint64_t seed);

// What is wrong after one step of a harness, a line each; empty when nothing is.
struct Problems {
    std::string text;
    void Expect(bool ok, const std::string& problem) {
        if (!ok) {
            text += problem + "\n";
        }
    }
};

// A run of the command line killed with SIGKILL at a chosen moment, unless it ended before: the
// shape of every kill harness. Its output must carry no sanitizer report.
struct KilledRun {
    ProcessResult result;
    bool killed = false;              // the kill ended it, not its own end
    bool journalAtKill = false;       // the league's rollback journal was there when the kill came
    std::chrono::microseconds took{}; // from its start to its end
};
KilledRun RunKilledAt(const std::vector<std::string>& args, std::chrono::microseconds at,
                      const std::string& journal, std::chrono::microseconds poll);

} // namespace scorewell::test
