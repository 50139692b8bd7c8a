#pragma once

#include <filesystem>
#include <string>

namespace scorewell::test {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path() + kSeparator + name, every separator in name made kSeparator.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

// The separator of this system's paths, as its users write them: "\" on Windows, "/" elsewhere.
inline constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// Whole-file helpers for tests.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

} // namespace scorewell::test
