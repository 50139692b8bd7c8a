#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "data/Database.h"

namespace scorewell {

// The league file's field types, as the league layout names them.
enum class FieldType {
    Long,    // 32-bit integer
    Integer, // 16-bit integer
    Single,  // single-precision number
    Boolean, // Yes/No, 0 or 1, never Null
    Text,    // text of at most size characters
    Memo,    // text of any length
    Date,    // a day as text, YYYY-MM-DD
};

struct FieldSpec {
    std::string_view name;
    FieldType type;
    int size = 0;
    bool required = false;
    bool autoIncrement = false;
    std::string_view defaultValue = {};
    // Text that must hold more than blanks.
    bool notBlank = false;
};

// The column definition that makes the engine refuse what the layout refuses: zero-length text,
// text longer than its size, Null in a required field, a non-number in a number column, numbers
// out of range. Text compares without regard to letter case.
std::string FieldDefinition(std::string_view table, const FieldSpec& field);

// Creates a new league file (which must not exist) with the league tables, the settings rows and
// the staging and rule tables, and closes it. Engine errors reach the caller; a partly built file
// is removed again.
void CreateLeagueFile(const std::string& fileName, int simTitle, int leagueType,
                      Database& programDb, int droppedRaces, int lapReportingMethod);

// Adds STNRace, STNStats, PointSystem, Bonus, RankCriteria and their relation to an open league
// file, and copies the default bonus rules, rank criteria and point system of the program
// database into it.
void CreateStagingTables(Database& league, Database& programDb);

// Brings a league file of an older layout up to date. Every step is independent: one that fails
// leaves its part of the file as it was and the next step runs.
void UpgradeLeagueFile(Database& league, Database& programDb);

// Adds the table of point adjustments (Adjustment) with its relations to Driver and Race: an
// adjustment goes with its driver, and with its race when it has one.
void CreateAdjustmentTable(Database& league);

// Adds the settings 12, 13 and 14 when they are missing: older files become on-line leagues with
// the preset point system and the built-in bonuses.
void AddMissingSettings(Database& league);

// The full file name a new league gets for a typed name: a name without folder goes into the
// program folder, and ".slf" is appended unless the extension already is "slf" in any letter case
// (so "league.mdb" becomes "league.mdb.slf").
std::string NewLeagueFileName(std::string_view typed, std::string_view programFolder);

// The league file a typed name refers to, so that a league is found by the name it was created
// with: the name as typed when a file is there, else with ".slf" appended; for a name without
// folder, then the same two in the program folder. When none is there, the name as typed (the
// caller then says what is there instead).
std::string FindLeagueFileName(std::string_view typed, std::string_view programFolder);

// The first field of the current layout that the league lacks ("Stats.Finish"); nothing when it
// has them all. A file whose table definitions were damaged may still read as a sound database.
std::optional<std::string> MissingLayoutField(Database& league);

bool TableExists(Database& db, std::string_view table);
bool FieldExists(Database& db, std::string_view table, std::string_view field);

} // namespace scorewell
