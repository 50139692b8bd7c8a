#include "data/LeagueFileActions.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

#include "common/Errors.h"
#include "common/Files.h"
#include "common/Paths.h"
#include "common/Platform.h"
#include "common/Text.h"
#include "data/LeagueFile.h"
#include "data/Settings.h"

namespace scorewell {

namespace {

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

} // namespace

bool DatabaseFileInUse(const std::string& path) {
    if (KindOfFile(NativePath(path)) != FileKind::Regular) {
        return false;
    }
    try {
        return FileLock::TryAcquire(NativePath(path), FileLock::Mode::Exclusive) == nullptr;
    } catch (const std::system_error&) {
        return false;
    }
}

bool IsSameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    bool same = std::filesystem::equivalent(FileSystemPath(a), FileSystemPath(b), ec);
    return ec ? EqualsNoCase(a, b) : same;
}

namespace {

// Writes the database at source over the existing database file target in one journaled step of
// the engine: a failure leaves target whole, and target keeps its identity (a link stays a link,
// the owner and mode stay).
void CopyDatabaseOver(const std::string& source, const std::string& target) {
    Database from = Database::Open(source);
    Database to = Database::Open(target);
    sqlite3_backup* backup = sqlite3_backup_init(to.Handle(), "main", from.Handle(), "main");
    if (!backup) {
        to.ThrowError(sqlite3_errcode(to.Handle()));
    }
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        to.ThrowError(rc);
    }
}

} // namespace

void CreateNewLeagueFile(const std::string& fileName, int simTitle, int leagueType,
                         Database& programDb, int droppedRaces, int lapReportingMethod) {
    const std::string target = NativePath(fileName);
    const std::string folder = FolderOf(target);
    // Named as the user wrote it: "C:\Leagues\", not the form the file calls take.
    const std::string shownFolder = FolderOf(fileName);
    if (!folder.empty() && !FolderExists(folder)) {
        throw ScorewellError("The folder " + Quoted(shownFolder) +
                             " does not exist. Create it first, or choose a folder that exists.");
    }
    // The engine would only say that it cannot open the file.
    if (!CanCreateFilesIn(folder)) {
        throw ScorewellError("The folder " + Quoted(folder.empty() ? "." : shownFolder) +
                             " is read-only: no league can be created there. Choose another "
                             "folder.");
    }
    auto build = [&](const std::string& path) {
        CreateLeagueFile(path, simTitle, leagueType, programDb, droppedRaces, lapReportingMethod);
    };
    const std::string scratch = target + ".new";
    try {
        switch (KindOfFile(target)) {
        case FileKind::Folder:
            throw ScorewellError(Quoted(fileName) + " is a folder and cannot be replaced by a "
                                                    "league file.");
        case FileKind::Other:
            throw ScorewellError(Quoted(fileName) + " is not a regular file and cannot be "
                                                    "replaced by a league file.");
        case FileKind::Missing:
            BuildAndReplaceFile(scratch, target, [&] {
                build(scratch);
                // A journal beside the name would be played back into the new league.
                RemoveFileIfExists(target + "-journal");
            });
            return;
        case FileKind::Regular:
            break;
        }
        if (!CanWriteFile(target)) {
            throw ScorewellError(Quoted(fileName) + " is read-only and cannot be replaced.");
        }
        // Held until the new league is in place, so no other program works on the old one
        // meanwhile.
        const auto lock = FileLock::TryAcquire(target, FileLock::Mode::Exclusive);
        if (!lock) {
            throw ScorewellError(Quoted(fileName) + " is in use by another program and cannot "
                                                    "be replaced. Close it there and try again.");
        }
        if (!IsDatabaseFile(target)) {
            // Not a database at all: the engine cannot write into it, so it is replaced whole.
            BuildAndReplaceFile(scratch, target, [&] {
                build(scratch);
                CopyPermissions(target, scratch);
                RemoveFileIfExists(target + "-journal");
            });
            return;
        }
        struct RemoveScratch {
            const std::string& path;
            ~RemoveScratch() {
                RemoveFileIfExists(path);
                RemoveFileIfExists(path + "-journal");
            }
        } removeScratch{scratch};
        RemoveFileIfExists(scratch);
        RemoveFileIfExists(scratch + "-journal");
        build(scratch);
        CopyDatabaseOver(scratch, target);
    } catch (const DbError& e) {
        throw ScorewellError(Quoted(fileName) + " cannot be written: " + PlainReason(e) + ".");
    } catch (const std::system_error& e) {
        throw ScorewellError(
            Quoted(fileName) + " cannot be written: " +
            (IsDiskFullError(e.code().value()) ? "the disk is full" : e.code().message()) + ".");
    }
}

void SaveLeagueProperties(League& league, int droppedRaces, LapReportingMethod lapReportingMethod) {
    Database& db = league.Db();
    Transaction t(db);
    if (!WriteSetting(db, SettingId::DroppedRaces, std::to_string(droppedRaces)) ||
        !WriteSetting(db, SettingId::LapReportingMethod,
                      std::to_string(static_cast<int>(lapReportingMethod)))) {
        throw ScorewellError("The properties could not be saved in " + Quoted(league.Path()) + ".");
    }
    t.Commit();
    league.Settings().droppedRaces = droppedRaces;
    league.Settings().lapReportingMethod = lapReportingMethod;
}

} // namespace scorewell
