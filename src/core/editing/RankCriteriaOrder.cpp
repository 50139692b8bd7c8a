#include "editing/RankCriteriaOrder.h"

#include <algorithm>

#include "common/Errors.h"
#include "common/Text.h"

namespace scorewell {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string NameList(const std::vector<RankCriterion>& criteria) {
    std::string list;
    for (const RankCriterion& c : criteria) {
        list += (list.empty() ? "" : ", ") + Quoted(c.name);
    }
    return list.empty() ? "none" : list;
}

} // namespace

bool MoveBlock(std::vector<RankCriterion>& criteria, std::size_t first, std::size_t last,
               MoveDirection direction) {
    if (first > last || last >= criteria.size()) {
        return false;
    }
    const auto begin = criteria.begin();
    if (direction == MoveDirection::Up) {
        if (first == 0) {
            return false;
        }
        std::rotate(begin + static_cast<std::ptrdiff_t>(first - 1),
                    begin + static_cast<std::ptrdiff_t>(first),
                    begin + static_cast<std::ptrdiff_t>(last + 1));
    } else {
        if (last + 1 == criteria.size()) {
            return false;
        }
        std::rotate(begin + static_cast<std::ptrdiff_t>(first),
                    begin + static_cast<std::ptrdiff_t>(last + 1),
                    begin + static_cast<std::ptrdiff_t>(last + 2));
    }
    return true;
}

void SaveRankCriteria(League& league, const std::vector<RankCriterion>& criteria) {
    std::vector<std::int32_t> ids;
    for (const RankCriterion& c : criteria) {
        ids.push_back(c.id);
    }
    try {
        SaveRankCriteriaOrder(league.Db(), ids);
    } catch (const DbError& e) {
        throw ScorewellError("The order of the rank criteria could not be saved in \"" +
                             league.Path() + "\": " + PlainReason(e) + ".");
    }
}

std::vector<RankCriterion> OrderRankCriteriaByNames(League& league,
                                                    const std::vector<std::string>& names) {
    std::vector<RankCriterion> held = LoadRankCriteria(league.Db());
    std::vector<RankCriterion> ordered;
    for (const std::string& typed : names) {
        const std::string name = Trim(typed);
        auto same = [&](const RankCriterion& c) {
            return EqualsNoCase(Trim(c.name), name);
        };
        if (std::any_of(ordered.begin(), ordered.end(), same)) {
            throw ScorewellError("The rank criterion " + Quoted(name) +
                                 " is named twice; name each criterion once.");
        }
        const auto found = std::find_if(held.begin(), held.end(), same);
        if (found == held.end()) {
            throw ScorewellError("The league has no rank criterion " + Quoted(name) +
                                 "; its criteria are " + NameList(LoadRankCriteria(league.Db())) +
                                 ".");
        }
        ordered.push_back(*found);
        held.erase(found);
    }
    if (!held.empty()) {
        throw ScorewellError("The order leaves out " + NameList(held) +
                             "; name every rank criterion of the league once.");
    }
    SaveRankCriteria(league, ordered);
    return ordered;
}

} // namespace scorewell
