#pragma once

#include <string>

namespace scorewell::test {

// Compares bytes with the golden file tests/fixtures/golden/<name>, byte for byte. With
// SCOREWELL_WRITE_GOLDEN=1 in the environment the golden file is written from the bytes instead,
// to be looked at before it is committed.
void ExpectGolden(const std::string& name, const std::string& bytes);

} // namespace scorewell::test
