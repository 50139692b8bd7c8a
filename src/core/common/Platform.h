#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace scorewell {

// What differs between operating systems, in one place: keeping files safe across crashes and
// full disks, and holding a league against other programs. Paths are UTF-8 with "/" or "\".
// Failures throw std::system_error carrying the operating system's reason.

// Opens a file as std::fopen does, the name in UTF-8 (wide characters on Windows); errno tells
// why when it gives nothing.
std::FILE* OpenFile(const std::string& path, const char* mode);

// Flushes a file's content to the disk.
void SyncFile(const std::string& path);
// Flushes a folder's entries (a rename inside it) to the disk; nothing to do where the system
// makes a rename durable by itself.
void SyncFolder(const std::string& folder);
// Puts from in place of to in one step: to is either the old or the new file, never neither.
void ReplaceFile(const std::string& from, const std::string& to);
// Removes a file when it exists; true when it is gone afterwards.
bool RemoveFileIfExists(const std::string& path);
// True when this process may write the file (an existing one) and create files in its folder.
bool CanWriteFileAndFolder(const std::string& path);
// True when this process may write an existing file.
bool CanWriteFile(const std::string& path);
// True when this process may create files in the folder.
bool CanCreateFilesIn(const std::string& folder);
// Gives to the permission bits of from (a replaced file keeps its owner's access rights).
void CopyPermissions(const std::string& from, const std::string& to);

enum class FileKind { Missing, Regular, Folder, Other };
// What is at the path, links followed: Other is a device, a pipe, a socket.
FileKind KindOfFile(const std::string& path);
// True when both paths lead to one existing file (links and other names of it included).
bool SameExistingFile(const std::string& a, const std::string& b);

// True when the operating system's error code means no more could be written: a full disk, a
// quota, a file size limit.
bool IsDiskFullError(int systemError);

// Writes bytes into a new file of its own beside target (a hidden name no other writer picks),
// flushed to the disk, and gives that file's path. Throws std::system_error; nothing is left
// behind then.
std::string WriteTemporaryBeside(const std::string& target, std::string_view bytes);

// The per-user folder of this program's own files: %APPDATA%\Scorewell on Windows,
// $XDG_DATA_HOME/Scorewell or ~/.local/share/Scorewell elsewhere.
std::string UserProgramFolder();
// The folder of the running program, with no trailing separator; empty when it cannot be told.
std::string ExecutableFolder();
// The command line's arguments after the program name, in UTF-8 whatever the system's code page.
std::vector<std::string> CommandLineArguments(int argc, char** argv);
// Readies a command-line program: a file size limit shows up as a write error with a message
// instead of ending the process, and the console shows UTF-8. Standard output carries the same
// bytes on every system (no line ends rewritten), so saved output compares equal.
void PrepareConsoleProgram();
// The part of PrepareConsoleProgram a desktop program needs too.
void IgnoreFileSizeSignal();

#ifdef _WIN32
// UTF-8 as the wide characters Windows calls take: for the few places outside this layer that
// call Windows themselves (the tests' process runner).
std::wstring WideText(const std::string& utf8);
#endif

// A hold on a file against other programs, dropped by the operating system when this program
// ends however it ends, so no stale lock outlives a crash. Shared holds admit each other;
// an exclusive hold admits nothing. It is taken on the file itself (a league reached through a
// link is the same league) and does not disturb the database engine's own locks on it.
class FileLock {
public:
    enum class Mode { Shared, Exclusive };

    // Takes the hold at once, or gives nothing when another program holds the file in a way
    // that excludes it. Throws std::system_error when the file cannot be opened.
    static std::unique_ptr<FileLock> TryAcquire(const std::string& path, Mode mode);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    Mode GetMode() const { return mode_; }

private:
    FileLock(std::intptr_t handle, Mode mode) : handle_(handle), mode_(mode) {}
    std::intptr_t handle_;
    Mode mode_;
};

} // namespace scorewell
