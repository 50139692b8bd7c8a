#include "common/Paths.h"

#include "common/Text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace scorewell {

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

std::size_t LastSeparator(std::string_view path) {
    return path.find_last_of("/\\");
}

bool IsKind(const std::string& path, bool wantFolder) {
    std::error_code ec;
    return wantFolder ? fs::is_directory(FileSystemPath(path), ec)
                      : fs::is_regular_file(FileSystemPath(path), ec);
}

// The entry of folder named name, exactly or else ignoring letter case; the first in byte order
// among several, so the answer does not depend on the listing order of the file system.
std::string FindEntry(const std::string& folder, const std::string& name, bool wantFolder) {
    std::string exact = JoinPath(folder, name);
    if (IsKind(exact, wantFolder)) {
        return exact;
    }
    std::vector<std::string> matches;
    std::error_code ec;
    for (fs::directory_iterator it(FileSystemPath(folder.empty() ? "." : folder), ec), end;
         !ec && it != end; it.increment(ec)) {
        std::string entry = Utf8Path(it->path().filename());
        if (EqualsNoCase(entry, name) && IsKind(Utf8Path(it->path()), wantFolder)) {
            matches.push_back(std::move(entry));
        }
    }
    if (matches.empty()) {
        return {};
    }
    return JoinPath(folder, *std::min_element(matches.begin(), matches.end()));
}

} // namespace

std::string FolderOf(std::string_view path) {
    const auto last = LastSeparator(path);
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

std::string FileNameOf(std::string_view path, bool stripExtension) {
    const auto last = LastSeparator(path);
    std::string_view name = last == std::string_view::npos ? path : path.substr(last + 1);
    if (stripExtension) {
        name = name.substr(0, name.rfind('.'));
    }
    return std::string(name);
}

std::string FileExtension(std::string_view path) {
    const auto dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot + 1));
}

bool FileExists(std::string_view path) {
    return !path.empty() && IsKind(NativePath(path), false);
}

bool FolderExists(std::string_view path) {
    return !path.empty() && IsKind(NativePath(path), true);
}

std::string WithTrailingSeparator(std::string_view folder) {
    if (folder.empty() || IsSeparator(folder.back())) {
        return std::string(folder);
    }
    // Keep the style of the path: a Windows path gets a backslash.
    const bool windows =
        folder.find('\\') != std::string_view::npos && folder.find('/') == std::string_view::npos;
    return std::string(folder) + (windows ? '\\' : '/');
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    while (!name.empty() && IsSeparator(name.front())) {
        name.remove_prefix(1);
    }
    if (folder.empty()) {
        return std::string(name);
    }
    while (folder.size() > 1 && IsSeparator(folder.back()) &&
           IsSeparator(folder[folder.size() - 2])) {
        folder.remove_suffix(1);
    }
    return WithTrailingSeparator(folder) + std::string(name);
}

std::string NativePath(std::string_view path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

fs::path FileSystemPath(std::string_view path) {
    const std::string native = NativePath(path);
    return fs::path(std::u8string(native.begin(), native.end()));
}

std::string Utf8Path(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string FindNoCase(std::string_view folder, std::string_view name, bool wantFolder) {
    // A name with separators ("tracks\daytona\track.ini") is looked up one part at a time.
    std::vector<std::string> parts;
    std::string part;
    for (char c : name) {
        if (IsSeparator(c)) {
            if (!part.empty()) {
                parts.push_back(std::move(part));
            }
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) {
        parts.push_back(std::move(part));
    }
    if (parts.empty()) {
        return {};
    }
    std::string current = NativePath(folder);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        current = FindEntry(current, parts[i], !last || wantFolder);
        if (current.empty()) {
            return {};
        }
    }
    return current;
}

} // namespace scorewell
