#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace scorewell::test {

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "scorewell-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const {
    return path_ + "/" + name;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    out << bytes;
}

void ExpectGolden(const std::string& name, const std::string& bytes) {
    const std::string path = std::string(SCOREWELL_FIXTURES_DIR) + "/" + name;
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
    const auto at = static_cast<std::size_t>(
        std::mismatch(bytes.begin(),
                      bytes.begin() +
                          static_cast<std::ptrdiff_t>(std::min(bytes.size(), golden.size())),
                      golden.begin())
            .first -
        bytes.begin());
    const std::size_t from = at < 60 ? 0 : at - 60;
    ADD_FAILURE() << name << " differs at byte " << at
                  << ":\n  written: " << bytes.substr(from, 120)
                  << "\n  golden:  " << golden.substr(from, 120);
}

} // namespace scorewell::test
