#include <algorithm>
#include <iostream>
#include <optional>

#include "cli/Cli.h"
#include "common/Errors.h"
#include "common/Numbers.h"
#include "data/Drivers.h"
#include "editing/DriverRoster.h"
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

// A handicap as the driver editor takes it: at most five characters.
std::optional<std::int32_t> HandicapOption(Arguments& args) {
    const std::optional<std::string> text = args.Option("--handicap");
    if (!text) {
        return std::nullopt;
    }
    const auto value = StrictInteger(*text);
    if (!value || *value < -9999 || *value > 99999 || text->find('.') != std::string::npos) {
        throw UsageError("The option --handicap takes a whole number from -9999 to 99999.");
    }
    return static_cast<std::int32_t>(*value);
}

std::optional<bool> YesNoOption(Arguments& args, const std::string& name) {
    const std::optional<std::string> text = args.Option(name);
    if (!text) {
        return std::nullopt;
    }
    if (*text == "yes" || *text == "no") {
        return *text == "yes";
    }
    throw UsageError("The option " + name + " takes yes or no.");
}

} // namespace

// The league's drivers, as the driver list shows them.
int CommandDrivers(Context& ctx, Arguments& args) {
    League& league = ctx.OpenLeague(OnlyLeague(args, "drivers"), LeagueAccess::Read);
    ctx.Print({"DriverID", "Name", "Excluded", "Rookie", "Handicap", "Results"});
    for (const RosterDriver& r : ListRoster(league.Db())) {
        const DriverRow& d = r.driver;
        ctx.Print({std::to_string(d.driverId), d.name, d.exclude ? "Yes" : "No",
                   d.rookie ? "Yes" : "No", std::to_string(d.handicap), std::to_string(r.results)});
    }
    return 0;
}

int CommandAddDriver(Context& ctx, Arguments& args) {
    DriverEntry entry;
    entry.rookie = args.Flag("--rookie");
    entry.excluded = args.Flag("--excluded");
    entry.handicap = HandicapOption(args).value_or(0);
    auto words = args.Positional();
    const std::string path = TakeLeague(words, "add-driver");
    if (words.size() != 1) {
        throw UsageError("The command add-driver takes one driver name.");
    }
    entry.name = words[0];
    League& league = ctx.OpenLeague(path);
    const std::int32_t id = AddDriver(league.Db(), entry);
    ctx.Print({"added", LoadDriver(league.Db(), id)->name, std::to_string(id)});
    return 0;
}

int CommandEditDriver(Context& ctx, Arguments& args) {
    const std::optional<std::string> newName = args.Option("--name");
    const std::optional<bool> rookie = YesNoOption(args, "--rookie");
    const std::optional<bool> excluded = YesNoOption(args, "--excluded");
    const std::optional<std::int32_t> handicap = HandicapOption(args);
    const bool merge = args.Flag("--merge");
    auto words = args.Positional();
    const std::string path = TakeLeague(words, "edit-driver");
    if (words.size() != 1) {
        throw UsageError("The command edit-driver takes one driver name.");
    }
    if (!newName && !rookie && !excluded && !handicap) {
        throw UsageError("The command edit-driver needs something to change: --name, --rookie, "
                         "--excluded or --handicap.");
    }
    League& league = ctx.OpenLeague(path);
    Database& db = league.Db();
    const std::int32_t id = DriverByName(db, words[0]);
    const DriverRow driver = *LoadDriver(db, id);
    if (newName) {
        if (const std::int32_t other = FindNameClash(db, *newName, id); other != 0) {
            const std::string otherName = LoadDriver(db, other)->name;
            if (!merge) {
                throw ScorewellError("The league already has a driver named \"" + otherName +
                                     "\"; give --merge to merge \"" + driver.name + "\" into him.");
            }
            const auto results =
                db.Scalar("SELECT Count(*) FROM Stats WHERE DriverID=?", {Value(id)}).AsInteger();
            MergeDrivers(league, id, other);
            ctx.Print({"merged", driver.name, otherName, std::to_string(results) + " results"});
            return 0;
        }
    }
    DriverEntry entry{newName.value_or(driver.name), handicap.value_or(driver.handicap),
                      rookie.value_or(driver.rookie), excluded.value_or(driver.exclude)};
    UpdateDriver(db, id, entry);
    ctx.Print({"changed", LoadDriver(db, id)->name});
    return 0;
}

int CommandRemoveDrivers(Context& ctx, Arguments& args) {
    const bool yes = args.Flag("--yes");
    auto words = args.Positional();
    const std::string path = TakeLeague(words, "remove-drivers");
    if (words.empty()) {
        throw UsageError("The command remove-drivers needs at least one driver name.");
    }
    if (!yes) {
        throw UsageError("Removing drivers removes their results too; nothing was changed. Give "
                         "--yes to remove them.");
    }
    League& league = ctx.OpenLeague(path);
    Database& db = league.Db();
    std::vector<std::int32_t> ids;
    std::vector<std::pair<std::string, std::int64_t>> removed;
    for (const std::string& name : words) {
        const std::int32_t id = DriverByName(db, name);
        if (std::find(ids.begin(), ids.end(), id) != ids.end()) {
            continue;
        }
        ids.push_back(id);
        removed.emplace_back(
            LoadDriver(db, id)->name,
            db.Scalar("SELECT Count(*) FROM Stats WHERE DriverID=?", {Value(id)}).AsInteger());
    }
    RemoveDrivers(league, ids);
    for (const auto& [name, results] : removed) {
        ctx.Print({"removed", name, std::to_string(results) + " results"});
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
