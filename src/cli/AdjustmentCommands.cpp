#include "cli/Cli.h"
#include "common/Numbers.h"
#include "data/AdjustmentRows.h"
#include "editing/Adjustments.h"

namespace scorewell::cli {

namespace {

// An id given on the command line: digits only.
std::int32_t IdArgument(const std::string& word, const std::string& what) {
    const auto id = StrictInteger(word);
    if (!id || word.find_first_not_of("0123456789") != std::string::npos) {
        throw UsageError("\"" + word + "\" is not " + what + ".");
    }
    return *id;
}

} // namespace

int CommandAdjust(Context& ctx, Arguments& args) {
    // A blank reason is refused by the league, as in the desktop program, not as wrong usage.
    const std::optional<std::string> reason = args.Option("--reason", true);
    const std::optional<std::string> race = args.Option("--race");
    auto words = args.Positional();
    const std::string path = TakeLeague(words, "adjust");
    if (words.size() != 2) {
        throw UsageError("The command adjust takes a driver's name and the points.");
    }
    if (!reason) {
        throw UsageError("The command adjust needs --reason: say why the points are given or "
                         "taken.");
    }
    AdjustmentEntry entry{words[0], std::nullopt, words[1], *reason};
    if (race) {
        entry.raceId = IdArgument(*race, "a race id");
    }
    League& league = ctx.OpenLeague(path);
    const std::int32_t id = AddAdjustment(league.Db(), entry);
    ctx.Print({"added", "adjustment " + std::to_string(id)});
    return 0;
}

int CommandAdjustments(Context& ctx, Arguments& args) {
    League& league = ctx.OpenLeague(OnlyLeague(args, "adjustments"), LeagueAccess::Read);
    ctx.Print({"ID", "Driver", "Race", "Points", "Reason", "Date"});
    for (const AdjustmentRow& row : ReadAdjustments(league.Db())) {
        ctx.Print({std::to_string(row.adjustmentId), row.driver, row.race,
                   std::to_string(row.points), row.reason, row.entered});
    }
    return 0;
}

int CommandRemoveAdjustment(Context& ctx, Arguments& args) {
    auto words = args.Positional();
    const std::string path = TakeLeague(words, "remove-adjustment");
    if (words.size() != 1) {
        throw UsageError("The command remove-adjustment takes one adjustment id.");
    }
    const std::int32_t id = IdArgument(words[0], "an adjustment id");
    League& league = ctx.OpenLeague(path);
    RemoveAdjustment(league.Db(), id);
    ctx.Print({"removed", "adjustment " + std::to_string(id)});
    return 0;
}

} // namespace scorewell::cli
