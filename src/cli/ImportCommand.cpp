#include <algorithm>
#include <iostream>
#include <optional>

#include "cli/Cli.h"
#include "common/Domain.h"
#include "common/Errors.h"
#include "common/Text.h"
#include "data/SimulationFolders.h"
#include "import/OfflineMerge.h"
#include "import/SimilarNames.h"
#include "import/StageFiles.h"
#include "import/StagedImport.h"

namespace scorewell::cli {

namespace {

std::string OneLine(const std::string& text) {
    return ReplaceAll(ReplaceAll(ReplaceAll(text, "\r\n", " "), "\n", " "), "\r", " ");
}

} // namespace

// Stages every file as the import dialog does, each on its own so that a bad file fails alone;
// an on-line league leaves out the files it already holds and imports the others, an off-line
// league merges them into one race. One transaction in all.
int CommandImport(Context& ctx, Arguments& args) {
    const std::optional<LapReportingMethod> lapMethod = LapMethodOption(args, "--qualifying");
    const bool again = args.Flag("--again");
    auto words = args.Positional();
    const std::string leagueArgument = TakeLeague(words, "import");
    if (words.empty()) {
        throw UsageError("The command import needs at least one result file.");
    }
    League& league = ctx.OpenLeague(leagueArgument);
    const WorkingSettings& settings = league.Settings();
    const bool offline = settings.leagueType == LeagueType::Offline;
    const Simulation sim = settings.simTitle;
    const auto nascar4Folder =
        static_cast<std::size_t>(SimulationFolderIndex(Simulation::NascarRacing4));
    if (sim == Simulation::NascarRacing4 &&
        Trim(league.GetProgram().SimPath()[nascar4Folder]).empty()) {
        throw ScorewellError("Scorewell needs to know the path of NASCAR Racing 4 before races "
                             "of this league can be imported: set it with "
                             "\"scorewell-cli folders --nr4 DIR\".");
    }
    const LapReportingMethod method = lapMethod.value_or(settings.lapReportingMethod);

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
    if (offline) {
        int imported = 0;
        std::optional<MergeOutcome> merge;
        if (std::any_of(staged.begin(), staged.end(),
                        [](const StagingResult& r) { return r.Staged(); })) {
            merge = MergeStagedRaces(league, table);
            if (!merge->merged) {
                ctx.Tell(OneLine(kNoUniqueDrivers) + " Nothing was imported.");
                return 1;
            }
            imported = 1;
        }
        ClearStaging(league);
        t.Commit();
        if (merge) {
            ctx.Print({"merged", std::to_string(merge->drivers) + " drivers", merge->raceName});
        }
        ctx.Print({"imported", std::to_string(imported) + " races"});
        ctx.Flush();
        return anyFailed ? 1 : 0;
    }
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
