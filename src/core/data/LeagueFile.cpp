#include "data/LeagueFile.h"

#include <cstdio>
#include <span>
#include <vector>

#include "common/Domain.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/Drivers.h"
#include "data/Settings.h"

namespace scorewell {

namespace {

using F = FieldType;

// The league layout, table by table, fields in their order.
constexpr FieldSpec kDriver[] = {
    {"DriverID", F::Long, 0, false, true},
    {"Name", F::Text, 50, true},
    {"Exclude", F::Boolean},
    {"Rookie", F::Boolean},
    {"Handicap", F::Long, 0, false, false, "0"},
    // The name case-folded: what identifies a driver (DriverNameKey), kept in step by the
    // program, with an index of its own.
    {"NameKey", F::Text, 50},
};

constexpr FieldSpec kRace[] = {
    {"RaceID", F::Long, 0, false, true},
    {"Name", F::Text, 50},
    {"FileName", F::Text, 50},
    {"Length", F::Single},
    {"Laps", F::Integer},
    {"RaceTime", F::Text, 15},
    {"AvgSpeed", F::Text, 10},
    {"VictoryMargin", F::Text, 10},
    {"Cautions", F::Integer},
    {"LeadChanges", F::Integer},
    {"Weather", F::Text, 20},
};

constexpr FieldSpec kSettings[] = {
    {"SettingsID", F::Long},
    {"SettingName", F::Text, 50},
    {"SettingValue", F::Memo},
};

constexpr FieldSpec kStats[] = {
    {"StatsID", F::Long, 0, false, true},
    {"RaceID", F::Long},
    {"DriverID", F::Long},
    {"Start", F::Integer},
    {"Finish", F::Integer},
    {"LapsRun", F::Integer},
    {"LapsLed", F::Integer},
    {"Status", F::Text, 25},
    {"Points", F::Long},
    {"Bonus", F::Long},
    {"PrizeMoney", F::Long},
    {"Qualifying", F::Single},
    {"Dropped", F::Boolean},
    {"AvgSpeed", F::Text, 10},
};

constexpr FieldSpec kSTNRace[] = {
    {"STNRaceID", F::Long, 0, true, true},
    {"Name", F::Text, 50},
    {"FileName", F::Text, 50},
    {"Length", F::Single},
    {"Laps", F::Integer},
    {"RaceTime", F::Text, 15},
    {"AvgSpeed", F::Text, 10},
    {"VictoryMargin", F::Text, 10},
    {"Cautions", F::Integer},
    {"LeadChanges", F::Integer},
    {"Weather", F::Text, 20},
};

constexpr FieldSpec kSTNStats[] = {
    {"STNStatsID", F::Long, 0, true, true},
    {"STNRaceID", F::Long},
    {"Finish", F::Integer},
    {"Start", F::Integer},
    {"DriverName", F::Text, 50},
    {"LapsRun", F::Integer},
    {"LapsLed", F::Integer},
    {"Points", F::Long},
    {"Bonus", F::Long},
    {"Qualifying", F::Single},
    {"ReasonOut", F::Text, 25},
    {"PrizeMoney", F::Long},
    {"Exclude", F::Boolean},
    {"AvgSpeed", F::Single},
};

constexpr FieldSpec kPointSystem[] = {
    {"Position", F::Integer, 0, true},
    {"Points", F::Integer},
    {"PrizeMoney", F::Long},
};

constexpr FieldSpec kBonus[] = {
    {"BonusID", F::Long, 0, true, true},
    {"Name", F::Text, 30},
    {"Points", F::Integer},
    {"Query", F::Memo},
};

constexpr FieldSpec kRankCriteria[] = {
    {"RankCriteriaID", F::Long, 0, true, true},
    {"Name", F::Text, 30},
    {"Priority", F::Integer},
    {"Query", F::Memo},
};

// Points given or taken by the stewards: signed, for the season or for one race, with the reason
// they were given.
constexpr FieldSpec kAdjustment[] = {
    {"AdjustmentID", F::Long, 0, false, true},
    {"DriverID", F::Long, 0, true},
    {"RaceID", F::Long},
    {"Points", F::Long, 0, true},
    {"Reason", F::Memo, 0, true, false, {}, true},
    {"Entered", F::Date, 0, true},
};

struct Relation {
    std::string_view name;
    std::string_view field;
    std::string_view primaryTable;
};

template <std::size_t N>
std::string CreateTableSql(std::string_view table, const FieldSpec (&fields)[N],
                           std::string_view primaryKey,
                           std::initializer_list<Relation> relations = {}) {
    std::string sql = "CREATE TABLE " + QuoteIdentifier(table) + " (";
    bool first = true;
    for (const FieldSpec& f : fields) {
        sql += first ? "\n  " : ",\n  ";
        first = false;
        if (f.name == primaryKey && !f.autoIncrement) {
            // The key of a table without a counter: the row's own number, so compaction keeps it.
            sql += QuoteIdentifier(f.name) + " INTEGER PRIMARY KEY";
            sql += f.type == F::Integer
                       ? " CONSTRAINT " +
                             QuoteIdentifier(std::string(table) + "." + std::string(f.name) +
                                             " must be a whole number from "
                                             "-32768 to 32767") +
                             " CHECK (" + QuoteIdentifier(f.name) + " BETWEEN -32768 AND 32767)"
                       : "";
        } else {
            sql += FieldDefinition(table, f);
        }
    }
    for (const Relation& r : relations) {
        sql += ",\n  CONSTRAINT " + QuoteIdentifier(r.name) + " FOREIGN KEY (" +
               QuoteIdentifier(r.field) + ") REFERENCES " + QuoteIdentifier(r.primaryTable) + " (" +
               QuoteIdentifier(r.field) + ") ON UPDATE CASCADE ON DELETE CASCADE";
    }
    sql += "\n)";
    return sql;
}

void CreateIndex(Database& db, std::string_view index, std::string_view table,
                 std::string_view field) {
    db.Execute("CREATE INDEX " + QuoteIdentifier(index) + " ON " + QuoteIdentifier(table) + " (" +
               QuoteIdentifier(field) + ")");
}

// Copies every row of a program database table into the league table of the same name, column
// by column in their order.
void CopyRows(Database& league, Database& programDb, const std::string& selectSql,
              std::string_view table) {
    ResultSet rows = programDb.QueryAll(selectSql);
    if (rows.columns.empty()) {
        return;
    }
    std::string sql = "INSERT INTO " + QuoteIdentifier(table) + " VALUES (";
    for (std::size_t i = 0; i < rows.columns.size(); ++i) {
        sql += i ? ",?" : "?";
    }
    sql += ")";
    Statement insert(league, sql);
    for (const auto& row : rows.rows) {
        insert.Run(row);
    }
}

void InsertSetting(Database& league, int id, std::string_view name, const Value& value) {
    league.Execute("INSERT INTO Settings (SettingsID, SettingName, SettingValue) VALUES (?,?,?)",
                   {Value(id), Value(name), value});
}

// Runs one upgrade step under its own savepoint; a failing step is undone and passed over.
template <class Step>
void UpgradeStep(Database& db, Step step) {
    try {
        Transaction t(db);
        step();
        t.Commit();
    } catch (const TransactionLost&) {
        throw; // the upgrade as a whole is over
    } catch (const std::exception&) {
    }
}

} // namespace

std::string FieldDefinition(std::string_view table, const FieldSpec& field) {
    const std::string name = QuoteIdentifier(field.name);
    const std::string label = std::string(table) + "." + std::string(field.name);
    auto check = [&](const std::string& rule, const std::string& condition) {
        std::string nullable = field.required ? "" : name + " IS NULL OR ";
        return " CONSTRAINT " + QuoteIdentifier(label + " must be " + rule) + " CHECK (" +
               nullable + "(" + condition + "))";
    };
    std::string def = name;
    switch (field.type) {
    case F::Long:
        if (field.autoIncrement) {
            return def + " INTEGER PRIMARY KEY AUTOINCREMENT";
        }
        def += " INTEGER";
        def += check("a whole number", "typeof(" + name + ")='integer' AND " + name +
                                           " BETWEEN -2147483648 AND 2147483647");
        break;
    case F::Integer:
        def += " SMALLINT";
        def += check("a whole number from -32768 to 32767",
                     "typeof(" + name + ")='integer' AND " + name + " BETWEEN -32768 AND 32767");
        break;
    case F::Single:
        def += " FLOAT";
        def += check("a number", "typeof(" + name + ")='real' AND abs(" + name + ")<=3.4e38");
        break;
    case F::Boolean:
        // Like Yes/No fields, a Null written here reads back as No.
        return def + " BOOLEAN NOT NULL ON CONFLICT REPLACE DEFAULT 0" +
               check("Yes or No", name + " IN (0,1)");
    case F::Text:
        def += " TEXT(" + std::to_string(field.size) + ") COLLATE NOCASE";
        def += check("a text of 1 to " + std::to_string(field.size) + " characters",
                     "typeof(" + name + ")='text' AND length(" + name + ") BETWEEN 1 AND " +
                         std::to_string(field.size));
        break;
    case F::Memo:
        def += " TEXT COLLATE NOCASE";
        def += field.notBlank ? check("a text that is not blank",
                                      "typeof(" + name + ")='text' AND length(trim(" + name +
                                          ", ' ' || char(9, 10, 13)))>=1")
                              : check("a text that is not empty",
                                      "typeof(" + name + ")='text' AND length(" + name + ")>=1");
        break;
    case F::Date:
        def += " TEXT(10)";
        def += check("a date written YYYY-MM-DD",
                     "typeof(" + name + ")='text' AND " + name +
                         " GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]'");
        break;
    }
    if (field.required) {
        def += " NOT NULL";
    }
    if (!field.defaultValue.empty()) {
        def += " DEFAULT " + std::string(field.defaultValue);
    }
    return def;
}

void CreateLeagueFile(const std::string& fileName, int simTitle, int leagueType,
                      Database& programDb, int droppedRaces, int lapReportingMethod) {
    Database league = Database::Create(fileName);
    try {
        Transaction t(league);
        league.Execute(CreateTableSql("Driver", kDriver, "DriverID"));
        CreateIndex(league, "Name", "Driver", "Name");
        UpdateDriverNameKeys(league);
        league.Execute(CreateTableSql("Race", kRace, "RaceID"));
        league.Execute(CreateTableSql("Settings", kSettings, "SettingsID"));
        league.Execute(CreateTableSql(
            "Stats", kStats, "StatsID",
            {{"DriverStatsX", "DriverID", "Driver"}, {"RaceStatsX", "RaceID", "Race"}}));
        CreateIndex(league, "DriverStats", "Stats", "DriverID");
        CreateIndex(league, "RaceStats", "Stats", "RaceID");
        CreateAdjustmentTable(league);

        InsertSetting(league, SettingId::PageHeading, "Page Heading", Value("XYZ Racing League"));
        InsertSetting(league, SettingId::ReportName, "Report Name", Value("Point Standings"));
        InsertSetting(league, SettingId::Caption, "Caption", Value("Results after X races"));
        InsertSetting(league, SettingId::SimTitle, "Sim Title", Value(simTitle));
        InsertSetting(league, SettingId::DroppedRaces, "Dropped Races",
                      Value(std::to_string(droppedRaces)));
        InsertSetting(league, SettingId::LeagueType, "League Type",
                      Value(std::to_string(leagueType)));
        InsertSetting(league, SettingId::UseCustomPointSystem, "Use Custom Point System",
                      Value("0"));
        InsertSetting(league, SettingId::UseCustomBonusSystem, "Use Custom Bonus System",
                      Value("0"));
        InsertSetting(league, SettingId::LapReportingMethod, "Lap Reporting Method",
                      Value(std::to_string(lapReportingMethod)));

        CreateStagingTables(league, programDb);
        t.Commit();
        league.Close();
    } catch (...) {
        // Nothing half-built is left behind: the file was new, so it goes again.
        std::string path = league.Path();
        league.Close();
        std::remove(NativePath(path).c_str());
        std::remove(NativePath(path + "-journal").c_str());
        throw;
    }
}

void CreateStagingTables(Database& league, Database& programDb) {
    Transaction t(league);
    league.Execute(CreateTableSql("STNRace", kSTNRace, "STNRaceID"));
    league.Execute(CreateTableSql("STNStats", kSTNStats, "STNStatsID",
                                  {{"STNRaceResults", "STNRaceID", "STNRace"}}));
    CreateIndex(league, "STNRaceIDKey", "STNStats", "STNRaceID");
    CreateIndex(league, "DNameIDX", "STNStats", "DriverName");
    league.Execute(CreateTableSql("PointSystem", kPointSystem, "Position"));
    league.Execute(CreateTableSql("Bonus", kBonus, "BonusID"));
    league.Execute(CreateTableSql("RankCriteria", kRankCriteria, "RankCriteriaID"));

    CopyRows(league, programDb, "SELECT * FROM Bonus", "Bonus");
    CopyRows(league, programDb, "SELECT Position, Tabulon AS Points, NULL FROM PointSystem",
             "PointSystem");
    CopyRows(league, programDb, "SELECT * FROM RankCriteria", "RankCriteria");
    t.Commit();
}

void CreateAdjustmentTable(Database& league) {
    Transaction t(league);
    league.Execute(CreateTableSql(
        "Adjustment", kAdjustment, "AdjustmentID",
        {{"DriverAdjustmentX", "DriverID", "Driver"}, {"RaceAdjustmentX", "RaceID", "Race"}}));
    CreateIndex(league, "DriverAdjustment", "Adjustment", "DriverID");
    CreateIndex(league, "RaceAdjustment", "Adjustment", "RaceID");
    t.Commit();
}

void UpgradeLeagueFile(Database& league, Database& programDb) {
    UpgradeStep(league, [&] {
        if (!league.FieldExists("Stats", "Dropped")) {
            league.AddField("Stats", FieldDefinition("Stats", {"Dropped", F::Boolean}));
        }
    });
    UpgradeStep(league, [&] {
        if (!league.FieldExists("Driver", "Exclude")) {
            league.AddField("Driver", FieldDefinition("Driver", {"Exclude", F::Boolean}));
        }
    });
    UpgradeStep(league, [&] {
        if (!league.FieldExists("Race", "RaceTime")) {
            for (const FieldSpec& f : kRace) {
                if (f.name == "RaceTime" || f.name == "AvgSpeed" || f.name == "VictoryMargin" ||
                    f.name == "Cautions" || f.name == "LeadChanges" || f.name == "Weather") {
                    league.AddField("Race", FieldDefinition("Race", f));
                }
            }
        }
    });
    UpgradeStep(league, [&] {
        if (!league.TableExists("STNRace")) {
            CreateStagingTables(league, programDb);
        }
    });
    UpgradeStep(league, [&] {
        if (league.FieldExists("Driver", "CarNumber")) {
            // Staging tables made by the step before never had car numbers; take away only
            // what is there, so the drivers always get their new fields.
            league.DropField("Driver", "CarNumber");
            if (league.IndexExists("DNumIDX")) {
                league.DropIndex("DNumIDX");
            }
            if (league.FieldExists("STNStats", "DriverNum")) {
                league.DropField("STNStats", "DriverNum");
            }
            if (!league.FieldExists("Driver", "Rookie")) {
                league.AddField("Driver", FieldDefinition("Driver", {"Rookie", F::Boolean}));
            }
            if (!league.FieldExists("Driver", "Handicap")) {
                league.AddField("Driver", FieldDefinition("Driver", {"Handicap", F::Long, 0, false,
                                                                     false, "0"}));
            }
            league.Execute("UPDATE Driver SET Handicap=0");
        }
    });
    UpgradeStep(league, [&] {
        if (!league.FieldExists("Stats", "AvgSpeed")) {
            league.AddField("Stats", FieldDefinition("Stats", {"AvgSpeed", F::Text, 10}));
        }
    });
    UpgradeStep(programDb, [&] {
        if (!programDb.FieldExists("ReportField", "Hidden")) {
            programDb.AddField("ReportField", "\"Hidden\" BOOLEAN NOT NULL ON CONFLICT REPLACE "
                                              "DEFAULT 0");
        }
    });
    UpgradeStep(league, [&] {
        if (league.DeclaredSize("Race", "Weather") != 50) {
            const FieldSpec weather{"Weather", F::Text, 50};
            league.RenameField("Race", "Weather", "Weather2");
            league.AddField("Race", FieldDefinition("Race", weather));
            league.Execute("UPDATE Race SET Weather=Weather2");
            league.DropField("Race", "Weather2");
            league.DropField("STNRace", "Weather");
            league.AddField("STNRace", FieldDefinition("STNRace", weather));
        }
    });
    UpgradeStep(league, [&] {
        if (!league.FieldExists("Driver", "NameKey")) {
            league.AddField("Driver", FieldDefinition("Driver", {"NameKey", F::Text, 50}));
            UpdateDriverNameKeys(league);
        }
    });
    UpgradeStep(league, [&] {
        if (!league.TableExists("Adjustment")) {
            CreateAdjustmentTable(league);
        }
    });
}

void AddMissingSettings(Database& league) {
    const struct {
        int id;
        const char* name;
    } settings[] = {
        {12, "League Type"}, {13, "Use Custom Point System"}, {14, "Use Custom Bonus System"}};
    for (const auto& s : settings) {
        if (ReadSetting(league, s.id) == kMissingSetting) {
            InsertSetting(league, s.id, s.name, Value(0));
        }
    }
}

std::string NewLeagueFileName(std::string_view typed, std::string_view programFolder) {
    std::string name(typed);
    if (FolderOf(name).empty()) {
        name = JoinPath(programFolder, name);
    }
    if (ToLower(FileExtension(name)) != "slf") {
        name += ".slf";
    }
    return name;
}

std::string FindLeagueFileName(std::string_view typed, std::string_view programFolder) {
    const std::string name(typed);
    if (Trim(name).empty()) {
        return name;
    }
    std::vector<std::string> candidates = {name, name + ".slf"};
    if (FolderOf(name).empty()) {
        candidates.push_back(JoinPath(programFolder, name));
        candidates.push_back(JoinPath(programFolder, name + ".slf"));
    }
    for (const std::string& candidate : candidates) {
        if (FileExists(candidate)) {
            return candidate;
        }
    }
    return name;
}

std::optional<std::string> MissingLayoutField(Database& league) {
    struct Table {
        std::string_view name;
        std::span<const FieldSpec> fields;
    };
    const Table tables[] = {{"Driver", kDriver},
                            {"Race", kRace},
                            {"Settings", kSettings},
                            {"Stats", kStats},
                            {"STNRace", kSTNRace},
                            {"STNStats", kSTNStats},
                            {"PointSystem", kPointSystem},
                            {"Bonus", kBonus},
                            {"RankCriteria", kRankCriteria},
                            {"Adjustment", kAdjustment}};
    for (const Table& table : tables) {
        const std::vector<FieldInfo> present = league.Fields(table.name);
        for (const FieldSpec& field : table.fields) {
            bool found = false;
            for (const FieldInfo& info : present) {
                found = found || EqualsNoCase(info.name, field.name);
            }
            if (!found) {
                return std::string(table.name) + "." + std::string(field.name);
            }
        }
    }
    return std::nullopt;
}

bool TableExists(Database& db, std::string_view table) {
    return db.TableExists(table);
}

bool FieldExists(Database& db, std::string_view table, std::string_view field) {
    return db.FieldExists(table, field);
}

} // namespace scorewell
