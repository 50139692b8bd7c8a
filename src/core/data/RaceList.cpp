#include "data/RaceList.h"

#include "common/Numbers.h"
#include "data/League.h"

namespace scorewell {

std::vector<RaceListRow> ReadRaceList(Database& league) {
    std::vector<RaceListRow> rows;
    // RaceID is the row key, so this is the order the races were stored in.
    for (Cursor race = league.Query("SELECT RaceID, Name, Laps, Length, FileName FROM Race "
                                    "ORDER BY RaceID");
         !race.AtEnd(); race.MoveNext()) {
        RaceListRow row;
        row.raceId = static_cast<std::int32_t>(race.Field(0).AsInteger());
        row.name = race.Field(1).AsText();
        row.laps = race.Field(2).AsText();
        row.miles = RaceMilesText(race.Field(3), race.Field(2));
        row.fileName = race.Field(4).AsText();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string RaceMilesText(const Value& length, const Value& laps) {
    if (length.IsNull() || laps.IsNull()) {
        return {};
    }
    // A Single length times an Integer lap count is a Single product.
    const float miles = ToSingle(length.AsDouble()) * static_cast<float>(laps.AsInteger());
    return std::to_string(RoundHalfEven(miles));
}

void RemoveRaces(Database& league, const std::vector<std::int32_t>& raceIds,
                 const std::function<void()>& alongside) {
    PendingBackup backup(league);
    Transaction t(league);
    int removed = 0;
    for (std::int32_t id : raceIds) {
        league.Execute("DELETE FROM Race WHERE RaceID=?", {Value(id)});
        removed += league.Changes();
    }
    if (alongside) {
        alongside();
    }
    if (removed > 0) {
        backup.Keep();
    }
    t.Commit();
}

} // namespace scorewell
