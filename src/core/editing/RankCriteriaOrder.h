#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/League.h"
#include "data/RankCriteria.h"

namespace scorewell {

// The rank criteria as the off-line settings arrange them: a block of neighbouring criteria
// moves up or down one place, and the order is saved as one action.

enum class MoveDirection { Up, Down };

// Moves the criteria first..last (inclusive) one place by taking the neighbour above (Up) or
// below (Down) to the other end of the block. False, and nothing moved, when the block already
// touches that end of the list or is not within it.
bool MoveBlock(std::vector<RankCriterion>& criteria, std::size_t first, std::size_t last,
               MoveDirection direction);

// Saves the order of the criteria as given (first key first). Throws ScorewellError naming the
// league when it cannot; nothing changes then.
void SaveRankCriteria(League& league, const std::vector<RankCriterion>& criteria);

// Sets the order by the criteria's names, first key first: every criterion of the league named
// exactly once, without regard to letter case. Gives the criteria in their new order. Throws
// ScorewellError saying which name is unknown, repeated or missing; nothing changes then.
std::vector<RankCriterion> OrderRankCriteriaByNames(League& league,
                                                    const std::vector<std::string>& names);

} // namespace scorewell
