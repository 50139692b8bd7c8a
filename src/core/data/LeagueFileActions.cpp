#include "data/LeagueFileActions.h"

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "common/Errors.h"
#include "common/Files.h"
#include "common/Paths.h"
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
    if (!FileExists(path)) {
        return false;
    }
    try {
        Database db = Database::Open(NativePath(path));
        // Ask once; waiting for the other program is not what the question is about.
        sqlite3_busy_timeout(db.Handle(), 0);
        db.Execute("BEGIN IMMEDIATE");
        db.Execute("ROLLBACK");
        return false;
    } catch (const DbError& e) {
        return e.PrimaryCode() == SQLITE_BUSY || e.PrimaryCode() == SQLITE_LOCKED;
    }
}

bool IsSameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    bool same = std::filesystem::equivalent(NativePath(a), NativePath(b), ec);
    return ec ? EqualsNoCase(a, b) : same;
}

void CreateNewLeagueFile(const std::string& fileName, int simTitle, int leagueType,
                         Database& programDb, int droppedRaces, int lapReportingMethod) {
    const std::string target = NativePath(fileName);
    const std::string folder = FolderOf(target);
    if (!folder.empty() && !FolderExists(folder)) {
        throw ScorewellError("The folder " + Quoted(folder) + " does not exist.");
    }
    if (FileExists(target) && ::access(target.c_str(), W_OK) != 0) {
        throw ScorewellError(Quoted(fileName) + " is read-only and cannot be replaced.");
    }
    const std::string temp = target + ".new";
    try {
        BuildAndReplaceFile(temp, target, [&] {
            CreateLeagueFile(temp, simTitle, leagueType, programDb, droppedRaces,
                             lapReportingMethod);
            // A journal left beside the old file would be played back into the new one.
            RemoveFileIfExists(target + "-journal");
        });
    } catch (const DbError& e) {
        throw ScorewellError(Quoted(fileName) + " cannot be written: " + PlainReason(e) + ".");
    } catch (const std::system_error& e) {
        throw ScorewellError(Quoted(fileName) + " cannot be written: " + e.code().message() + ".");
    }
}

void SaveLeagueProperties(League& league, int droppedRaces, int lapReportingMethod) {
    Database& db = league.Db();
    Transaction t(db);
    if (!WriteSetting(db, 6, std::to_string(droppedRaces)) ||
        !WriteSetting(db, 17, std::to_string(lapReportingMethod))) {
        throw ScorewellError("The properties could not be saved in " + Quoted(league.Path()) + ".");
    }
    t.Commit();
    league.Settings().droppedRaces = droppedRaces;
    league.Settings().lapReportingMethod = lapReportingMethod;
}

} // namespace scorewell
