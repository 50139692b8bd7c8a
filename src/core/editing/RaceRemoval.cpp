#include "editing/RaceRemoval.h"

#include "common/Errors.h"
#include "data/RaceList.h"
#include "reports/Dropped.h"

namespace scorewell {

void RemoveSeasonRaces(League& league, const std::vector<std::int32_t>& raceIds) {
    Database& db = league.Db();
    for (std::int32_t id : raceIds) {
        if (db.Scalar("SELECT Count(*) FROM Race WHERE RaceID=?", {Value(id)}).AsInteger() == 0) {
            throw ScorewellError("There is no race number " + std::to_string(id) + ".");
        }
    }
    // A driver's best results are counted over the races left.
    RemoveRaces(db, raceIds, [&] { MarkDroppedResults(db, league.Settings().droppedRaces); });
}

} // namespace scorewell
