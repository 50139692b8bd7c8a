#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/Database.h"

namespace scorewell {

// One sort key of an off-line league's merge: Query is an ORDER BY term over the staged results
// ("LapsRun DESC"); its place in the list is its priority.
struct RankCriterion {
    std::int32_t id = 0;
    std::string name;
    std::string query;
};

// The league's rank criteria, first key first; equal priorities keep the order they were added.
std::vector<RankCriterion> LoadRankCriteria(Database& league);

// Numbers the criteria 1, 2, 3 ... in the order of ids, in one transaction. The ids must be the
// league's criteria, each once; otherwise it throws ScorewellError and nothing changes.
void SaveRankCriteriaOrder(Database& league, const std::vector<std::int32_t>& ids);

} // namespace scorewell
