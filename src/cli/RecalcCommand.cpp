#include <algorithm>
#include <iostream>

#include "cli/Cli.h"
#include "common/Errors.h"
#include "common/Numbers.h"
#include "scoring/Recalculation.h"
#include "scoring/Scoring.h"

namespace scorewell::cli {

// Rescores the given races, or all of them, in one transaction.
int CommandRecalc(Context& ctx, Arguments& args) {
    bool all = args.Flag("--all");
    auto words = args.Positional();
    std::string path = TakeLeague(words, "recalc");
    if (all == !words.empty()) {
        throw UsageError("The command recalc takes race ids or --all.");
    }
    std::vector<std::int32_t> ids;
    for (const std::string& w : words) {
        auto id = StrictInteger(w);
        if (!id || w.find_first_not_of("0123456789") != std::string::npos) {
            throw UsageError("\"" + w + "\" is not a race id.");
        }
        // A race named twice is rescored, and counted, once.
        if (std::find(ids.begin(), ids.end(), *id) == ids.end()) {
            ids.push_back(*id);
        }
    }
    League& league = ctx.OpenLeague(path);
    Database& db = league.Db();
    if (all) {
        int count = 0;
        RecalculateAllRaces(league, [&](int done, int) { count = done; });
        ctx.Print({"recalculated", std::to_string(count) + " races"});
    } else {
        Transaction t(db);
        for (std::int32_t id : ids) {
            if (db.Scalar("SELECT RaceID FROM Race WHERE RaceID=?", {Value(id)}).IsNull()) {
                throw ScorewellError("The league has no race with the id " + std::to_string(id) +
                                     ". \"scorewell-cli races\" lists its races.");
            }
            RecalculateRace(league, id, false);
        }
        t.Commit();
        ctx.Print({"recalculated", std::to_string(ids.size()) + " races"});
    }
    return 0;
}

} // namespace scorewell::cli
