#pragma once

#include <string>
#include <vector>

namespace scorewell::test {

// Compares bytes with the golden file tests/fixtures/golden/<name>, byte for byte. With
// SCOREWELL_WRITE_GOLDEN=1 in the environment the golden file is written from the bytes instead,
// to be looked at before it is committed.
void ExpectGolden(const std::string& name, const std::string& bytes);

// One case of a table of cases kept in a fixture file: what is tried, and what must come of it.
struct FixtureCase {
    std::string input;    // its lines, joined by "\n"
    std::string expected; // the indented line after them, without the indent
};

// The cases of tests/fixtures/<name>, where input and expectation sit side by side: lines
// starting with "#" and blank lines are comments, and a line indented by two spaces is what must
// come of the lines above it since the previous case.
std::vector<FixtureCase> ReadFixtureCases(const std::string& name);

} // namespace scorewell::test
