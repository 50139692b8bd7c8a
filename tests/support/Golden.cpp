#include "support/Golden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/TempDir.h"

namespace scorewell::test {

void ExpectGolden(const std::string& name, const std::string& bytes) {
    const std::string path = std::string(SCOREWELL_FIXTURES_DIR) + "/golden/" + name;
    const char* write = std::getenv("SCOREWELL_WRITE_GOLDEN");
    if (write && std::string(write) == "1") {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteFileBytes(path, bytes);
        return;
    }
    if (!std::filesystem::exists(path)) {
        ADD_FAILURE() << "no golden file " << path << " (SCOREWELL_WRITE_GOLDEN=1 writes it)";
        return;
    }
    const std::string golden = ReadFileBytes(path);
    if (bytes == golden) {
        return;
    }
    const std::size_t common = std::min(bytes.size(), golden.size());
    const auto at = static_cast<std::size_t>(
        std::mismatch(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(common),
                      golden.begin())
            .first -
        bytes.begin());
    const std::size_t from = at < 60 ? 0 : at - 60;
    ADD_FAILURE() << name << " differs at byte " << at
                  << ":\n  written: " << bytes.substr(from, 120)
                  << "\n  golden:  " << golden.substr(from, 120);
}

std::vector<FixtureCase> ReadFixtureCases(const std::string& name) {
    std::istringstream lines(ReadFileBytes(std::string(SCOREWELL_FIXTURES_DIR) + "/" + name));
    std::vector<FixtureCase> cases(1);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("  ", 0) == 0) {
            cases.back().expected = line.substr(2);
            cases.emplace_back();
        } else if (!line.empty() && line[0] != '#') {
            cases.back().input += (cases.back().input.empty() ? "" : "\n") + line;
        }
    }
    cases.pop_back();
    return cases;
}

} // namespace scorewell::test
