#include <iostream>

#include "cli/Cli.h"
#include "common/Errors.h"
#include "common/Text.h"
#include "import/ExportedStandings.h"
#include "import/RaceFinal.h"
#include "import/StagedImport.h"

namespace scorewell::cli {

namespace {

std::string OneLine(const std::string& text) {
    return ReplaceAll(ReplaceAll(ReplaceAll(text, "\r\n", " "), "\n", " "), "\r", " ");
}

} // namespace

// Stages every file with the reader of the league's simulation, each under its own savepoint so
// that a bad file is rolled back alone, then imports the good ones: one transaction in all.
int CommandImport(Context& ctx, Arguments& args) {
    std::optional<int> lapMethod;
    if (auto qualifying = args.Option("--qualifying")) {
        if (*qualifying == "speed") {
            lapMethod = 0;
        } else if (*qualifying == "time") {
            lapMethod = 1;
        } else {
            throw UsageError("--qualifying takes speed or time");
        }
    }
    auto words = args.Positional();
    if (words.size() < 2) {
        throw UsageError("import needs a league file and at least one result file");
    }
    auto league = ctx.OpenLeague(words[0]);
    const WorkingSettings& settings = league->Settings();
    if (settings.leagueType == 1) {
        throw ScorewellError("\"" + league->Path() +
                             "\" is an off-line league: merging the files of an off-line event "
                             "into one race is not available yet. Nothing was imported.");
    }
    const int sim = settings.simTitle;
    if (sim == 3 && Trim(league->GetProgram().SimPath()[2]).empty()) {
        throw ScorewellError("Scorewell needs to know the path of NASCAR Racing 4 before races "
                             "of this league can be imported: set it with "
                             "\"scorewell-cli folders --nr4 DIR\".");
    }
    const int method = lapMethod.value_or(settings.lapReportingMethod);

    Database& db = league->Db();
    Transaction t(db);
    ClearStaging(*league);
    const PointTable table = league->LoadPointTable();
    bool anyFailed = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& file = words[i];
        StagingResult result = sim == 3 ? ImportExportedStandings(*league, table, file)
                                        : ImportSTNFile(*league, table, file, sim, method);
        if (result.Staged()) {
            ctx.out << "staged\t" << file << "\t" << result.drivers << " drivers\n";
        } else {
            anyFailed = true;
            ctx.out << "failed\t" << file << "\t" << OneLine(result.message) << "\n";
        }
    }
    const int imported = ImportStagedRaces(*league);
    ClearStaging(*league);
    t.Commit();
    ctx.out << "imported\t" << imported << " races\n";
    league->Close();
    return anyFailed ? 1 : 0;
}

} // namespace scorewell::cli
