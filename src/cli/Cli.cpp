#include "cli/Cli.h"

#include <cerrno>
#include <iostream>
#include <system_error>

#include "common/Errors.h"
#include "common/Platform.h"
#include "common/Text.h"
#include "common/Version.h"
#include "data/LeagueFile.h"

namespace scorewell::cli {

namespace {

// What the usage text, COMMAND --help and the dispatch know of one command.
struct CommandInfo {
    const char* name;
    Command run;
    const char* usage; // the words after the name
    const char* help;  // what it does, its options explained
};

// In the order of the usage text: a new command is one row here.
const std::vector<CommandInfo>& Commands() {
    static const std::vector<CommandInfo> commands = {
        {"new", CommandNew,
         "LEAGUE [--sim 0..3] [--offline] [--drop N] [--lap-method speed|time] [--force]",
         "Creates a league file as the New dialog does and prints its path. A name without a\n"
         "folder goes into the program folder; .slf is appended when missing.\n"
         "  --sim 0..3        the simulation: 0 NASCAR Racing 3, 1 NASCAR Legends,\n"
         "                    2 NASCAR Racing 2 / 1999, 3 NASCAR Racing 4 (default: 3 when the\n"
         "                    NASCAR Racing 4 folder is set, else 0 when the NASCAR Racing 3\n"
         "                    folder is set, else 1)\n"
         "  --offline         an off-line league: the files of one event make one race\n"
         "  --drop N          each driver's N worst races do not count, 0 to 10 (default 0)\n"
         "  --lap-method speed|time\n"
         "                    qualifying is given as a speed or as a lap time (default speed)\n"
         "  --force           replaces an existing league file; a failure leaves it whole\n"},
        {"import", CommandImport, "LEAGUE FILE... [--qualifying speed|time] [--again]",
         "Imports result files: race finals of NASCAR Racing 3, NASCAR Legends and NASCAR\n"
         "Racing 2 / 1999, or exported-standings pages of NASCAR Racing 4 (with the tracks of\n"
         "the folder set by \"folders --nr4\"). An on-line league gets one race per file; an\n"
         "off-line league merges the files into one race of the drivers found in one file only,\n"
         "ranked by its rank criteria (line \"merged N drivers NAME\"; with no such driver\n"
         "nothing is imported and the exit status is 1).\n"
         "Prints a line per file, staged, failed (with the reason) or skipped (a race an on-line\n"
         "league already holds), a line \"similar NEW EXISTING\" for each new driver whose name\n"
         "looks like a driver's (merge them with \"edit-driver --merge\" when they are one), then\n"
         "\"imported N races\". A file that fails fails alone: the others are imported and the\n"
         "exit status is 1.\n"
         "  --qualifying speed|time\n"
         "                    how the files give qualifying (default: the league's lap method)\n"
         "  --again           imports files whose races the league already holds all the same\n"},
        {"races", CommandRaces, "LEAGUE [--format tsv|csv|json]",
         "Lists the league's races: id, name, laps, miles and result file.\n"
         "  --format tsv|csv|json\n"
         "                    tab-separated (default), CSV (RFC 4180) or JSON, all UTF-8\n"},
        {"remove-races", CommandRemoveRaces, "LEAGUE RACEID... --yes",
         "Removes races and their results as the main window's Remove does, in one step, and\n"
         "marks each driver's dropped results again. The league as it was is kept beside it\n"
         "first, as LEAGUE.slf.bak. An id the league does not hold changes nothing.\n"
         "  --yes             needed: without it nothing is removed and the exit status is 2\n"},
        {"results", CommandResults, "LEAGUE RACEID [--format tsv|csv|json]",
         "Prints one race's results as its page shows them, in finishing order.\n"
         "  --format tsv|csv|json\n"
         "                    tab-separated (default), CSV (RFC 4180) or JSON with the race's\n"
         "                    name and distance, all UTF-8\n"},
        {"reports", CommandReports, "",
         "Lists the reports of the program database, id and name, as the standings window\n"
         "offers them.\n"},
        {"standings", CommandStandings, "LEAGUE [--report NAME|ID] [--format tsv|csv|json]",
         "Marks each driver's dropped results, then prints the standings caption and the\n"
         "report's visible columns as the standings window shows them.\n"
         "  --report NAME|ID  the report, by name or id (default: the first report)\n"
         "  --format tsv|csv|json\n"
         "                    tab-separated with the caption first (default), CSV (RFC 4180,\n"
         "                    the table alone) or JSON with the caption, all UTF-8\n"},
        {"export", CommandExport,
         "LEAGUE (--report NAME|ID | --race RACEID | --site DIR) [-o PAGE]",
         "Writes an HTML page of a report's standings or of one race's results, with the page\n"
         "settings saved in the league, or the whole season as a site. A page is replaced whole\n"
         "or not at all, and never written over a league or another database.\n"
         "  --report NAME|ID  the report, by name or id (\"reports\" lists them)\n"
         "  --race RACEID     the race, by id (\"races\" lists them)\n"
         "  -o PAGE           the page to write (with --report and --race)\n"
         "  --site DIR        index.htm, a page per report and per race, the season grid, the\n"
         "                    points chart, standings.csv and standings.json, all in DIR; files\n"
         "                    an earlier publish wrote and this one does not are removed\n"
         "                    (listed in scorewell-site.txt), nothing else in DIR is touched\n"},
        {"recalc", CommandRecalc, "LEAGUE (RACEID... | --all)",
         "Scores races again with the league's point system and bonus rules, in one step.\n"
         "  RACEID...         the races, by id (\"races\" lists them)\n"
         "  --all             every race of the league\n"},
        {"points", CommandPoints,
         "LEAGUE [--positions N] [--fill FROM THROUGH VALUE STEP]... [--fill-prize FROM THROUGH "
         "VALUE STEP]... [--table FILE.csv] [--custom on|off] [--custom-bonus on|off] [--bonus "
         "NAME=POINTS]... [--recalc] [--csv]",
         "Shows the league's point system: the positions (Pos, Points, Prize Money), whether the\n"
         "league scores with them (custom) and with its own bonus points (custom-bonus), and the\n"
         "points of every bonus rule. With changes, saves it as the point system editor does, in\n"
         "one step, the options acting in the order given; stored races keep their points, and\n"
         "the last line tells how many races a recalculation would change.\n"
         "  --positions N     the number of positions; new ones are empty (stored as 0)\n"
         "  --fill FROM THROUGH VALUE STEP\n"
         "                    points of positions FROM to THROUGH: VALUE, then STEP less for\n"
         "                    each next position, never below 0; the table grows to THROUGH\n"
         "  --fill-prize FROM THROUGH VALUE STEP\n"
         "                    the same for the prize money\n"
         "  --table FILE.csv  the positions from a point table file (Position,Points,Prize\n"
         "                    Money with a header line); a bad line refuses the whole file\n"
         "  --custom on|off   score with these positions instead of the preset scale\n"
         "  --custom-bonus on|off\n"
         "                    score with the bonus rules' own points instead of the built-in\n"
         "                    bonuses\n"
         "  --bonus NAME=POINTS\n"
         "                    the points of the bonus rule NAME (letter case does not matter)\n"
         "  --recalc          scores every race again afterwards, in the same step\n"
         "  --csv             prints the positions as a point table file instead\n"},
        {"drivers", CommandDrivers, "LEAGUE",
         "Lists the league's drivers: id, name, excluded, rookie, handicap and the number of\n"
         "results.\n"},
        {"add-driver", CommandAddDriver, "LEAGUE NAME [--rookie] [--excluded] [--handicap N]",
         "Adds a driver to the league's roster and prints his name and id. A name the league\n"
         "has already, in any letter case, is refused.\n"
         "  --rookie          the driver is a rookie (the Rookie Standings count him)\n"
         "  --excluded        the driver is excluded\n"
         "  --handicap N      the driver's handicap, -9999 to 99999 (default 0)\n"},
        {"edit-driver", CommandEditDriver,
         "LEAGUE NAME [--name NEW] [--rookie yes|no] [--excluded yes|no] [--handicap N] "
         "[--merge]",
         "Changes a driver of the roster. NAME matches without regard to letter case.\n"
         "  --name NEW        renames the driver; the name of another driver is refused\n"
         "                    unless --merge is given\n"
         "  --rookie yes|no   whether the driver is a rookie\n"
         "  --excluded yes|no whether the driver is excluded\n"
         "  --handicap N      the driver's handicap, -9999 to 99999\n"
         "  --merge           when NEW is another driver's name, merges NAME into that\n"
         "                    driver: his results move there (keeping their points) and NAME\n"
         "                    is removed; the other driver keeps his own name and flags, and\n"
         "                    the other options are not used. Refused when both have a result\n"
         "                    in the same race. The league as it was is kept as LEAGUE.slf.bak.\n"},
        {"remove-drivers", CommandRemoveDrivers, "LEAGUE NAME... --yes",
         "Removes drivers and all their results; the other results keep their points. The\n"
         "league as it was is kept beside it first, as LEAGUE.slf.bak. Names match without\n"
         "regard to letter case.\n"
         "  --yes             needed: without it nothing is changed (exit status 2)\n"},
        {"exclude", CommandExclude, "LEAGUE NAME...",
         "Marks drivers as excluded: the standings leave them out, and so do the races\n"
         "imported from now on. Names match without regard to letter case.\n"},
        {"include", CommandInclude, "LEAGUE NAME...",
         "Takes the drivers' exclusion back. Names match without regard to letter case.\n"},
        {"adjust", CommandAdjust, "LEAGUE DRIVER POINTS --reason TEXT [--race RACEID]",
         "Gives a driver points or takes them (a penalty), with the reason, and prints the\n"
         "adjustment's id. Point Standings and Rookie Standings count it in full: it is never\n"
         "dropped, and a recalculation leaves it as it is. DRIVER matches without regard to\n"
         "letter case.\n"
         "  POINTS            a whole number other than 0, signed: -25 takes, 10 gives\n"
         "  --reason TEXT     why; published with the standings, so it cannot be blank\n"
         "  --race RACEID     the race it is for (\"races\" lists them); without it the\n"
         "                    adjustment is for the season\n"},
        {"adjustments", CommandAdjustments, "LEAGUE",
         "Lists the league's point adjustments in the order they were entered: id, driver,\n"
         "race, points, reason and the date entered.\n"},
        {"remove-adjustment", CommandRemoveAdjustment, "LEAGUE ID",
         "Removes a point adjustment, by its id (\"adjustments\" lists them).\n"},
        {"remove-excluded", CommandRemoveExcluded, "LEAGUE",
         "Removes every result of the excluded drivers and scores every race again. The league\n"
         "as it was is kept beside it first, as LEAGUE.slf.bak.\n"},
        {"rank-criteria", CommandRankCriteria, "LEAGUE [--order NAME,NAME,...]",
         "Lists the rank criteria that order the merged race of an off-line league, first key\n"
         "first: priority and name.\n"
         "  --order NAME,NAME,...\n"
         "                    sets their order first; every criterion named once, in any\n"
         "                    letter case, or nothing changes\n"},
        {"folders", CommandFolders, "[--nr3 DIR] [--legends DIR] [--nr4 DIR]",
         "Shows the simulation folders of the program database, or sets them: each folder given\n"
         "must hold its simulation, or nothing is stored. An empty DIR clears a folder.\n"
         "  --nr3 DIR         the folder of NASCAR Racing 3\n"
         "  --legends DIR     the folder of NASCAR Legends\n"
         "  --nr4 DIR         the folder of NASCAR Racing 4, whose tracks its imports read\n"},
    };
    return commands;
}

const CommandInfo* FindCommand(const std::string& name) {
    for (const CommandInfo& command : Commands()) {
        if (name == command.name) {
            return &command;
        }
    }
    return nullptr;
}

constexpr const char* kSynopsis = "scorewell-cli [--program-folder DIR] ";

std::string CommandUsage(const CommandInfo& command) {
    std::string line = command.name;
    if (*command.usage) {
        line += std::string(" ") + command.usage;
    }
    return line;
}

std::string CommandHelp(const CommandInfo& command) {
    return "Usage: " + std::string(kSynopsis) + CommandUsage(command) + "\n\n" + command.help;
}

std::string ProgramHelp() {
    return std::string(UsageText()) +
           "\n"
           "Keeps the championship of a league run on the NASCAR Racing simulations in a league\n"
           "file (.slf). LEAGUE is found as given, else with .slf appended, else (a name without\n"
           "a folder) in the program folder.\n"
           "  --program-folder DIR\n"
           "                    the folder of the program database Tabulon.dat (default: the\n"
           "                    executable's folder when it holds one, else\n"
           "                    ~/.local/share/Scorewell)\n"
           "  -h, --help        shows this text; \"COMMAND --help\" tells about one command\n"
           "  --version         shows the version\n"
           "Listings are tab-separated, one line per row. A value is printed as it is (a\n"
           "Windows path with its backslashes as typed) unless it holds a tab, a line break or\n"
           "another control character, or starts and ends with a double quote: such a value is\n"
           "printed between double quotes, with \\\\ for a backslash, \\t, \\n and \\r for tab,\n"
           "line feed and carriage return, and \\xNN for any other control character or byte\n"
           "that is not UTF-8. Messages go to standard error, control characters as \\xNN.\n"
           "Exit status: 0 done, 1 failed, 2 wrong usage.\n";
}

constexpr const char* kName = "scorewell-cli: ";

// Runs the command the words name, telling every failure; gives the exit status.
int RunCommand(Context& ctx, std::vector<std::string> words, const std::string& executableFolder) {
    try {
        Arguments globals(words);
        std::optional<std::string> folder = globals.Option("--program-folder");
        if (folder) {
            // Take the option out wherever it stood before the command.
            for (std::size_t i = 0; i + 1 < words.size(); ++i) {
                if (words[i] == "--program-folder") {
                    words.erase(words.begin() + static_cast<std::ptrdiff_t>(i),
                                words.begin() + static_cast<std::ptrdiff_t>(i) + 2);
                    break;
                }
            }
        }
        if (words.empty()) {
            throw UsageError("Name a command.");
        }
        if (words[0] == "--help" || words[0] == "-h") {
            ctx.PrintText(ProgramHelp());
            return 0;
        }
        if (words[0] == "--version") {
            ctx.PrintText(std::string("scorewell-cli ") + kVersionText + "\n");
            return 0;
        }
        const CommandInfo* command = FindCommand(words[0]);
        if (!command) {
            throw UsageError("There is no command \"" + words[0] + "\".");
        }
        Arguments commandArgs(std::vector<std::string>(words.begin() + 1, words.end()));
        if (commandArgs.Flag("--help") || commandArgs.Flag("-h")) {
            ctx.PrintText(CommandHelp(*command));
            return 0;
        }
        ctx.SetProgramFolder(folder ? *folder : Program::DefaultFolder(executableFolder));
        const int status = command->run(ctx, commandArgs);
        ctx.CloseLeague();
        return status;
    } catch (const UsageError& e) {
        ctx.Tell(e.what());
        ctx.TellUsage();
        return 2;
    } catch (const DbError& e) {
        // The command's transaction was rolled back when the error left it.
        if (ctx.OpenedLeague().empty()) {
            ctx.Tell(PlainReason(e) + ".");
        } else {
            ctx.Tell("\"" + ctx.OpenedLeague() +
                     "\" could not be changed and is as it was: " + PlainReason(e) + ".");
        }
        return 1;
    } catch (const std::exception& e) {
        ctx.Tell(e.what());
        return 1;
    }
}

} // namespace

const std::string& UsageText() {
    static const std::string text = [] {
        std::string usage = "Usage: " + std::string(kSynopsis) + "COMMAND ...\n";
        for (const CommandInfo& command : Commands()) {
            usage += "  " + CommandUsage(command) + "\n";
        }
        return usage;
    }();
    return text;
}

std::optional<std::size_t> Arguments::Find(const std::string& name) const {
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < words_.size(); ++i) {
        if (words_[i] == name) {
            if (found) {
                throw UsageError("The option " + name + " was given twice.");
            }
            found = i;
        }
    }
    return found;
}

std::optional<std::string> Arguments::Option(const std::string& name, bool blankAllowed) {
    const std::optional<std::size_t> at = Find(name);
    if (!at) {
        return std::nullopt;
    }
    if (*at + 1 >= words_.size() || (!blankAllowed && Trim(words_[*at + 1]).empty())) {
        throw UsageError("The option " + name + " needs a value.");
    }
    std::string value = words_[*at + 1];
    words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(*at),
                 words_.begin() + static_cast<std::ptrdiff_t>(*at) + 2);
    return value;
}

bool Arguments::Flag(const std::string& name) {
    const std::optional<std::size_t> at = Find(name);
    if (at) {
        words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(*at));
    }
    return at.has_value();
}

std::vector<std::string> Arguments::Positional() {
    for (const std::string& w : words_) {
        if (StartsWith(w, "--")) {
            throw UsageError("There is no option " + w + " here.");
        }
    }
    return words_;
}

std::string TakeLeague(std::vector<std::string>& words, const std::string& command) {
    if (words.empty()) {
        throw UsageError("The command " + command + " needs a league file.");
    }
    std::string league = words.front();
    words.erase(words.begin());
    return league;
}

std::string OnlyLeague(Arguments& args, const std::string& command) {
    auto words = args.Positional();
    std::string league = TakeLeague(words, command);
    if (!words.empty()) {
        throw UsageError("The command " + command + " takes one league file.");
    }
    return league;
}

std::optional<LapReportingMethod> LapMethodOption(Arguments& args, const std::string& name) {
    const std::optional<std::string> method = args.Option(name);
    if (!method) {
        return std::nullopt;
    }
    if (*method == "speed") {
        return LapReportingMethod::Speed;
    }
    if (*method == "time") {
        return LapReportingMethod::LapTime;
    }
    throw UsageError("The option " + name + " takes speed or time.");
}

Program& Context::GetProgram() {
    if (!program_) {
        program_ = std::make_unique<Program>(programFolder_);
    }
    return *program_;
}

League& Context::OpenLeague(const std::string& argument, LeagueAccess access) {
    if (Trim(argument).empty()) {
        throw UsageError("The league file name is blank.");
    }
    const std::string path = FindLeagueFileName(argument, GetProgram().Folder());
    league_ = std::make_unique<League>(GetProgram(), path, access);
    openedLeague_ = league_->Path();
    for (const std::string& warning : league_->Warnings()) {
        Tell("Warning: " + warning);
    }
    return *league_;
}

void Context::CloseLeague() {
    if (!league_) {
        return;
    }
    try {
        league_->Close();
    } catch (const ScorewellError& e) {
        Tell(std::string("Warning: ") + e.what());
    }
    league_.reset();
}

void Context::CheckOutput() {
    if (!out_ && outputError_ == 0) {
        outputError_ = errno != 0 ? errno : -1;
    }
}

void Context::Print(const std::vector<std::string>& values) {
    errno = 0;
    out_ << TabSeparatedLine(values);
    CheckOutput();
}

void Context::PrintText(const std::string& text) {
    errno = 0;
    out_ << text;
    CheckOutput();
}

void Context::Flush() {
    errno = 0;
    out_.flush();
    CheckOutput();
}

void Context::Tell(const std::string& message) {
    // Every message reads as a sentence, whichever layer worded it.
    std::string text = EscapeControlCharacters(message);
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    err_ << kName << text << "\n";
}

void Context::TellUsage() {
    err_ << UsageText();
}

int Context::Finish(int status) {
    Flush();
    if (outputError_ == 0) {
        return status;
    }
    std::string message = "The output could not be written";
    if (outputError_ > 0) {
        message +=
            ": " + (IsDiskFullError(outputError_) ? std::string("the disk is full")
                                                  : std::generic_category().message(outputError_));
    }
    message += ".";
    if (status == 0) {
        message += " What the command changed in the league is stored all the same.";
    }
    Tell(message);
    return status == 0 ? 1 : status;
}

int Run(const std::vector<std::string>& args, const std::string& executableFolder,
        std::ostream& out, std::ostream& err) {
    Context ctx(out, err);
    return ctx.Finish(RunCommand(ctx, args, executableFolder));
}

} // namespace scorewell::cli
