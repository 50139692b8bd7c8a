#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/League.h"
#include "data/Program.h"
#include "reports/DataTable.h"

namespace scorewell::cli {

// Wrong usage: the command line is told its usage text and exits with status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words of one command after its name, with its options taken out as they are asked for.
class Arguments {
public:
    explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

    // --name VALUE; nothing when absent. A usage error when the value is missing, or blank
    // unless blank is allowed, or when the option is given twice.
    std::optional<std::string> Option(const std::string& name, bool blankAllowed = false);
    // --name; true when present; a usage error when given twice.
    bool Flag(const std::string& name);
    // The words left, in order; a usage error for an unknown option among them.
    std::vector<std::string> Positional();
    // The words left, in order, options included: for a command whose options act in order.
    const std::vector<std::string>& Remaining() const { return words_; }

private:
    // Where the option stands; nothing when it is absent.
    std::optional<std::size_t> Find(const std::string& name) const;

    std::vector<std::string> words_;
};

// What every command works with: the program (opened on first need), the league it opens, and
// the output. Everything a command prints goes through Print, everything it has to tell through
// Tell, so that no text from a file, a league or an argument reaches the terminal raw.
class Context {
public:
    Context(std::ostream& output, std::ostream& errors) : out_(output), err_(errors) {}

    void SetProgramFolder(std::string folder) { programFolder_ = std::move(folder); }
    Program& GetProgram();
    // Opens the league a LEAGUE argument names (as typed, with ".slf", or in the program folder)
    // as the desktop program does, and holds it until the command has returned; CloseLeague then
    // closes it. A command that only reads shares the league with other readers.
    League& OpenLeague(const std::string& argument, LeagueAccess access = LeagueAccess::Change);
    // The league last opened, for the message of an error of the engine; empty when none.
    const std::string& OpenedLeague() const { return openedLeague_; }
    // Closes the open league, compacting it. The command's work is stored by then: a compaction
    // that failed (the league is as the work left it) is told as a warning.
    void CloseLeague();

    // One line of tab-separated values on the output.
    void Print(const std::vector<std::string>& values);
    // Text of the program's own (help, version) on the output, as it stands.
    void PrintText(const std::string& text);
    // Sends the output on its way now: a line that reports stored work must be out before
    // anything else can fail.
    void Flush();
    // A message on the error output, as one line.
    void Tell(const std::string& message);
    // The usage text on the error output.
    void TellUsage();
    // The exit status once every line is out: a status of 0 becomes 1, with its message, when
    // the output could not be written.
    int Finish(int status);

private:
    void CheckOutput();

    std::string programFolder_;
    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<League> league_;
    std::string openedLeague_;
    int outputError_ = 0; // the system's reason for the first failed write, -1 when unknown
};

using Command = std::function<int(Context&, Arguments&)>;

// The usage text: the synopsis and every command's usage line.
const std::string& UsageText();
// Runs a whole command line (without the program name); gives the exit status.
int Run(const std::vector<std::string>& args, const std::string& executableFolder,
        std::ostream& out, std::ostream& err);

// The first word as the league argument of a command, taken out of words; a usage error when
// there is none.
std::string TakeLeague(std::vector<std::string>& words, const std::string& command);
// The league argument of a command that takes no other word.
std::string OnlyLeague(Arguments& args, const std::string& command);
// An option naming how qualifying is given, speed or time, as the lap reporting method it
// means (0 speed, 1 time); nothing when absent.
std::optional<LapReportingMethod> LapMethodOption(Arguments& args, const std::string& name);

// --format tsv|csv|json; tsv when absent.
DataFormat FormatOption(Arguments& args);
// A table in the format asked for: tsv as header and rows (the caption is the caller's), csv and
// json as the data functions write them.
void PrintData(Context& ctx, const DataTable& table, DataFormat format);
// Publishes the season of the open league into folder and lists the files written and removed.
int ExportSite(Context& ctx, League& league, const std::string& folder);

// Commands, one per file of this folder.
int CommandNew(Context& ctx, Arguments& args);
int CommandReports(Context& ctx, Arguments& args);
int CommandDrivers(Context& ctx, Arguments& args);
int CommandAddDriver(Context& ctx, Arguments& args);
int CommandEditDriver(Context& ctx, Arguments& args);
int CommandRemoveDrivers(Context& ctx, Arguments& args);
int CommandExclude(Context& ctx, Arguments& args);
int CommandInclude(Context& ctx, Arguments& args);
int CommandRemoveExcluded(Context& ctx, Arguments& args);
int CommandRecalc(Context& ctx, Arguments& args);
int CommandFolders(Context& ctx, Arguments& args);
int CommandImport(Context& ctx, Arguments& args);
int CommandRaces(Context& ctx, Arguments& args);
int CommandStandings(Context& ctx, Arguments& args);
int CommandExport(Context& ctx, Arguments& args);
int CommandResults(Context& ctx, Arguments& args);
int CommandRemoveRaces(Context& ctx, Arguments& args);
int CommandRankCriteria(Context& ctx, Arguments& args);
int CommandPoints(Context& ctx, Arguments& args);
int CommandAdjust(Context& ctx, Arguments& args);
int CommandAdjustments(Context& ctx, Arguments& args);
int CommandRemoveAdjustment(Context& ctx, Arguments& args);

} // namespace scorewell::cli
