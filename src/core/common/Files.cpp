#include "common/Files.h"

#include <fstream>
#include <system_error>

#include "common/Errors.h"
#include "common/Paths.h"
#include "common/Platform.h"

namespace scorewell {

bool IsDatabaseFile(const std::string& path) {
    static constexpr char kHeader[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f',
                                         'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
    std::ifstream in(FileSystemPath(path), std::ios::binary);
    char header[sizeof kHeader] = {};
    return in.read(header, sizeof header) && std::equal(header, header + sizeof header, kHeader);
}

void WriteFileSafely(const std::string& fileName, std::string_view bytes,
                     const std::function<void()>& beforeReplace,
                     const std::vector<std::string>& databasesInUse) {
    const std::string target = NativePath(fileName);
    const std::string quoted = "\"" + fileName + "\"";
    switch (KindOfFile(target)) {
    case FileKind::Folder:
        throw ScorewellError(quoted + " is a folder. Choose a file name inside it.");
    case FileKind::Other:
        throw ScorewellError(quoted + " is not a regular file. Choose another file name.");
    case FileKind::Missing:
        break;
    case FileKind::Regular:
        // The databases in use are compared by identity first: reading one of them through a
        // second handle would disturb the engine's locks on it.
        for (const std::string& db : databasesInUse) {
            if (SameExistingFile(target, db)) {
                throw ScorewellError(quoted + " is a database Scorewell is using and is never "
                                              "replaced by a page. Choose another file name.");
            }
        }
        if (IsDatabaseFile(target)) {
            throw ScorewellError(quoted + " is a database (a league file or a copy of one) and is "
                                          "never replaced by a page. Choose another file name.");
        }
        // Replacing the file would get round its write protection, which opening it respects.
        if (!CanWriteFile(target)) {
            throw std::system_error(std::make_error_code(std::errc::permission_denied),
                                    "cannot write " + target);
        }
        break;
    }
    const std::string temp = WriteTemporaryBeside(target, bytes);
    try {
        if (KindOfFile(target) == FileKind::Regular) {
            CopyPermissions(target, temp);
        }
        if (beforeReplace) {
            beforeReplace();
        }
        ReplaceFile(temp, target);
    } catch (...) {
        RemoveFileIfExists(temp);
        throw;
    }
    // The page is in place; the folder flush only makes the rename itself durable sooner.
    try {
        SyncFolder(FolderOf(target));
    } catch (const std::system_error&) {
    }
}

} // namespace scorewell
