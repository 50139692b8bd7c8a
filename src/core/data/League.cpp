#include "data/League.h"

#include <sqlite3.h>

#include <cmath>
#include <optional>
#include <system_error>

#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Platform.h"
#include "common/Text.h"
#include "data/Drivers.h"
#include "data/LeagueFile.h"

namespace scorewell {

namespace {

constexpr const char* kLeagueTables[] = {"Driver", "Race", "Stats", "Settings"};

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

LeagueOpenError OpenError(const std::string& path, const DbError& e) {
    using Kind = LeagueOpenError::Kind;
    switch (e.PrimaryCode()) {
    case SQLITE_NOTADB:
        return {Kind::NotALeague, Quoted(path) + " is not a Scorewell league file."};
    case SQLITE_CORRUPT:
        return {Kind::Damaged, Quoted(path) + " is damaged and cannot be opened."};
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {Kind::Locked,
                Quoted(path) + " is in use by another program. Close it there and try again."};
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return {Kind::ReadOnly,
                Quoted(path) + " cannot be opened for writing: " + PlainReason(e) + "."};
    default:
        return {Kind::Other, Quoted(path) + " cannot be opened: " + PlainReason(e) + "."};
    }
}

// The first table or index whose definition cannot be built again, as compaction must: damage
// in the text of a definition (a column, a collation) may pass every check of the stored data.
std::optional<std::string> DefinitionThatFails(Database& db) {
    const ResultSet definitions =
        db.QueryAll("SELECT name, sql FROM sqlite_schema WHERE sql IS NOT NULL AND "
                    "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
    sqlite3* scratch = nullptr;
    if (sqlite3_open_v2(":memory:", &scratch, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(scratch);
        return std::nullopt;
    }
    // As the league's own connection reads them: a double-quoted word is always a name.
    sqlite3_db_config(scratch, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_db_config(scratch, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    std::optional<std::string> failed;
    for (const auto& row : definitions.rows) {
        const bool built =
            sqlite3_exec(scratch, row[1].AsText().c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        if (!built) {
            failed = row[0].AsText();
            break;
        }
    }
    sqlite3_close(scratch);
    return failed;
}

// What is wrong with the relations between the tables, if anything. A damaged page can empty a
// table or a damaged definition can point a relation at nothing, and the stored data still
// passes the integrity check; writing to such a league would only spread the damage.
std::optional<std::string> BrokenRelation(Database& db) {
    try {
        Cursor orphan = db.Query("PRAGMA foreign_key_check");
        if (orphan.AtEnd()) {
            return std::nullopt;
        }
        return "rows of " + orphan.Field(0).AsText() + " refer to " + orphan.Field(2).AsText() +
               " rows that are not there";
    } catch (const DbError&) {
        return "the relations between its tables cannot be read";
    }
}

// The first trigger or view of the file, named for the user: the league's layout defines none, and
// one stored in a file received from someone else would run, or answer, in the program's place.
std::optional<std::string> ForeignSchemaObject(Database& db) {
    Cursor found = db.Query("SELECT type, name FROM sqlite_schema WHERE type IN ('trigger','view') "
                            "ORDER BY rowid LIMIT 1");
    if (found.AtEnd()) {
        return std::nullopt;
    }
    return "the " + found.Field(0).AsText() + " \"" + Excerpt(found.Field(1).AsText()) + "\"";
}

} // namespace

std::string PlainReason(const DbError& error) {
    switch (error.PrimaryCode()) {
    case SQLITE_FULL:
        return "the disk is full";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "the file is in use by another program";
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return "the file or its folder is read-only";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return "the file is damaged";
    case SQLITE_CANTOPEN:
        return "the file cannot be opened";
    case SQLITE_IOERR:
        // A file size limit or a quota stops a write as a full disk does.
        if (IsDiskFullError(error.SystemError())) {
            return "the disk is full";
        }
        return "the file cannot be written (" + std::string(error.what()) + ")";
    default:
        return error.what();
    }
}

League::League(Program& program, const std::string& path, LeagueAccess access)
    : program_(program), access_(access) {
    using Kind = LeagueOpenError::Kind;
    switch (KindOfFile(NativePath(path))) {
    case FileKind::Missing:
        throw LeagueOpenError(Kind::Missing, Quoted(path) + " does not exist!");
    case FileKind::Folder:
        throw LeagueOpenError(Kind::NotALeague, Quoted(path) + " is a folder, not a league file.");
    case FileKind::Other:
        throw LeagueOpenError(Kind::NotALeague,
                              Quoted(path) + " is not a regular file, so it is not a league file.");
    case FileKind::Regular:
        break;
    }
    if (!CanWriteFileAndFolder(path)) {
        throw LeagueOpenError(Kind::ReadOnly, Quoted(path) +
                                                  " cannot be opened for writing: the file or its "
                                                  "folder is read-only.");
    }
    try {
        lock_ =
            FileLock::TryAcquire(path, access == LeagueAccess::Change ? FileLock::Mode::Exclusive
                                                                      : FileLock::Mode::Shared);
    } catch (const std::system_error& e) {
        throw LeagueOpenError(Kind::Other,
                              Quoted(path) + " cannot be opened: " + e.code().message() + ".");
    }
    if (!lock_) {
        throw LeagueOpenError(Kind::Locked, Quoted(path) +
                                                " is in use by another program. Close it there and "
                                                "try again.");
    }
    if (access == LeagueAccess::Change) {
        // Older versions compacted through this copy; an interrupted one left it behind.
        const std::string folder = FolderOf(NativePath(path));
        RemoveFileIfExists(folder + kStaleCompactName);
        RemoveFileIfExists(folder + kStaleCompactName + "-journal");
    }
    try {
        db_ = Database::Open(path);
        path_ = db_.Path();
        // The full check: a quick one misses index entries that no longer match their rows, and
        // writing through such an index spreads the damage.
        Value check = db_.Scalar("PRAGMA integrity_check(1)");
        if (check.AsText() != "ok") {
            throw LeagueOpenError(Kind::Damaged,
                                  Quoted(path) + " is damaged and cannot be opened.");
        }
        // A header that asks for a newer file format lets the engine read but never write; such
        // a league would fail at its first change, after a backup was already made.
        if (sqlite3_db_readonly(db_.Handle(), "main") == 1) {
            throw LeagueOpenError(Kind::Damaged, Quoted(path) +
                                                     " is damaged and cannot be opened: its "
                                                     "header cannot be read.");
        }
        if (auto problem = BrokenRelation(db_)) {
            throw LeagueOpenError(Kind::Damaged,
                                  Quoted(path) + " is damaged and cannot be opened: " + *problem +
                                      ".");
        }
        if (auto failed = DefinitionThatFails(db_)) {
            throw LeagueOpenError(Kind::Damaged, Quoted(path) +
                                                     " is damaged and cannot be opened: the "
                                                     "definition of " +
                                                     *failed + " cannot be read.");
        }
        for (const char* table : kLeagueTables) {
            if (!db_.TableExists(table)) {
                throw LeagueOpenError(Kind::NotALeague,
                                      Quoted(path) + " is not a Scorewell league file.");
            }
        }
        // Before anything is written: a trigger would run with the program's own changes.
        if (auto foreign = ForeignSchemaObject(db_)) {
            throw LeagueOpenError(Kind::Damaged,
                                  Quoted(path) + " is damaged and cannot be opened: " + *foreign +
                                      " is not part of a league.");
        }
        Transaction t(db_);
        UpgradeLeagueFile(db_, program_.Db());
        AddMissingSettings(db_);
        // Page settings a league lacks come from the program database, name and all.
        for (int id = SettingId::UseBackgroundImage; id <= SettingId::FirstColor + 7; ++id) {
            if (ReadSetting(db_, id) == kMissingSetting) {
                std::string name;
                std::string value = ReadSetting(program_.Db(), id, &name);
                if (value == kMissingSetting) {
                    continue;
                }
                db_.Execute("INSERT INTO Settings (SettingsID, SettingName, SettingValue) "
                            "VALUES (?,?,?)",
                            {Value(id), name.empty() ? Value() : Value(name),
                             Trim(value).empty() ? Value() : Value(value)});
            }
        }
        if (ReadSetting(db_, SettingId::DroppedRaces) == kMissingSetting) {
            db_.Execute("INSERT INTO Settings (SettingsID, SettingName, SettingValue) "
                        "VALUES (?,'Dropped Races','0')",
                        {Value(SettingId::DroppedRaces)});
        }
        // Table definitions are text in the file: damaged, they may still read as a sound
        // database that lacks what the program needs.
        if (auto missing = MissingLayoutField(db_)) {
            throw LeagueOpenError(Kind::Damaged, Quoted(path) +
                                                     " is damaged and cannot be "
                                                     "opened: the field " +
                                                     *missing + " is missing.");
        }
        warnings_ = UpdateDriverNameKeys(db_);
        // Read before the commit, so a league refused for its settings is not written.
        LoadWorkingSettings();
        t.Commit();
    } catch (const DbError& e) {
        db_.Close();
        lock_.reset();
        throw OpenError(path, e);
    } catch (...) {
        db_.Close();
        lock_.reset();
        throw;
    }
}

League::~League() {
    db_.Close();
    lock_.reset();
}

void League::LoadWorkingSettings() {
    // A value out of its range is damage (or tampering): read as it stands it would drive the
    // program out of its own bounds, so the league is refused instead.
    auto refuse = [&](int id, const char* name, const std::string& value, const char* valid) {
        throw LeagueOpenError(LeagueOpenError::Kind::Damaged,
                              Quoted(path_) + " is damaged and cannot be opened: the setting " +
                                  name + " (" + std::to_string(id) + ") is \"" + Excerpt(value) +
                                  "\", but must be " + valid + ".");
    };
    // Missing or blank, a number takes the value 0, as it always has.
    auto number = [&](int id, const char* name, int low, int high, bool lenient) {
        const std::string value = ReadSetting(db_, id);
        if (value == kMissingSetting || value.empty()) {
            return 0;
        }
        const double read = lenient ? LeadingNumber(value) : StrictNumber(value).value_or(NAN);
        if (!(read >= low && read <= high) || (!lenient && read != std::trunc(read))) {
            refuse(id, name, value,
                   ("a whole number from " + std::to_string(low) + " to " + std::to_string(high))
                       .c_str());
        }
        return static_cast<int>(read);
    };
    auto onOff = [&](int id, const char* name) {
        const std::string value = ReadSetting(db_, id);
        if (value != kMissingSetting && !value.empty() && value != "True" && value != "False" &&
            !StrictNumber(value)) {
            refuse(id, name, value, "0 (off), 1 (on), False or True");
        }
        return ReadSettingSwitch(db_, id);
    };
    WorkingSettings read;
    read.simTitle = static_cast<Simulation>(number(SettingId::SimTitle, "Sim Title", 0, 3, false));
    read.droppedRaces = number(SettingId::DroppedRaces, "Dropped Races", 0, 10, true);
    read.leagueType =
        static_cast<LeagueType>(number(SettingId::LeagueType, "League Type", 0, 1, false));
    read.useCustomPointSystem = onOff(SettingId::UseCustomPointSystem, "Use Custom Point System");
    read.useCustomBonusSystem = onOff(SettingId::UseCustomBonusSystem, "Use Custom Bonus System");
    read.lapReportingMethod = static_cast<LapReportingMethod>(
        number(SettingId::LapReportingMethod, "Lap Reporting Method", 0, 1, true));
    settings_ = read;
}

PointTable League::LoadPointTable() {
    return LoadPointSystem(program_.Db(), db_, settings_.useCustomPointSystem,
                           settings_.useCustomBonusSystem);
}

bool CompactionPays(Database& db) {
    const long long pages = db.Scalar("PRAGMA page_count").AsInteger();
    const long long free = db.Scalar("PRAGMA freelist_count").AsInteger();
    return free > 0 && free * 4 >= pages;
}

void BackupDatabase(Database& source, const std::string& target) {
    const std::string temp = target + ".new";
    BuildAndReplaceFile(temp, target, [&] {
        Database copy = Database::Create(temp);
        sqlite3_backup* backup =
            sqlite3_backup_init(copy.Handle(), "main", source.Handle(), "main");
        if (!backup) {
            copy.ThrowError(sqlite3_errcode(copy.Handle()));
        }
        int rc = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE) {
            copy.ThrowError(rc);
        }
    });
}

std::string PendingBackup::GenerationPath(const std::string& leaguePath, int n) {
    return leaguePath + ".bak" + (n == 0 ? std::string() : "." + std::to_string(n));
}

PendingBackup::PendingBackup(Database& league)
    : leaguePath_(league.Path()), pending_(league.Path() + ".bak.pending") {
    try {
        BackupDatabase(league, pending_);
    } catch (const DbError& e) {
        throw ScorewellError("The copy " + Quoted(GenerationPath(leaguePath_, 0)) + " of " +
                             Quoted(leaguePath_) + " could not be written: " + PlainReason(e) +
                             ". Nothing was changed.");
    } catch (const std::system_error& e) {
        throw ScorewellError(
            "The copy " + Quoted(GenerationPath(leaguePath_, 0)) + " of " + Quoted(leaguePath_) +
            " could not be written: " +
            (IsDiskFullError(e.code().value()) ? "the disk is full" : std::string(e.what())) +
            ". Nothing was changed.");
    }
}

PendingBackup::~PendingBackup() {
    if (!pending_.empty()) {
        RemoveFileIfExists(pending_);
    }
}

void PendingBackup::Keep() {
    if (pending_.empty()) {
        return;
    }
    try {
        RemoveFileIfExists(GenerationPath(leaguePath_, kGenerations - 1));
        for (int n = kGenerations - 2; n >= 0; --n) {
            const std::string from = GenerationPath(leaguePath_, n);
            if (KindOfFile(from) == FileKind::Regular) {
                ReplaceFile(from, GenerationPath(leaguePath_, n + 1));
            }
        }
        ReplaceFile(pending_, GenerationPath(leaguePath_, 0));
        pending_.clear();
        SyncFolder(FolderOf(leaguePath_));
    } catch (const std::system_error& e) {
        throw ScorewellError("The copy " + Quoted(GenerationPath(leaguePath_, 0)) + " of " +
                             Quoted(leaguePath_) + " could not be kept: " + e.what() +
                             ". Nothing was changed.");
    }
}

void League::Close() {
    if (!db_.IsOpen()) {
        return;
    }
    std::string failure;
    if (access_ == LeagueAccess::Change) {
        try {
            if (CompactionPays(db_)) {
                db_.Execute("VACUUM");
            }
        } catch (const DbError& e) {
            failure = PlainReason(e);
        }
    }
    db_.Close();
    lock_.reset();
    if (!failure.empty()) {
        throw ScorewellError("The league file " + Quoted(path_) +
                             " was closed but could not be compacted: " + failure +
                             ". Everything saved in it is kept.");
    }
}

} // namespace scorewell
