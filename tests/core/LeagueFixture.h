#pragma once

// The set-up most core tests share: a program folder and one league file in a fresh temporary
// folder, and a way to read the league's rows as text.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "support/TempDir.h"

namespace scorewell::test {

// Runs the statements of tests/fixtures/<name>, each ended by ";" at the end of a line.
inline void RunSqlFixture(Database& db, const std::string& name) {
    std::string sql = ReadFileBytes(std::string(SCOREWELL_FIXTURES_DIR) + "/" + name);
    std::erase(sql, '\r'); // a checkout may have given the lines CR LF ends
    for (std::size_t from = 0, end; (end = sql.find(";\n", from)) != std::string::npos;
         from = end + 2) {
        db.Execute(sql.substr(from, end - from));
    }
}

class LeagueFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<Program> program = std::make_unique<Program>(dir.File("prog"));
    std::string path = dir.File("cup.slf");
    std::unique_ptr<League> league;

    // Creates the league file and opens it; another decimal separator restarts the program.
    League& Open(int sim = 0, int type = 0, int drop = 0, int lap = 0,
                 const std::string& separator = ".") {
        if (separator != ".") {
            program = std::make_unique<Program>(dir.File("prog"), separator);
        }
        CreateLeagueFile(path, sim, type, program->Db(), drop, lap);
        league = std::make_unique<League>(*program, path);
        return *league;
    }
    Database& Db() { return league->Db(); }
    std::int64_t Count(const std::string& table) {
        return Db().Scalar("SELECT Count(*) FROM " + table).AsInteger();
    }
    // Every row of a query as one text, fields separated by "|", Null as "NULL".
    std::vector<std::string> Rows(const std::string& sql, const std::vector<Value>& params = {}) {
        std::vector<std::string> out;
        for (const auto& row : Db().QueryAll(sql, params).rows) {
            std::string text;
            for (std::size_t i = 0; i < row.size(); ++i) {
                text += (i ? "|" : "") + (row[i].IsNull() ? "NULL" : row[i].AsText());
            }
            out.push_back(text);
        }
        return out;
    }
    // The rows of every query, one line each, as a golden file keeps them.
    std::string Lines(std::initializer_list<std::string> queries) {
        std::string text;
        for (const std::string& sql : queries) {
            for (const std::string& row : Rows(sql)) {
                text += row + "\n";
            }
        }
        return text;
    }
    // Switches the league to its own point system of the given points and prize money.
    void UseCustomPoints(const std::vector<std::pair<int, Value>>& rows) {
        Db().Execute("DELETE FROM PointSystem");
        int position = 0;
        for (const auto& [points, prize] : rows) {
            Db().Execute("INSERT INTO PointSystem (Position, Points, PrizeMoney) VALUES (?,?,?)",
                         {Value(++position), Value(points), prize});
        }
        Db().Execute("UPDATE Settings SET SettingValue='1' WHERE SettingsID=13");
        league->LoadWorkingSettings();
    }
};

} // namespace scorewell::test
