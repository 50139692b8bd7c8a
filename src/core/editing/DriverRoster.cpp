#include "editing/DriverRoster.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "common/Errors.h"
#include "common/Text.h"

namespace scorewell {

namespace {

// The name as the roster keeps it; "|" stays out of names typed for the roster, as the driver
// editor refuses it.
std::string RosterName(std::string_view typed) {
    std::string name = CheckedDriverName(typed);
    if (name.find('|') != std::string::npos) {
        throw ScorewellError("The driver's name \"" + Excerpt(name) +
                             "\" holds the character \"|\", which a name cannot have.");
    }
    return name;
}

std::string DriverName(Database& league, std::int32_t id) {
    const Value name = league.Scalar("SELECT Name FROM Driver WHERE DriverID=?", {Value(id)});
    if (name.IsNull() &&
        league.Scalar("SELECT Count(*) FROM Driver WHERE DriverID=?", {Value(id)}).AsInteger() ==
            0) {
        throw ScorewellError("The driver is no longer in the league.");
    }
    return name.AsText();
}

std::string Listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += i == 0 ? "" : i + 1 == items.size() ? " and " : ", ";
        text += items[i];
    }
    return text;
}

// The columns of other tables that hold a DriverID (results, and whatever else belongs to a
// driver), found from the league's own relations so a merge misses none.
std::vector<std::pair<std::string, std::string>> DriverReferences(Database& league) {
    std::vector<std::pair<std::string, std::string>> columns;
    const ResultSet tables = league.QueryAll(
        "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite%'");
    for (const auto& table : tables.rows) {
        const std::string name = table[0].AsText();
        const ResultSet keys = league.QueryAll(
            "SELECT \"from\" FROM pragma_foreign_key_list(?) WHERE \"table\"='Driver'",
            {Value(name)});
        for (const auto& key : keys.rows) {
            columns.emplace_back(name, key[0].AsText());
        }
    }
    return columns;
}

} // namespace

std::int32_t HandicapValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    const bool negative = i < text.size() && text[i] == '-';
    if (negative || (i < text.size() && text[i] == '+')) {
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), INT_MAX);
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::vector<RosterDriver> ListRoster(Database& league) {
    std::vector<RosterDriver> drivers;
    for (Cursor c =
             league.Query(std::string("SELECT ") + kDriverRowColumns +
                          ", (SELECT Count(*) FROM Stats WHERE Stats.DriverID=Driver.DriverID) "
                          "FROM Driver ORDER BY Name, DriverID");
         !c.AtEnd(); c.MoveNext()) {
        drivers.push_back({DriverRowOf(c), c.Field(5).AsInteger()});
    }
    return drivers;
}

std::optional<DriverRow> LoadDriver(Database& league, std::int32_t driverId) {
    Cursor c =
        league.Query(std::string("SELECT ") + kDriverRowColumns + " FROM Driver WHERE DriverID=?",
                     {Value(driverId)});
    if (c.AtEnd()) {
        return std::nullopt;
    }
    return DriverRowOf(c);
}

std::int32_t FindNameClash(Database& league, std::string_view name, std::int32_t except) {
    return static_cast<std::int32_t>(
        league
            .Scalar("SELECT DriverID FROM Driver WHERE NameKey=? AND DriverID<>? "
                    "ORDER BY DriverID LIMIT 1",
                    {Value(DriverNameKey(Trim(name))), Value(except)})
            .AsInteger());
}

std::int32_t DriverByName(Database& league, std::string_view name) {
    const std::vector<std::int32_t> ids = FindDriversByName(league, Trim(name));
    if (ids.empty()) {
        throw ScorewellError("The league has no driver named \"" + std::string(name) + "\".");
    }
    if (ids.size() == 1) {
        return ids.front();
    }
    for (std::int32_t id : ids) {
        if (DriverName(league, id) == Trim(name)) {
            return id;
        }
    }
    throw ScorewellError("The league has several drivers named \"" + std::string(name) +
                         "\" in different letter case; give the name exactly as one of them is "
                         "written.");
}

std::int32_t AddDriver(Database& league, const DriverEntry& entry) {
    const std::string name = RosterName(entry.name);
    Transaction t(league);
    if (FindNameClash(league, name) != 0) {
        throw ScorewellError("\"" + name + "\" already exists!");
    }
    league.Execute(
        "INSERT INTO Driver (Name, NameKey, Exclude, Rookie, Handicap) VALUES (?, ?, ?, ?, ?)",
        {Value(name), Value(DriverNameKey(name)), Value(entry.excluded), Value(entry.rookie),
         Value(entry.handicap)});
    const auto id =
        static_cast<std::int32_t>(league.Scalar("SELECT Max(DriverID) FROM Driver").AsInteger());
    t.Commit();
    return id;
}

void UpdateDriver(Database& league, std::int32_t driverId, const DriverEntry& entry) {
    const std::string name = RosterName(entry.name);
    Transaction t(league);
    DriverName(league, driverId);
    if (const std::int32_t other = FindNameClash(league, name, driverId); other != 0) {
        throw ScorewellError("\"" + name +
                             "\" already exists! Merge the two drivers to make "
                             "them one.");
    }
    league.Execute("UPDATE Driver SET Name=?, NameKey=?, Handicap=?, Rookie=?, Exclude=? "
                   "WHERE DriverID=?",
                   {Value(name), Value(DriverNameKey(name)), Value(entry.handicap),
                    Value(entry.rookie), Value(entry.excluded), Value(driverId)});
    t.Commit();
}

std::vector<std::string> SharedRaces(Database& league, std::int32_t a, std::int32_t b) {
    std::vector<std::string> races;
    for (Cursor c = league.Query("SELECT RaceID, Name FROM Race WHERE RaceID IN "
                                 "(SELECT RaceID FROM Stats WHERE DriverID=?) AND RaceID IN "
                                 "(SELECT RaceID FROM Stats WHERE DriverID=?) ORDER BY RaceID",
                                 {Value(a), Value(b)});
         !c.AtEnd(); c.MoveNext()) {
        races.push_back("\"" + c.Field(1).AsText() + "\" (race " + c.Field(0).AsText() + ")");
    }
    return races;
}

void MergeDrivers(League& league, std::int32_t from, std::int32_t into) {
    Database& db = league.Db();
    if (from == into) {
        throw ScorewellError("A driver cannot be merged into himself.");
    }
    const std::string fromName = DriverName(db, from);
    const std::string intoName = DriverName(db, into);
    if (const auto races = SharedRaces(db, from, into); !races.empty()) {
        throw ScorewellError("\"" + fromName + "\" and \"" + intoName +
                             "\" both have a result in " + Listed(races) +
                             ", so they are two drivers and cannot be merged. Give one of them "
                             "another name instead.");
    }
    PendingBackup backup(db);
    Transaction t(db);
    for (const auto& [table, column] : DriverReferences(db)) {
        db.Execute("UPDATE " + QuoteIdentifier(table) + " SET " + QuoteIdentifier(column) +
                       "=? WHERE " + QuoteIdentifier(column) + "=?",
                   {Value(into), Value(from)});
    }
    db.Execute("DELETE FROM Driver WHERE DriverID=?", {Value(from)});
    backup.Keep();
    t.Commit();
}

std::int64_t RemoveDrivers(League& league, const std::vector<std::int32_t>& driverIds) {
    Database& db = league.Db();
    PendingBackup backup(db);
    Transaction t(db);
    std::int64_t results = 0;
    int removed = 0;
    for (std::int32_t id : driverIds) {
        results +=
            db.Scalar("SELECT Count(*) FROM Stats WHERE DriverID=?", {Value(id)}).AsInteger();
        // The relation removes the driver's results with him.
        db.Execute("DELETE FROM Driver WHERE DriverID=?", {Value(id)});
        removed += db.Changes();
    }
    if (removed > 0) {
        backup.Keep();
    }
    t.Commit();
    return results;
}

void SetExcludedById(Database& league, const std::vector<std::int32_t>& driverIds, bool exclude) {
    Transaction t(league);
    for (std::int32_t id : driverIds) {
        league.Execute("UPDATE Driver SET Exclude=? WHERE DriverID=?", {Value(exclude), Value(id)});
    }
    t.Commit();
}

} // namespace scorewell
