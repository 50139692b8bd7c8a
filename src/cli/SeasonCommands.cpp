#include <algorithm>

#include "cli/Cli.h"
#include "common/Errors.h"
#include "common/Numbers.h"
#include "editing/RaceRemoval.h"
#include "html/PageSettings.h"
#include "html/SeasonSite.h"
#include "reports/RaceTable.h"

namespace scorewell::cli {

namespace {

std::int32_t RaceIdArgument(const std::string& word) {
    const std::optional<std::int32_t> id = StrictInteger(word);
    if (!id || word.find_first_not_of("0123456789") != std::string::npos) {
        throw UsageError("\"" + word + "\" is not a race id.");
    }
    return *id;
}

} // namespace

DataFormat FormatOption(Arguments& args) {
    const std::optional<std::string> name = args.Option("--format");
    DataFormat format = DataFormat::Tsv;
    if (name && !ParseDataFormat(*name, format)) {
        throw UsageError("The option --format takes tsv, csv or json.");
    }
    return format;
}

void PrintData(Context& ctx, const DataTable& table, DataFormat format) {
    switch (format) {
    case DataFormat::Tsv:
        ctx.Print(table.columns);
        for (const auto& row : table.rows) {
            std::vector<std::string> texts;
            for (const DataCell& cell : row) {
                texts.push_back(cell.text);
            }
            ctx.Print(texts);
        }
        break;
    case DataFormat::Csv:
        ctx.PrintText(ToCsv(table));
        break;
    case DataFormat::Json:
        ctx.PrintText(ToJson(table));
        break;
    }
}

int ExportSite(Context& ctx, League& league, const std::string& folder) {
    const SitePublished site = PublishSeason(league, folder);
    for (const std::string& name : site.written) {
        ctx.Print({"written", name});
    }
    for (const std::string& name : site.removed) {
        ctx.Print({"removed", name});
    }
    ctx.Print({"index", site.index});
    return 0;
}

int CommandResults(Context& ctx, Arguments& args) {
    const DataFormat format = FormatOption(args);
    auto words = args.Positional();
    const std::string leagueName = TakeLeague(words, "results");
    if (words.size() != 1) {
        throw UsageError("The command results takes a league file and one race id.");
    }
    const std::int32_t raceId = RaceIdArgument(words[0]);
    League& league = ctx.OpenLeague(leagueName, LeagueAccess::Read);
    const std::string& separator = ctx.GetProgram().DecimalSeparator();
    const RaceHeading heading = ReadRaceHeading(league.Db(), raceId, separator);
    const RaceResultsTable results = ReadRaceResults(league.Db(), raceId, separator);
    PrintData(ctx, RaceResultsData(results, heading.name, heading.caption), format);
    return 0;
}

int CommandRemoveRaces(Context& ctx, Arguments& args) {
    const bool yes = args.Flag("--yes");
    auto words = args.Positional();
    const std::string leagueName = TakeLeague(words, "remove-races");
    if (words.empty()) {
        throw UsageError("The command remove-races needs the ids of the races to remove.");
    }
    std::vector<std::int32_t> ids;
    for (const std::string& word : words) {
        const std::int32_t id = RaceIdArgument(word);
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
            ids.push_back(id);
        }
    }
    if (!yes) {
        throw UsageError("Removing races cannot be undone: add --yes to remove them.");
    }
    League& league = ctx.OpenLeague(leagueName);
    RemoveSeasonRaces(league, ids);
    ctx.Print({"removed", std::to_string(ids.size()) + " races"});
    ctx.Print({"backup", league.BackupPath()});
    return 0;
}

} // namespace scorewell::cli
