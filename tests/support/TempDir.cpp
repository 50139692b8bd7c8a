#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "common/Paths.h"

namespace scorewell::test {

TempDir::TempDir() {
    // A new folder of a random name: creating it fails when another test has taken the name.
    static std::mt19937_64 random{std::random_device{}()};
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ostringstream name;
        name << "scorewell-test-" << std::hex << random();
        std::error_code ec;
        if (std::filesystem::create_directory(base / name.str(), ec)) {
            // The system's own separators: "\" on Windows, as its users' paths have them.
            path_ = Utf8Path((base / name.str()).make_preferred());
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const {
    return Utf8Path((FileSystemPath(path_) / FileSystemPath(name)).make_preferred());
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(FileSystemPath(path), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(FileSystemPath(path), std::ios::binary | std::ios::trunc);
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    out << bytes;
}

} // namespace scorewell::test
