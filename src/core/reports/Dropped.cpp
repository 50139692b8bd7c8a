#include "reports/Dropped.h"

#include <algorithm>

namespace scorewell {

namespace {

// A result is dropped when it is beyond its driver's kept count or belongs to no listed driver.
// Only drivers with more results than the kept count are ranked at all, and only rows whose flag
// changes are written, so marking a league again costs little more than reading it.
constexpr const char* kMarkDropped =
    "WITH Lost AS MATERIALIZED ("
    "SELECT StatsID FROM (SELECT StatsID, row_number() OVER (PARTITION BY DriverID "
    "ORDER BY Points DESC, Bonus DESC, LapsLed DESC, StatsID) AS Best FROM Stats "
    "WHERE DriverID IN (SELECT DriverID FROM Stats GROUP BY DriverID HAVING Count(*) > ?1)) "
    "WHERE Best > ?1) "
    "UPDATE Stats SET Dropped = (StatsID IN Lost OR DriverID IS NULL OR "
    "DriverID NOT IN (SELECT DriverID FROM Driver)) "
    "WHERE Dropped IS NOT (StatsID IN Lost OR DriverID IS NULL OR "
    "DriverID NOT IN (SELECT DriverID FROM Driver))";

constexpr const char* kKeepAll = "UPDATE Stats SET Dropped = FALSE WHERE Dropped <> FALSE";

} // namespace

DroppedMarking MarkDroppedResults(Database& league, int dropped) {
    Transaction transaction(league);
    DroppedMarking marking;
    marking.numEvents =
        static_cast<int>(league.Scalar("SELECT Count(RaceID) AS NumEvents FROM Race").AsInteger());
    const long long kept = static_cast<long long>(marking.numEvents) - dropped;
    marking.keptCount = static_cast<int>(std::clamp(kept, 1LL, 1LL << 30));
    if (dropped > 0) {
        league.Execute(kMarkDropped, {Value(marking.keptCount)});
    } else {
        league.Execute(kKeepAll);
    }
    transaction.Commit();
    return marking;
}

std::string StandingsCaption(int numEvents, int keptCount) {
    if (keptCount >= numEvents) {
        return "Results after " + std::to_string(numEvents) + " events:";
    }
    return "Results based on each driver's best " + std::to_string(keptCount) + " finishes of " +
           std::to_string(numEvents) + " events:";
}

} // namespace scorewell
