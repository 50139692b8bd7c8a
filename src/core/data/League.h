#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/Domain.h"
#include "common/Errors.h"
#include "common/Platform.h"
#include "data/Database.h"
#include "data/Program.h"
#include "data/Settings.h"

namespace scorewell {

// Why a league file could not be opened; the message says it in plain words and names the file.
class LeagueOpenError : public ScorewellError {
public:
    enum class Kind { Missing, NotALeague, Damaged, ReadOnly, Locked, Other };
    LeagueOpenError(Kind kind, const std::string& message) : ScorewellError(message), kind_(kind) {}
    Kind GetKind() const { return kind_; }

private:
    Kind kind_;
};

// The league's working settings, loaded when it is opened.
struct WorkingSettings {
    Simulation simTitle = Simulation::NascarRacing3;
    LeagueType leagueType = LeagueType::Online;
    bool useCustomPointSystem = false;
    bool useCustomBonusSystem = false;
    int droppedRaces = 0;
    LapReportingMethod lapReportingMethod = LapReportingMethod::Speed;
};

// How a program uses a league while it has it open. A league being changed is held by one
// program alone; a league only read admits other readers, but no program that changes it.
enum class LeagueAccess { Change, Read };

// The open league: its database and working settings. Opening runs every step both front ends
// need (upgrade of older layouts, missing settings, page settings from the program database) and
// holds the league against other programs until it is closed; closing compacts the file in place
// when that pays.
class League {
public:
    // Left in a league's folder by older versions, which compacted through a copy.
    static constexpr const char* kStaleCompactName = "TmpPoints.mdb";

    // Throws LeagueOpenError; the file is never written when it cannot be opened for writing, is
    // in use by another program, damaged, or not a league file.
    League(Program& program, const std::string& path, LeagueAccess access = LeagueAccess::Change);
    // Closes without compacting when Close was not called (after an error).
    ~League();
    League(const League&) = delete;
    League& operator=(const League&) = delete;

    // Compacts the league in place when a quarter or more of its pages are free (in its own
    // transaction: the file keeps its identity, owner, mode and links, and a failure leaves it as
    // it was), then closes it and lets other programs have it. Throws ScorewellError when the
    // compaction failed; the league is then closed all the same, with everything committed kept.
    void Close();
    bool IsOpen() const { return db_.IsOpen(); }

    Database& Db() { return db_; }
    Program& GetProgram() { return program_; }
    const std::string& Path() const { return path_; }
    LeagueAccess Access() const { return access_; }
    WorkingSettings& Settings() { return settings_; }
    const WorkingSettings& Settings() const { return settings_; }

    std::string BackupPath() const { return path_ + ".bak"; }

    // Settings 5, 12, 13, 14, 6 and 17 into the working settings. Throws LeagueOpenError (a
    // damaged league) naming the setting when a value is out of its range; the working settings
    // are unchanged then.
    void LoadWorkingSettings();
    // The point table for scoring, from the working settings.
    PointTable LoadPointTable();

    // What the user should know about the league as it was opened, one plain sentence each:
    // drivers whose names clash (UpdateDriverNameKeys). Both front ends show them.
    const std::vector<std::string>& Warnings() const { return warnings_; }

private:
    Program& program_;
    std::string path_;
    LeagueAccess access_;
    // Taken before the database is opened and let go after it is closed.
    std::unique_ptr<FileLock> lock_;
    Database db_;
    WorkingSettings settings_;
    std::vector<std::string> warnings_;
};

// True when a quarter or more of the file's pages are free, so compacting it gives real space.
bool CompactionPays(Database& db);

// Copies an open database into a new file with the engine's backup API, written beside the
// target under a temporary name and renamed over it when complete.
void BackupDatabase(Database& source, const std::string& target);

// The copy of a league as it was before an action that removes data. The copy is written when
// the action begins; Keep, called once the action has changed something and before it commits,
// puts it in place as LEAGUE.slf.bak, moving the older copies to LEAGUE.slf.bak.1 ... .bak.4
// (five in all, the oldest dropped). A copy not kept is thrown away, so an action that changed
// nothing costs no backup.
class PendingBackup {
public:
    static constexpr int kGenerations = 5;

    // Throws ScorewellError when the copy cannot be written; the league is untouched then.
    explicit PendingBackup(Database& league);
    ~PendingBackup();
    PendingBackup(const PendingBackup&) = delete;
    PendingBackup& operator=(const PendingBackup&) = delete;

    // Throws ScorewellError when the copies cannot be moved; the action must then not commit.
    void Keep();

    // The name of generation n: 0 is LEAGUE.slf.bak, n > 0 is LEAGUE.slf.bak.n.
    static std::string GenerationPath(const std::string& leaguePath, int n);

private:
    std::string leaguePath_;
    std::string pending_;
};

// A database error in plain words: "the disk is full", "the file is in use by another program"...
std::string PlainReason(const DbError& error);

} // namespace scorewell
