#include "data/Drivers.h"

#include <optional>
#include <utility>

#include "common/Errors.h"
#include "common/Text.h"

namespace scorewell {

namespace {

constexpr const char* kKeyIndex = "NameKey";

// Whether the key index is unique; nothing when there is none, or one of that name that is not
// on Driver.NameKey alone.
std::optional<bool> KeyIndexIsUnique(Database& league) {
    const Value unique = league.Scalar(
        "SELECT \"unique\" FROM pragma_index_list('Driver') WHERE name=?", {Value(kKeyIndex)});
    if (unique.IsNull()) {
        return std::nullopt;
    }
    const ResultSet columns =
        league.QueryAll("SELECT name FROM pragma_index_info(?)", {Value(kKeyIndex)});
    if (columns.rows.size() != 1 || columns.rows[0][0].AsText() != "NameKey") {
        return std::nullopt;
    }
    return unique.AsInteger() != 0;
}

std::string QuotedNames(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += i == 0 ? "" : i + 1 == names.size() ? " and " : ", ";
        text += "\"" + names[i] + "\"";
    }
    return text;
}

} // namespace

std::string DriverNameKey(std::string_view name) {
    return FoldCase(name);
}

std::string CheckedDriverName(std::string_view typed) {
    std::string name = Trim(typed);
    if (name.empty()) {
        throw ScorewellError("The driver's name is missing.");
    }
    if (const std::size_t length = CharacterCount(name); length > kDriverNameLength) {
        throw ScorewellError("The driver's name \"" + Excerpt(name) + "\" has " +
                             std::to_string(length) + " characters; a name has at most " +
                             std::to_string(kDriverNameLength) + ". Shorten it and save again.");
    }
    return name;
}

std::vector<std::string> UpdateDriverNameKeys(Database& league) {
    std::vector<std::pair<Value, Value>> outOfStep; // new key, DriverID
    for (Cursor c = league.Query("SELECT DriverID, Name, NameKey FROM Driver"); !c.AtEnd();
         c.MoveNext()) {
        const Value name = c.Field(1);
        const Value key = name.IsText() ? Value(DriverNameKey(name.Text())) : Value();
        const Value stored = c.Field(2);
        if (stored.IsNull() != key.IsNull() || (key.IsText() && stored.AsText() != key.Text())) {
            outOfStep.emplace_back(key, c.Field(0));
        }
    }
    std::optional<bool> unique = KeyIndexIsUnique(league);
    if (league.IndexExists(kKeyIndex) && (!unique || !outOfStep.empty())) {
        // Keys change all at once: one changed before another could clash for a moment.
        league.DropIndex(kKeyIndex);
        unique.reset();
    }
    for (const auto& [key, id] : outOfStep) {
        league.Execute("UPDATE Driver SET NameKey=? WHERE DriverID=?", {key, id});
    }

    std::vector<std::string> warnings;
    std::vector<std::string> names;
    Value clashKey;
    auto warn = [&] {
        if (names.size() > 1) {
            warnings.push_back("The drivers " + QuotedNames(names) +
                               " are one name written in different letter case, and their points "
                               "are counted apart; results under that name go to \"" +
                               names.front() + "\". Merge them into one driver or rename one.");
        }
        names.clear();
    };
    for (Cursor c = league.Query("SELECT NameKey, Name FROM Driver WHERE NameKey IN "
                                 "(SELECT NameKey FROM Driver GROUP BY NameKey "
                                 "HAVING Count(*) > 1) ORDER BY NameKey, DriverID");
         !c.AtEnd(); c.MoveNext()) {
        if (c.Field(0).AsText() != clashKey.AsText()) {
            warn();
            clashKey = c.Field(0);
        }
        names.push_back(c.Field(1).AsText());
    }
    warn();

    const bool canBeUnique = warnings.empty();
    if (unique && *unique != canBeUnique) {
        league.DropIndex(kKeyIndex);
        unique.reset();
    }
    if (!unique) {
        league.Execute(std::string(canBeUnique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                       QuoteIdentifier(kKeyIndex) + " ON \"Driver\" (\"NameKey\")");
    }
    return warnings;
}

std::vector<DriverRow> ListDrivers(Database& league) {
    std::vector<DriverRow> drivers;
    for (Cursor c = league.Query(std::string("SELECT ") + kDriverRowColumns +
                                 " FROM Driver ORDER BY Name, DriverID");
         !c.AtEnd(); c.MoveNext()) {
        drivers.push_back(DriverRowOf(c));
    }
    return drivers;
}

DriverRow DriverRowOf(const Cursor& c) {
    DriverRow row;
    row.driverId = static_cast<std::int32_t>(c.Field(0).AsInteger());
    row.name = c.Field(1).AsText();
    row.exclude = c.Field(2).AsInteger() != 0;
    row.rookie = c.Field(3).AsInteger() != 0;
    row.handicap = static_cast<std::int32_t>(c.Field(4).AsInteger());
    return row;
}

std::vector<std::int32_t> FindDriversByName(Database& league, std::string_view name) {
    std::vector<std::int32_t> ids;
    for (Cursor c = league.Query("SELECT DriverID FROM Driver WHERE NameKey=? ORDER BY DriverID",
                                 {Value(DriverNameKey(name))});
         !c.AtEnd(); c.MoveNext()) {
        ids.push_back(static_cast<std::int32_t>(c.Field(0).AsInteger()));
    }
    return ids;
}

void SetDriversExcluded(Database& league, const std::vector<std::string>& names, bool exclude) {
    Transaction t(league);
    for (const std::string& name : names) {
        std::vector<std::int32_t> ids = FindDriversByName(league, name);
        if (ids.empty()) {
            throw ScorewellError("The league has no driver named \"" + name + "\".");
        }
        for (std::int32_t id : ids) {
            league.Execute("UPDATE Driver SET Exclude=? WHERE DriverID=?",
                           {Value(exclude), Value(id)});
        }
    }
    t.Commit();
}

std::int32_t GetDriverID(Database& league, std::string_view name) {
    // A blank name is no name at all, and the required Name field refuses it.
    const bool blank = Trim(name).empty();
    const Value key = blank ? Value() : Value(DriverNameKey(name));
    Value id = league.Scalar(
        "SELECT DriverID FROM Driver WHERE NameKey=? ORDER BY DriverID LIMIT 1", {key});
    if (!id.IsNull()) {
        return static_cast<std::int32_t>(id.AsInteger());
    }
    league.Execute("INSERT INTO Driver (Name, NameKey, Handicap) VALUES (?, ?, 0)",
                   {blank ? Value() : Value(name), key});
    return static_cast<std::int32_t>(league.LastInsertRowId());
}

bool IsDriverNameExcluded(Database& league, std::string_view name) {
    return league
               .Scalar("SELECT Exclude FROM Driver WHERE NameKey=? ORDER BY DriverID LIMIT 1",
                       {Value(DriverNameKey(name))})
               .AsInteger() != 0;
}

} // namespace scorewell
