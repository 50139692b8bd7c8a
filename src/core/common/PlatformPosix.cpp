// The platform layer on Linux and other POSIX systems.
#ifndef _WIN32

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/Paths.h"
#include "common/Platform.h"

namespace scorewell {

namespace {

[[noreturn]] void ThrowErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void SyncDescriptorOf(const std::string& path, int flags) {
    int fd = ::open(NativePath(path).c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        ThrowErrno("cannot open " + path);
    }
    if (::fsync(fd) != 0) {
        int saved = errno;
        ::close(fd);
        errno = saved;
        ThrowErrno("cannot flush " + path);
    }
    ::close(fd);
}

} // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(NativePath(path).c_str(), mode);
}

std::string UserProgramFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        return JoinPath(xdg, "Scorewell");
    }
    const char* home = std::getenv("HOME");
    return JoinPath(JoinPath(home && *home ? home : ".", ".local/share"), "Scorewell");
}

std::string ExecutableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void IgnoreFileSizeSignal() {
    ::signal(SIGXFSZ, SIG_IGN);
}

void PrepareConsoleProgram() {
    IgnoreFileSizeSignal();
}

void SyncFile(const std::string& path) {
    SyncDescriptorOf(path, O_RDONLY);
}

void SyncFolder(const std::string& folder) {
    SyncDescriptorOf(folder.empty() ? std::string(".") : folder, O_RDONLY | O_DIRECTORY);
}

void ReplaceFile(const std::string& from, const std::string& to) {
    if (std::rename(NativePath(from).c_str(), NativePath(to).c_str()) != 0) {
        ThrowErrno("cannot rename " + from + " to " + to);
    }
}

bool RemoveFileIfExists(const std::string& path) {
    return ::unlink(NativePath(path).c_str()) == 0 || errno == ENOENT;
}

bool CanWriteFileAndFolder(const std::string& path) {
    std::string native = NativePath(path);
    std::string folder = FolderOf(native);
    if (folder.empty()) {
        folder = ".";
    }
    return ::access(native.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool CanWriteFile(const std::string& path) {
    return ::access(NativePath(path).c_str(), W_OK) == 0;
}

bool CanCreateFilesIn(const std::string& folder) {
    const std::string native = NativePath(folder);
    return ::access(native.empty() ? "." : native.c_str(), W_OK | X_OK) == 0;
}

void CopyPermissions(const std::string& from, const std::string& to) {
    struct stat st {};
    if (::stat(NativePath(from).c_str(), &st) == 0) {
        ::chmod(NativePath(to).c_str(), st.st_mode & 07777);
    }
}

FileKind KindOfFile(const std::string& path) {
    struct stat st {};
    if (::stat(NativePath(path).c_str(), &st) != 0) {
        return FileKind::Missing;
    }
    if (S_ISREG(st.st_mode)) {
        return FileKind::Regular;
    }
    return S_ISDIR(st.st_mode) ? FileKind::Folder : FileKind::Other;
}

bool SameExistingFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(NativePath(a).c_str(), &sa) == 0 && ::stat(NativePath(b).c_str(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool IsDiskFullError(int systemError) {
    return systemError == ENOSPC || systemError == EFBIG || systemError == EDQUOT;
}

std::string WriteTemporaryBeside(const std::string& target, std::string_view bytes) {
    const std::string native = NativePath(target);
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        temp = FolderOf(native) + "." + FileNameOf(native, false) + "." +
               std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
               std::to_string(stamp % 100000) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        ThrowErrno("cannot create a file in the folder of " + target);
    }
    try {
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                if (n == 0) {
                    errno = EIO;
                }
                ThrowErrno("cannot write " + temp);
            }
            written += static_cast<std::size_t>(n);
        }
        if (::fsync(fd) != 0) {
            ThrowErrno("cannot flush " + temp);
        }
        const int closed = ::close(fd);
        fd = -1;
        if (closed != 0) {
            ThrowErrno("cannot close " + temp);
        }
        return temp;
    } catch (...) {
        const int saved = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlink(temp.c_str());
        errno = saved;
        throw;
    }
}

// flock, not fcntl: closing any descriptor of a file drops every fcntl lock this process holds
// on it, the database engine's included, while a flock belongs to this descriptor alone.
std::unique_ptr<FileLock> FileLock::TryAcquire(const std::string& path, Mode mode) {
    const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ThrowErrno("cannot open " + path);
    }
    const int operation = (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int rc;
    do {
        rc = ::flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int saved = errno;
        ::close(fd);
        if (saved == EWOULDBLOCK) {
            return nullptr;
        }
        errno = saved;
        ThrowErrno("cannot lock " + path);
    }
    return std::unique_ptr<FileLock>(new FileLock(fd, mode));
}

FileLock::~FileLock() {
    ::close(static_cast<int>(handle_));
}

} // namespace scorewell

#endif
