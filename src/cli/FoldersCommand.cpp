#include <iostream>

#include "cli/Cli.h"
#include "common/Errors.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/Settings.h"
#include "data/SimulationFolders.h"

namespace scorewell::cli {

// Shows the simulation folders of the program database, or sets them with the Options dialog's
// checks: every folder given must hold its simulation, or nothing is stored.
int CommandFolders(Context& ctx, Arguments& args) {
    const char* options[3] = {"--nr3", "--legends", "--nr4"};
    std::optional<std::string> given[3];
    for (int i = 0; i < 3; ++i) {
        // A blank folder is how a folder is cleared.
        given[i] = args.Option(options[i], true);
    }
    if (!args.Positional().empty()) {
        throw UsageError("The command folders takes only --nr3, --legends and --nr4.");
    }
    Program& program = ctx.GetProgram();
    for (int i = 0; i < 3; ++i) {
        if (given[i]) {
            given[i] = WithTrailingSeparator(Trim(*given[i]));
            if (auto problem = CheckSimulationFolder(i, *given[i])) {
                throw ScorewellError(*problem);
            }
        }
    }
    Database& db = program.Db();
    Transaction t(db);
    for (int i = 0; i < 3; ++i) {
        if (given[i] && !WriteSetting(db, SimulationFolderSetting(i), *given[i])) {
            throw ScorewellError("The folder of " + std::string(SimulationTitle(i)) +
                                 " could not be stored in \"" + program.DatabasePath() + "\".");
        }
    }
    t.Commit();
    program.LoadSimPaths();
    ctx.Print({"Simulation", "Folder"});
    for (int i = 0; i < 3; ++i) {
        ctx.Print({SimulationTitle(i), program.SimPath()[static_cast<std::size_t>(i)]});
    }
    return 0;
}

} // namespace scorewell::cli
