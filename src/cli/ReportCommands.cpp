#include <iostream>

#include "cli/Cli.h"
#include "common/Errors.h"
#include "common/Numbers.h"
#include "data/RaceList.h"
#include "data/Settings.h"
#include "html/CExport.h"
#include "html/PageSettings.h"
#include "reports/Dropped.h"
#include "reports/ReportEngine.h"

namespace scorewell::cli {

namespace {

std::string TakeLeague(std::vector<std::string>& words, const char* command) {
    if (words.size() != 1) {
        throw UsageError(std::string(command) + " takes one league file");
    }
    return words[0];
}

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
        throw ScorewellError("There is no report \"" + *nameOrId + "\".");
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
    auto words = args.Positional();
    auto league = ctx.OpenLeague(TakeLeague(words, "races"), LeagueAccess::Read);
    ctx.out << "RaceID\tRace\tLaps\tMiles\tStandings File\n";
    for (const RaceListRow& race : ReadRaceList(league->Db())) {
        ctx.out << race.raceId << "\t" << race.name << "\t" << race.laps << "\t" << race.miles
                << "\t" << race.fileName << "\n";
    }
    league->Close();
    return 0;
}

int CommandStandings(Context& ctx, Arguments& args) {
    auto reportOption = args.Option("--report");
    auto words = args.Positional();
    auto league = ctx.OpenLeague(TakeLeague(words, "standings"));
    Program& program = ctx.GetProgram();
    ReportInfo report = ChosenReport(program.Db(), reportOption);
    ctx.out << MarkDropped(*league) << "\n";
    ReportTable table = RunReport(league->Db(), LoadReportDefinition(program.Db(), report.id),
                                  program.DecimalSeparator());
    ctx.out << TabSeparatedText(table);
    league->Close();
    return 0;
}

// Writes a report's or a race's page as the desktop program's exports do after their dialog,
// with the page settings saved in the league.
int CommandExport(Context& ctx, Arguments& args) {
    auto reportOption = args.Option("--report");
    auto raceOption = args.Option("--race");
    auto output = args.Option("-o");
    auto words = args.Positional();
    if (reportOption.has_value() == raceOption.has_value()) {
        throw UsageError("export takes either --report or --race");
    }
    if (!output) {
        throw UsageError("export needs -o PAGE");
    }
    std::optional<std::int32_t> raceId;
    if (raceOption) {
        raceId = StrictInteger(*raceOption);
        if (!raceId || raceOption->find_first_not_of("0123456789") != std::string::npos) {
            throw UsageError("\"" + *raceOption + "\" is not a race id");
        }
    }
    auto league = ctx.OpenLeague(TakeLeague(words, "export"));
    Program& program = ctx.GetProgram();
    Database& db = league->Db();

    // The caption setting and the page go together: a page that cannot be written leaves the
    // league as it was.
    Transaction t(db);
    CExport page(db, program.Db());
    page.DecimalSeparator = program.DecimalSeparator();
    page.Title = SavedPageHeading(db);
    page.Footer = StandardFooter();
    if (raceId) {
        RaceHeading heading = ReadRaceHeading(db, *raceId, program.DecimalSeparator());
        page.ExportType = CExport::kRaceResults;
        page.ReportID = *raceId;
        // In the desktop program the administrator sees and may retype this heading; here it
        // comes straight from the result file, so it is league data and escaped as such.
        page.ReportName = EscapeHTML(heading.name);
        page.Title2 = heading.caption;
    } else {
        ReportInfo report = ChosenReport(program.Db(), reportOption);
        std::string caption = StandingsPageCaption(MarkDropped(*league));
        WriteSetting(db, kSettingCaption, caption);
        page.ExportType = CExport::kReport;
        page.ReportID = report.id;
        page.ReportName = report.name;
        page.Title2 = caption;
    }
    page.Style = SavedPageStyle(db);
    page.BeforeReplace = [&] {
        try {
            t.Commit();
        } catch (const DbError& e) {
            throw ScorewellError("\"" + league->Path() +
                                 "\" could not store the page's caption: " + PlainReason(e));
        }
    };
    if (!page.HTML(*output)) {
        throw ScorewellError("Error creating HTML file \"" + *output + "\": " + page.LastError());
    }
    ctx.out << *output << "\n";
    league->Close();
    return 0;
}

} // namespace scorewell::cli
