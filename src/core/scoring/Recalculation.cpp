#include "scoring/Recalculation.h"

#include "scoring/Scoring.h"

namespace scorewell {

void RecalculateAllRaces(League& league, const std::function<void(int, int)>& progress) {
    Database& db = league.Db();
    Transaction t(db);
    ResultSet races = db.QueryAll("SELECT RaceID FROM Race ORDER BY RaceID");
    int done = 0;
    const int total = static_cast<int>(races.rows.size());
    for (const auto& race : races.rows) {
        RecalculateRace(league, static_cast<std::int32_t>(race[0].AsInteger()), false);
        if (progress) {
            progress(++done, total);
        }
    }
    t.Commit();
}

int RemoveExcludedResults(League& league) {
    Database& db = league.Db();
    PendingBackup backup(db);
    Transaction t(db);
    db.Execute("DELETE FROM Stats WHERE DriverID IN (SELECT DriverID FROM Driver WHERE Exclude=1)");
    const int removed = db.Changes();
    RecalculateAllRaces(league);
    // Rescoring alone removes nothing: the copy is worth keeping only when results went.
    if (removed > 0) {
        backup.Keep();
    }
    t.Commit();
    return removed;
}

} // namespace scorewell
