#include <iostream>

#include "cli/Cli.h"
#include "data/Drivers.h"
#include "scoring/Recalculation.h"

namespace scorewell::cli {

namespace {

std::string LeagueArgument(std::vector<std::string>& words, const char* command) {
    if (words.empty()) {
        throw UsageError(std::string(command) + " needs a league file");
    }
    std::string league = words.front();
    words.erase(words.begin());
    return league;
}

int SetExcluded(Context& ctx, Arguments& args, bool exclude) {
    const char* command = exclude ? "exclude" : "include";
    auto words = args.Positional();
    std::string path = LeagueArgument(words, command);
    if (words.empty()) {
        throw UsageError(std::string(command) + " needs at least one driver name");
    }
    auto league = ctx.OpenLeague(path);
    SetDriversExcluded(league->Db(), words, exclude);
    for (const std::string& name : words) {
        ctx.out << command << "d\t" << name << "\n";
    }
    league->Close();
    return 0;
}

} // namespace

// The league's drivers, as the driver list shows them.
int CommandDrivers(Context& ctx, Arguments& args) {
    auto words = args.Positional();
    std::string path = LeagueArgument(words, "drivers");
    if (!words.empty()) {
        throw UsageError("drivers takes one league file");
    }
    auto league = ctx.OpenLeague(path, LeagueAccess::Read);
    ctx.out << "DriverID\tName\tExcluded\tRookie\tHandicap\n";
    for (const DriverRow& d : ListDrivers(league->Db())) {
        ctx.out << d.driverId << "\t" << d.name << "\t" << (d.exclude ? "Yes" : "No") << "\t"
                << (d.rookie ? "Yes" : "No") << "\t" << d.handicap << "\n";
    }
    league->Close();
    return 0;
}

int CommandExclude(Context& ctx, Arguments& args) {
    return SetExcluded(ctx, args, true);
}
int CommandInclude(Context& ctx, Arguments& args) {
    return SetExcluded(ctx, args, false);
}

int CommandRemoveExcluded(Context& ctx, Arguments& args) {
    auto words = args.Positional();
    std::string path = LeagueArgument(words, "remove-excluded");
    if (!words.empty()) {
        throw UsageError("remove-excluded takes one league file");
    }
    auto league = ctx.OpenLeague(path);
    Database& db = league->Db();
    auto races = db.Scalar("SELECT Count(*) FROM Race").AsInteger();
    const int removed = RemoveExcludedResults(*league);
    ctx.out << "removed\t" << removed << " results\n";
    ctx.out << "recalculated\t" << races << " races\n";
    league->Close();
    return 0;
}

} // namespace scorewell::cli
