#pragma once

#include <string>
#include <vector>

#include "common/Errors.h"
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
    int simTitle = 0;   // 0 NASCAR Racing 3, 1 NASCAR Legends, 2 NASCAR Racing 2 / 1999,
                        // 3 NASCAR Racing 4
    int leagueType = 0; // 0 on-line, 1 off-line
    bool useCustomPointSystem = false;
    bool useCustomBonusSystem = false;
    int droppedRaces = 0;
    int lapReportingMethod = 0; // 0 speed, 1 time
};

// The open league: its database and working settings. Opening runs every step both front ends
// need (upgrade of older layouts, missing settings, page settings from the program database);
// closing compacts the file.
class League {
public:
    static constexpr const char* kCompactName = "TmpPoints.mdb";

    // Throws LeagueOpenError; the file is never written when it cannot be opened for writing, is
    // locked, damaged, or not a league file.
    League(Program& program, const std::string& path);
    // Closes without compacting when Close was not called (after an error).
    ~League();
    League(const League&) = delete;
    League& operator=(const League&) = delete;

    // Closes the file and compacts it through TmpPoints.mdb in its folder, replacing the league
    // file in one step. Throws ScorewellError when compaction failed; the league file is then
    // untouched, and closed all the same.
    void Close();
    bool IsOpen() const { return db_.IsOpen(); }

    Database& Db() { return db_; }
    Program& GetProgram() { return program_; }
    const std::string& Path() const { return path_; }
    WorkingSettings& Settings() { return settings_; }
    const WorkingSettings& Settings() const { return settings_; }

    // Keeps the league as it is now beside it as LEAGUE.slf.bak (one generation), before an
    // action that removes data without asking. Throws ScorewellError when it cannot be written.
    void Backup();
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
    Database db_;
    WorkingSettings settings_;
    std::vector<std::string> warnings_;
};

// Compacts a closed database file through tempName in its folder and renames the copy over it.
// Throws ScorewellError; on failure the file is untouched and the copy removed.
void CompactDatabaseFile(const std::string& path, const std::string& tempName);

// Copies an open database into a new file with the engine's backup API, written beside the
// target under a temporary name and renamed over it when complete.
void BackupDatabase(Database& source, const std::string& target);

// Keeps an open league file as it is now beside it as LEAGUE.slf.bak (one generation). Throws
// ScorewellError when the copy cannot be written; the league is untouched then.
void BackupLeagueFile(Database& league);

// A database error in plain words: "the disk is full", "the file is in use by another program"...
std::string PlainReason(const DbError& error);

} // namespace scorewell
