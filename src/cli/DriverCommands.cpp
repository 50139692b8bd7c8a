#include <iostream>

#include "cli/Cli.h"
#include "data/Drivers.h"
#include "scoring/Recalculation.h"

namespace scorewell::cli {

namespace {

int SetExcluded(Context& ctx, Arguments& args, bool exclude) {
    const std::string command = exclude ? "exclude" : "include";
    auto words = args.Positional();
    std::string path = TakeLeague(words, command);
    if (words.empty()) {
        throw UsageError("The command " + command + " needs at least one driver name.");
    }
    League& league = ctx.OpenLeague(path);
    SetDriversExcluded(league.Db(), words, exclude);
    for (const std::string& name : words) {
        ctx.Print({command + "d", name});
    }
    return 0;
}

} // namespace

// The league's drivers, as the driver list shows them.
int CommandDrivers(Context& ctx, Arguments& args) {
    League& league = ctx.OpenLeague(OnlyLeague(args, "drivers"), LeagueAccess::Read);
    ctx.Print({"DriverID", "Name", "Excluded", "Rookie", "Handicap"});
    for (const DriverRow& d : ListDrivers(league.Db())) {
        ctx.Print({std::to_string(d.driverId), d.name, d.exclude ? "Yes" : "No",
                   d.rookie ? "Yes" : "No", std::to_string(d.handicap)});
    }
    return 0;
}

int CommandExclude(Context& ctx, Arguments& args) {
    return SetExcluded(ctx, args, true);
}
int CommandInclude(Context& ctx, Arguments& args) {
    return SetExcluded(ctx, args, false);
}

int CommandRemoveExcluded(Context& ctx, Arguments& args) {
    League& league = ctx.OpenLeague(OnlyLeague(args, "remove-excluded"));
    Database& db = league.Db();
    auto races = db.Scalar("SELECT Count(*) FROM Race").AsInteger();
    const int removed = RemoveExcludedResults(league);
    ctx.Print({"removed", std::to_string(removed) + " results"});
    ctx.Print({"recalculated", std::to_string(races) + " races"});
    return 0;
}

} // namespace scorewell::cli
