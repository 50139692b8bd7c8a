#include "data/AdjustmentRows.h"

namespace scorewell {

std::vector<AdjustmentRow> ReadAdjustments(Database& league, std::optional<std::int32_t> raceId) {
    std::vector<AdjustmentRow> rows;
    for (Cursor c = league.Query(
             "SELECT Adjustment.AdjustmentID, Adjustment.DriverID, Driver.Name, "
             "Adjustment.RaceID, IFNULL(Race.Name, Race.FileName), Adjustment.Points, "
             "Adjustment.Reason, Adjustment.Entered, Driver.Exclude "
             "FROM Adjustment INNER JOIN Driver ON Driver.DriverID = Adjustment.DriverID "
             "LEFT JOIN Race ON Race.RaceID = Adjustment.RaceID "
             "WHERE ?1 IS NULL OR Adjustment.RaceID = ?1 "
             "ORDER BY Adjustment.Entered, Adjustment.AdjustmentID",
             {raceId ? Value(*raceId) : Value()});
         !c.AtEnd(); c.MoveNext()) {
        AdjustmentRow row;
        row.adjustmentId = static_cast<std::int32_t>(c.Field(0).AsInteger());
        row.driverId = static_cast<std::int32_t>(c.Field(1).AsInteger());
        row.driver = c.Field(2).AsText();
        if (!c.Field(3).IsNull()) {
            row.raceId = static_cast<std::int32_t>(c.Field(3).AsInteger());
        }
        row.race = c.Field(4).AsText();
        row.points = static_cast<std::int32_t>(c.Field(5).AsInteger());
        row.reason = c.Field(6).AsText();
        row.entered = c.Field(7).AsText();
        row.driverExcluded = c.Field(8).AsBool();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string SignedPoints(std::int32_t points) {
    return (points > 0 ? "+" : "") + std::to_string(points);
}

} // namespace scorewell
