#include <iostream>

#include "cli/Cli.h"
#include "common/Errors.h"
#include "common/Numbers.h"
#include "data/RaceList.h"
#include "data/Settings.h"
#include "html/PageSettings.h"
#include "html/PageWriter.h"
#include "reports/DataTable.h"
#include "reports/Dropped.h"
#include "reports/ReportEngine.h"

namespace scorewell::cli {

namespace {

ReportInfo ChosenReport(Database& programDb, const std::optional<std::string>& nameOrId) {
    if (!nameOrId) {
        std::vector<ReportInfo> reports = ListReports(programDb);
        if (reports.empty()) {
            throw ScorewellError("The program database holds no report.");
        }
        return reports.front();
    }
    auto report = FindReport(programDb, *nameOrId);
    if (!report) {
        throw ScorewellError("There is no report \"" + *nameOrId +
                             "\". \"scorewell-cli reports\" lists the reports.");
    }
    return *report;
}

// Marks each driver's dropped results as the standings window does before it shows anything,
// and gives its caption.
std::string MarkDropped(League& league) {
    DroppedMarking marking = MarkDroppedResults(league.Db(), league.Settings().droppedRaces);
    return StandingsCaption(marking);
}

} // namespace

int CommandRaces(Context& ctx, Arguments& args) {
    const DataFormat format = FormatOption(args);
    League& league = ctx.OpenLeague(OnlyLeague(args, "races"), LeagueAccess::Read);
    PrintData(ctx, RaceListData(league.Db()), format);
    return 0;
}

int CommandStandings(Context& ctx, Arguments& args) {
    auto reportOption = args.Option("--report");
    const DataFormat format = FormatOption(args);
    League& league = ctx.OpenLeague(OnlyLeague(args, "standings"));
    Program& program = ctx.GetProgram();
    ReportInfo report = ChosenReport(program.Db(), reportOption);
    const std::string caption = MarkDropped(league);
    ReportTable table = RunReport(league.Db(), LoadReportDefinition(program.Db(), report.id),
                                  program.DecimalSeparator());
    if (format == DataFormat::Tsv) {
        ctx.Print({caption});
    }
    PrintData(ctx, ReportData(table, report.name, caption), format);
    return 0;
}

// Writes a report's or a race's page as the desktop program's exports do after their dialog,
// with the page settings saved in the league.
int CommandExport(Context& ctx, Arguments& args) {
    auto reportOption = args.Option("--report");
    auto raceOption = args.Option("--race");
    auto siteOption = args.Option("--site");
    auto output = args.Option("-o");
    auto words = args.Positional();
    if (reportOption.has_value() + raceOption.has_value() + siteOption.has_value() != 1) {
        throw UsageError("The command export takes one of --report, --race or --site.");
    }
    if (siteOption) {
        if (output) {
            throw UsageError(
                "The command export writes a site into its folder: no -o with --site.");
        }
        if (words.size() != 1) {
            throw UsageError("The command export takes one league file.");
        }
        return ExportSite(ctx, ctx.OpenLeague(words[0]), *siteOption);
    }
    if (!output) {
        throw UsageError("The command export needs -o PAGE.");
    }
    std::optional<std::int32_t> raceId;
    if (raceOption) {
        raceId = StrictInteger(*raceOption);
        if (!raceId || raceOption->find_first_not_of("0123456789") != std::string::npos) {
            throw UsageError("\"" + *raceOption + "\" is not a race id.");
        }
    }
    if (words.size() != 1) {
        throw UsageError("The command export takes one league file.");
    }
    League& league = ctx.OpenLeague(words[0]);
    Program& program = ctx.GetProgram();
    Database& db = league.Db();

    // The caption setting and the page go together: a page that cannot be written leaves the
    // league as it was.
    Transaction t(db);
    const std::string& separator = program.DecimalSeparator();
    PageRequest request;
    if (raceId) {
        request = SavedRacePage(db, *raceId, separator);
    } else {
        ReportInfo report = ChosenReport(program.Db(), reportOption);
        std::string caption = StandingsPageCaption(MarkDropped(league));
        WriteSetting(db, SettingId::Caption, caption);
        request = ExportedPage(db, PageContent::Report, report.id,
                               {SavedPageHeading(db), report.name, caption}, separator);
    }
    PageWriter writer(db, program.Db());
    const bool written = writer.Write(request, *output, [&] {
        try {
            t.Commit();
        } catch (const DbError& e) {
            throw ScorewellError("\"" + league.Path() +
                                 "\" could not store the page's caption: " + PlainReason(e) + ".");
        }
    });
    if (!written) {
        throw ScorewellError("Error creating HTML file \"" + *output + "\": " + writer.LastError());
    }
    ctx.Print({*output});
    return 0;
}

} // namespace scorewell::cli
