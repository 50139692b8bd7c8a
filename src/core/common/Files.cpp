#include "common/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "common/Paths.h"

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
    if (::unlink(NativePath(path).c_str()) == 0 || errno == ENOENT) {
        return true;
    }
    return false;
}

bool CanWriteFileAndFolder(const std::string& path) {
    std::string native = NativePath(path);
    std::string folder = FolderOf(native);
    if (folder.empty()) {
        folder = ".";
    }
    return ::access(native.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

void CopyPermissions(const std::string& from, const std::string& to) {
    struct stat st {};
    if (::stat(NativePath(from).c_str(), &st) == 0) {
        ::chmod(NativePath(to).c_str(), st.st_mode & 07777);
    }
}

} // namespace scorewell
