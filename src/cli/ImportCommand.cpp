#include <iostream>

#include "cli/Cli.h"
#include "common/Errors.h"
#include "common/Text.h"
#include "import/SimilarNames.h"
#include "import/StageFiles.h"
#include "import/StagedImport.h"

namespace scorewell::cli {

namespace {

std::string OneLine(const std::string& text) {
    return ReplaceAll(ReplaceAll(ReplaceAll(text, "\r\n", " "), "\n", " "), "\r", " ");
}

} // namespace

// Stages every file as the import dialog does, each on its own so that a bad file fails alone,
// leaves out the files the league already holds, then imports the others: one transaction in
// all.
int CommandImport(Context& ctx, Arguments& args) {
    const std::optional<int> lapMethod = LapMethodOption(args, "--qualifying");
    const bool again = args.Flag("--again");
    auto words = args.Positional();
    const std::string leagueArgument = TakeLeague(words, "import");
    if (words.empty()) {
        throw UsageError("The command import needs at least one result file.");
    }
    League& league = ctx.OpenLeague(leagueArgument);
    const WorkingSettings& settings = league.Settings();
    if (settings.leagueType == 1) {
        throw ScorewellError("\"" + league.Path() +
                             "\" is an off-line league: merging the files of an off-line event "
                             "into one race is not available yet. Nothing was imported.");
    }
    const int sim = settings.simTitle;
    if (sim == 3 && Trim(league.GetProgram().SimPath()[2]).empty()) {
        throw ScorewellError("Scorewell needs to know the path of NASCAR Racing 4 before races "
                             "of this league can be imported: set it with "
                             "\"scorewell-cli folders --nr4 DIR\".");
    }
    const int method = lapMethod.value_or(settings.lapReportingMethod);

    Transaction t(league.Db());
    ClearStaging(league);
    const PointTable table = league.LoadPointTable();
    bool anyFailed = false;
    StageFilesProgress progress;
    progress.read = [&](std::size_t i, const StagingResult& result) {
        if (result.Staged()) {
            ctx.Print({"staged", words[i], std::to_string(result.drivers) + " drivers"});
        } else {
            anyFailed = true;
            ctx.Print({"failed", words[i], OneLine(result.message)});
        }
    };
    const std::vector<StagingResult> staged =
        StageResultFiles(league, table, words, sim, method, progress);
    if (!again) {
        for (std::size_t i = 0; i < staged.size(); ++i) {
            if (!staged[i].Staged()) {
                continue;
            }
            if (auto race = FindImportedRace(league, staged[i].stnRaceId)) {
                RemoveStagedRace(league, staged[i].stnRaceId);
                ctx.Print({"skipped", words[i],
                           "already imported as race " + std::to_string(race->raceId)});
            }
        }
    }
    // Names that look like another driver's are told; the admin merges them afterwards.
    for (const SimilarName& s : SimilarStagedNames(league)) {
        ctx.Print({"similar", s.newName, s.existingName});
    }
    const int imported = ImportStagedRaces(league);
    ClearStaging(league);
    t.Commit();
    ctx.Print({"imported", std::to_string(imported) + " races"});
    ctx.Flush();
    return anyFailed ? 1 : 0;
}

} // namespace scorewell::cli
