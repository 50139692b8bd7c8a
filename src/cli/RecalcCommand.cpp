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
    if (words.empty()) {
        throw UsageError("recalc needs a league file");
    }
    std::string path = words.front();
    words.erase(words.begin());
    if (all == !words.empty()) {
        throw UsageError("recalc takes race ids or --all");
    }
    std::vector<std::int32_t> ids;
    for (const std::string& w : words) {
        auto id = StrictInteger(w);
        if (!id || w.find_first_not_of("0123456789") != std::string::npos) {
            throw UsageError("\"" + w + "\" is not a race id");
        }
        ids.push_back(*id);
    }
    auto league = ctx.OpenLeague(path);
    Database& db = league->Db();
    if (all) {
        int count = 0;
        RecalculateAllRaces(*league, [&](int done, int) { count = done; });
        ctx.out << "recalculated\t" << count << " races\n";
    } else {
        Transaction t(db);
        for (std::int32_t id : ids) {
            if (db.Scalar("SELECT RaceID FROM Race WHERE RaceID=?", {Value(id)}).IsNull()) {
                throw ScorewellError("The league has no race with the id " + std::to_string(id) +
                                     ".");
            }
            RecalculateRace(*league, id, false);
        }
        t.Commit();
        ctx.out << "recalculated\t" << ids.size() << " races\n";
    }
    league->Close();
    return 0;
}

} // namespace scorewell::cli
