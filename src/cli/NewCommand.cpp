#include <iostream>

#include "cli/Cli.h"
#include "common/Errors.h"
#include "common/Formatting.h"
#include "common/Numbers.h"
#include "common/Paths.h"
#include "common/Platform.h"
#include "common/Text.h"
#include "data/LeagueFile.h"
#include "data/LeagueFileActions.h"

namespace scorewell::cli {

namespace {

int NumberOption(Arguments& args, const std::string& name, int low, int high, int fallback) {
    auto text = args.Option(name);
    if (!text) {
        return fallback;
    }
    auto value = StrictInteger(*text);
    if (!value || *value < low || *value > high || text->find('.') != std::string::npos) {
        throw UsageError("The option " + name + " takes a whole number from " +
                         std::to_string(low) + " to " + std::to_string(high) + ".");
    }
    return *value;
}

} // namespace

// Creates a league file as the New dialog does, then opens and closes it once, so the file is
// already upgraded and carries its page settings.
int CommandNew(Context& ctx, Arguments& args) {
    Program& program = ctx.GetProgram();
    int sim = NumberOption(args, "--sim", 0, 3, DefaultSimIndex(program.SimPath()));
    int drop = NumberOption(args, "--drop", 0, 10, 0);
    const LapReportingMethod lapMethod =
        LapMethodOption(args, "--lap-method").value_or(LapReportingMethod::Speed);
    const LeagueType leagueType = args.Flag("--offline") ? LeagueType::Offline : LeagueType::Online;
    bool force = args.Flag("--force");
    auto names = args.Positional();
    if (names.size() != 1) {
        throw UsageError("The command new takes one league file name.");
    }
    const std::string fileName = NewLeagueFileName(names[0], program.Folder());
    // A name of blanks, or a folder alone, would make a hidden or nameless league.
    if (Trim(FileNameOf(fileName, true)).empty()) {
        throw UsageError("The league file name \"" + names[0] +
                         "\" is blank: give the league a "
                         "name.");
    }
    if (FileExists(fileName) && !force) {
        throw ScorewellError("\"" + fileName + "\" already exists. Use --force to replace it.");
    }
    try {
        CreateNewLeagueFile(fileName, sim, static_cast<int>(leagueType), program.Db(), drop,
                            static_cast<int>(lapMethod));
    } catch (const std::exception& e) {
        throw ScorewellError("Error creating new SLF file: " + std::string(e.what()));
    }
    ctx.Print({ctx.OpenLeague(NativePath(fileName)).Path()});
    return 0;
}

} // namespace scorewell::cli
