#include "data/RankCriteria.h"

#include <algorithm>

#include "common/Errors.h"

namespace scorewell {

std::vector<RankCriterion> LoadRankCriteria(Database& league) {
    std::vector<RankCriterion> criteria;
    for (Cursor c = league.Query("SELECT RankCriteriaID, Name, Query FROM RankCriteria "
                                 "ORDER BY Priority, RankCriteriaID");
         !c.AtEnd(); c.MoveNext()) {
        criteria.push_back({static_cast<std::int32_t>(c.Field(0).AsInteger()),
                            c.Field(1).IsNull() ? std::string() : c.Field(1).AsText(),
                            c.Field(2).IsNull() ? std::string() : c.Field(2).AsText()});
    }
    return criteria;
}

void SaveRankCriteriaOrder(Database& league, const std::vector<std::int32_t>& ids) {
    Transaction t(league);
    std::vector<std::int32_t> held;
    for (const RankCriterion& criterion : LoadRankCriteria(league)) {
        held.push_back(criterion.id);
    }
    std::vector<std::int32_t> given = ids;
    std::sort(held.begin(), held.end());
    std::sort(given.begin(), given.end());
    if (held != given) {
        throw ScorewellError("The order of the rank criteria was not saved: it does not name each "
                             "of the league's " +
                             std::to_string(held.size()) + " criteria once.");
    }
    int priority = 0;
    for (const std::int32_t id : ids) {
        league.Execute("UPDATE RankCriteria SET Priority=? WHERE RankCriteriaID=?",
                       {Value(++priority), Value(id)});
    }
    t.Commit();
}

} // namespace scorewell
