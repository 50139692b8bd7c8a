#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

} // namespace scorewell::test
