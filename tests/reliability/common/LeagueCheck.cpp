#include "LeagueCheck.h"

#include <set>

#include "data/Database.h"
#include "support/CliFixture.h"

namespace scorewell::test {

void FreePages(const std::string& path, long long n) {
    Database db = Database::Open(path);
    db.Execute("CREATE TABLE Filler (x)");
    db.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < ?) "
               "INSERT INTO Filler SELECT randomblob(3000) FROM n",
               {Value(n)});
    db.Execute("DROP TABLE Filler");
}

std::string LeagueProblems(const std::string& path) {
    try {
        // Opened as the program opens it, so a journal left by a killed writer is rolled back.
        Database db = Database::Open(path);
        std::string problems;
        const ResultSet integrity = db.QueryAll("PRAGMA integrity_check");
        if (integrity.rows.size() != 1 || integrity.rows[0][0].AsText() != "ok") {
            problems += "integrity_check:";
            for (const auto& row : integrity.rows) {
                problems += " " + row[0].AsText();
            }
            problems += "\n";
        }
        const ResultSet keys = db.QueryAll("PRAGMA foreign_key_check");
        if (!keys.rows.empty()) {
            problems += "foreign_key_check: " + std::to_string(keys.rows.size()) +
                        " rows without their parent, first in " + keys.rows[0][0].AsText() + "\n";
        }
        return problems;
    } catch (const std::exception& e) {
        return std::string("cannot open: ") + e.what() + "\n";
    }
}

std::string KeyColumns(const std::string& path) {
    Database db = Database::OpenReadOnly(path);
    std::set<std::string> lines;
    auto add = [&](const char* table, const char* sql) {
        for (Cursor c = db.Query(sql); !c.AtEnd(); c.MoveNext()) {
            std::string line = table;
            for (int i = 0; i < c.FieldCount(); ++i) {
                line += "|" + c.Field(i).AsText();
            }
            lines.insert(line);
        }
    };
    add("Race", "SELECT RaceID, Name, FileName, Laps FROM Race");
    add("Driver", "SELECT DriverID, Name, Exclude FROM Driver");
    add("Stats", "SELECT StatsID, RaceID, DriverID, Finish, Start, Points, Bonus FROM Stats");
    add("Settings", "SELECT SettingsID, SettingValue FROM Settings");
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

std::map<std::string, std::vector<int>> ResultsByRaceFile(const std::string& path) {
    Database db = Database::OpenReadOnly(path);
    std::map<std::string, std::vector<int>> results;
    for (Cursor c = db.Query("SELECT Race.FileName, (SELECT Count(*) FROM Stats "
                             "WHERE Stats.RaceID=Race.RaceID) FROM Race");
         !c.AtEnd(); c.MoveNext()) {
        results[c.Field(0).AsText()].push_back(static_cast<int>(c.Field(1).AsInteger()));
    }
    return results;
}

std::string FirstDriver(const std::string& path) {
    Database db = Database::OpenReadOnly(path);
    return db.Scalar("SELECT Name FROM Driver ORDER BY DriverID LIMIT 1").AsText();
}

std::vector<std::vector<std::string>> LeagueCommands(const std::string& league,
                                                     const std::string& folder) {
    return {{"races", league},
            {"drivers", league},
            {"standings", league},
            {"import", league, "--again", kDemoFiles[2]},
            {"export", league, "--report", "1", "-o", folder + "/page.html"},
            {"recalc", league, "--all"},
            {"exclude", league, "Amos Whitlock"},
            {"remove-excluded", league}};
}

} // namespace scorewell::test
