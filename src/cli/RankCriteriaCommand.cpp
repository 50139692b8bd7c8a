#include "cli/Cli.h"
#include "common/Text.h"
#include "data/RankCriteria.h"
#include "editing/RankCriteriaOrder.h"

namespace scorewell::cli {

// Lists the rank criteria of the league, first key first; --order sets their order first.
int CommandRankCriteria(Context& ctx, Arguments& args) {
    const std::optional<std::string> order = args.Option("--order");
    League& league = ctx.OpenLeague(OnlyLeague(args, "rank-criteria"),
                                    order ? LeagueAccess::Change : LeagueAccess::Read);
    std::vector<RankCriterion> criteria;
    if (order) {
        criteria = OrderRankCriteriaByNames(league, Split(*order, ','));
    } else {
        criteria = LoadRankCriteria(league.Db());
    }
    ctx.Print({"Priority", "Name"});
    int priority = 0;
    for (const RankCriterion& criterion : criteria) {
        ctx.Print({std::to_string(++priority), criterion.name});
    }
    return 0;
}

} // namespace scorewell::cli
