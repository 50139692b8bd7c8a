#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace scorewell {

// Path helpers. Both "/" and "\" separate folders, since league files and simulation folders
// travel between Windows and here.

// The path up to and including its last separator; empty when it has none.
std::string FolderOf(std::string_view path);
// The part after the last separator (empty when the path ends with one); with stripExtension,
// the part before its last "." when it has one.
std::string FileNameOf(std::string_view path, bool stripExtension);
// The text after the last "." of the whole path; empty when there is none.
std::string FileExtension(std::string_view path);
// True when a regular file (not a folder) exists at the path.
bool FileExists(std::string_view path);
bool FolderExists(std::string_view path);

// The folder with a separator appended when it does not end with one (empty stays empty).
std::string WithTrailingSeparator(std::string_view folder);
// folder + name, with exactly one separator between them.
std::string JoinPath(std::string_view folder, std::string_view name);
// A path with every "\" turned into "/", for the file system of this machine.
std::string NativePath(std::string_view path);
// The path (UTF-8, either separator) for the standard library's file calls, which on Windows
// take wide characters; and a path of theirs back in UTF-8.
std::filesystem::path FileSystemPath(std::string_view path);
std::string Utf8Path(const std::filesystem::path& path);

// The entry of folder whose name equals name without regard to letter case (an exact match
// first, else the first in byte order), of the wanted kind; the full path with "/" separators,
// or empty when there is none. A name with separators ("tracks\daytona\track.ini") is looked
// up one part at a time. Simulation folders come from Windows, where "Track.INI" and
// "track.ini" are the same file.
std::string FindNoCase(std::string_view folder, std::string_view name, bool wantFolder = false);

} // namespace scorewell
