#include "data/Drivers.h"

#include "common/Errors.h"

namespace scorewell {

std::vector<DriverRow> ListDrivers(Database& league) {
    std::vector<DriverRow> drivers;
    for (Cursor c = league.Query("SELECT DriverID, Name, Exclude, Rookie, Handicap FROM Driver "
                                 "ORDER BY Name, DriverID");
         !c.AtEnd(); c.MoveNext()) {
        DriverRow row;
        row.driverId = static_cast<std::int32_t>(c.Field(0).AsInteger());
        row.name = c.Field(1).AsText();
        row.exclude = c.Field(2).AsInteger() != 0;
        row.rookie = c.Field(3).AsInteger() != 0;
        row.handicap = static_cast<std::int32_t>(c.Field(4).AsInteger());
        drivers.push_back(std::move(row));
    }
    return drivers;
}

std::vector<std::int32_t> FindDriversByName(Database& league, std::string_view name) {
    std::vector<std::int32_t> ids;
    for (Cursor c = league.Query("SELECT DriverID FROM Driver WHERE Name=? ORDER BY DriverID",
                                 {Value(name)});
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

} // namespace scorewell
