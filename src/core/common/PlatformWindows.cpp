// The platform layer on Windows: UTF-8 paths turned into wide characters for every call.
#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include <shlobj.h>
#include <windows.h>
// <windows.h> makes ReplaceFile a macro for ReplaceFileW; this file defines the layer's own.
#undef ReplaceFile

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <system_error>

#include "common/Paths.h"
#include "common/Platform.h"

namespace scorewell {

namespace {

std::string Utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) {
        return {};
    }
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), n, nullptr, nullptr);
    utf8.pop_back(); // the terminating zero
    return utf8;
}

// The path for a wide call: "/" and "\" alike, the current folder for an empty one.
std::wstring WidePath(const std::string& path) {
    std::string native = path.empty() ? std::string(".") : path;
    for (char& c : native) {
        if (c == '/') {
            c = '\\';
        }
    }
    return WideText(native);
}

[[noreturn]] void ThrowLastError(const std::string& what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

struct Handle {
    HANDLE h = INVALID_HANDLE_VALUE;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return h != INVALID_HANDLE_VALUE; }
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A handle that reads nothing, for what the file system says about a file or folder.
HANDLE OpenForQuery(const std::string& path) {
    return CreateFileW(WidePath(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The lock of a FileLock: one byte past the database engine's lock bytes (it uses the 512
// bytes from 1 GiB on, in a page of the file it never reads or writes), so holding it neither
// blocks the engine's locks nor its reads. Windows locks are mandatory, hence the care.
// ERROR_DISK_QUOTA_EXCEEDED, which MinGW-w64's headers lack.
constexpr int kErrorDiskQuotaExceeded = 1295;

constexpr DWORD kLockOffsetLow = 0x40000000u + 0x300u;

} // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return _wfopen(WidePath(path).c_str(), WideText(mode).c_str());
}

std::string UserProgramFolder() {
    PWSTR roaming = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming))) {
        folder = Utf8(roaming);
    }
    CoTaskMemFree(roaming);
    if (folder.empty()) {
        if (const wchar_t* appData = _wgetenv(L"APPDATA"); appData && *appData) {
            folder = Utf8(appData);
        }
    }
    return JoinPath(folder.empty() ? std::string(".") : folder, "Scorewell");
}

std::string ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return {};
        }
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::string utf8 = Utf8(path.c_str());
    const std::size_t last = utf8.find_last_of("\\/");
    return last == std::string::npos ? std::string() : utf8.substr(0, last);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) {
        return std::vector<std::string>(argv + 1, argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        args.push_back(Utf8(wide[i]));
    }
    LocalFree(wide);
    return args;
}

void IgnoreFileSizeSignal() {
    // Windows has no file size limit for a process: a full disk is the only such error.
}

void PrepareConsoleProgram() {
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

void SyncFile(const std::string& path) {
    // Flushing needs write access; the share modes let the file stay open elsewhere.
    Handle file(CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        ThrowLastError("cannot open " + path);
    }
    if (!FlushFileBuffers(file.h)) {
        ThrowLastError("cannot flush " + path);
    }
}

void SyncFolder(const std::string&) {
    // ReplaceFile moves with MOVEFILE_WRITE_THROUGH: the rename is on the disk when it returns.
}

void ReplaceFile(const std::string& from, const std::string& to) {
    const std::wstring source = WidePath(from);
    const std::wstring target = WidePath(to);
    if (MoveFileExW(source.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return;
    }
    DWORD error = GetLastError();
    if ((error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) &&
        KindOfFile(to) == FileKind::Regular) {
        // The file in place is open elsewhere (a FileLock of this program holds it while it is
        // replaced): Windows moves no file over an open one, but ReplaceFileW renames the open
        // one aside first. With a backup name, every failure leaves a file under the name.
        const std::wstring backup =
            WidePath(to + ".replaced-" + std::to_string(GetCurrentProcessId()) + ".tmp");
        if (ReplaceFileW(target.c_str(), source.c_str(), backup.c_str(),
                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            DeleteFileW(backup.c_str()); // gone once the last handle on the old file closes
            return;
        }
        error = GetLastError();
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
            // The old file was moved to the backup name and the new one not into place.
            MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
        }
    }
    SetLastError(error);
    ThrowLastError("cannot rename " + from + " to " + to);
}

bool RemoveFileIfExists(const std::string& path) {
    if (DeleteFileW(WidePath(path).c_str())) {
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool CanWriteFile(const std::string& path) {
    Handle file(CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid();
}

bool CanCreateFilesIn(const std::string& folder) {
    // Access rules on Windows are lists with inheritance: trying is the only sure answer.
    static std::atomic<unsigned> counter{0};
    const std::string probe = JoinPath(folder.empty() ? std::string(".") : folder,
                                       ".scorewell-probe-" + std::to_string(GetCurrentProcessId()) +
                                           "-" + std::to_string(counter++) + ".tmp");
    Handle file(CreateFileW(WidePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.Valid();
}

bool CanWriteFileAndFolder(const std::string& path) {
    return CanWriteFile(path) && CanCreateFilesIn(FolderOf(path));
}

void CopyPermissions(const std::string&, const std::string&) {
    // A new file takes the access rules its folder hands down, as the replaced one did.
}

FileKind KindOfFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return FileKind::Missing;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return FileKind::Folder;
    }
    return attributes & FILE_ATTRIBUTE_DEVICE ? FileKind::Other : FileKind::Regular;
}

bool SameExistingFile(const std::string& a, const std::string& b) {
    Handle fa(OpenForQuery(a));
    Handle fb(OpenForQuery(b));
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    return fa.Valid() && fb.Valid() && GetFileInformationByHandle(fa.h, &ia) &&
           GetFileInformationByHandle(fb.h, &ib) &&
           ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

bool IsDiskFullError(int systemError) {
    // Windows error codes (from the database engine and this layer) and the C runtime's errno
    // values (from writing standard output) both reach here.
    switch (systemError) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kErrorDiskQuotaExceeded:
    case ERROR_FILE_TOO_LARGE:
    case ENOSPC:
    case EFBIG:
        return true;
    default:
        return false;
    }
}

std::string WriteTemporaryBeside(const std::string& target, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    std::string temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        temp = FolderOf(target) + "." + FileNameOf(target, false) + "." +
               std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) + "-" +
               std::to_string(stamp % 100000) + ".tmp";
        file = CreateFileW(WidePath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        ThrowLastError("cannot create a file in the folder of " + target);
    }
    Handle owned(file);
    try {
        std::size_t written = 0;
        while (written < bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
            DWORD n = 0;
            if (!WriteFile(owned.h, bytes.data() + written, chunk, &n, nullptr) || n == 0) {
                ThrowLastError("cannot write " + temp);
            }
            written += n;
        }
        if (!FlushFileBuffers(owned.h)) {
            ThrowLastError("cannot flush " + temp);
        }
        const HANDLE h = owned.h;
        owned.h = INVALID_HANDLE_VALUE;
        if (!CloseHandle(h)) {
            ThrowLastError("cannot close " + temp);
        }
        return temp;
    } catch (...) {
        const DWORD saved = GetLastError();
        if (owned.Valid()) {
            CloseHandle(owned.h);
            owned.h = INVALID_HANDLE_VALUE;
        }
        DeleteFileW(WidePath(temp).c_str());
        SetLastError(saved);
        throw;
    }
}

std::unique_ptr<FileLock> FileLock::TryAcquire(const std::string& path, Mode mode) {
    const HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ThrowLastError("cannot open " + path);
    }
    OVERLAPPED at{};
    at.Offset = kLockOffsetLow;
    const DWORD flags =
        LOCKFILE_FAIL_IMMEDIATELY | (mode == Mode::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (!LockFileEx(file, flags, 0, 1, 0, &at)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
            return nullptr;
        }
        SetLastError(error);
        ThrowLastError("cannot lock " + path);
    }
    return std::unique_ptr<FileLock>(new FileLock(reinterpret_cast<std::intptr_t>(file), mode));
}

FileLock::~FileLock() {
    // Closing the handle drops its lock, as the system does when the program ends.
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::wstring WideText(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

} // namespace scorewell

#endif
