#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/League.h"
#include "data/Program.h"

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

    // --name VALUE; nothing when absent; a usage error when the value is missing.
    std::optional<std::string> Option(const std::string& name);
    // --name; true when present.
    bool Flag(const std::string& name);
    // The words left, in order; a usage error for an unknown option among them.
    std::vector<std::string> Positional();

private:
    std::vector<std::string> words_;
};

// What every command works with: where the output goes and the program (opened on first need).
class Context {
public:
    Context(std::string programFolder, std::ostream& output, std::ostream& errors)
        : programFolder_(std::move(programFolder)), out(output), err(errors) {}

    Program& GetProgram();
    // Opens a league as the desktop program does and holds it for the command, its warnings on
    // the error stream one line each ("warning<TAB>text"); Close compacts it when that pays. A
    // command that only reads shares the league with other readers.
    std::unique_ptr<League> OpenLeague(const std::string& path,
                                       LeagueAccess access = LeagueAccess::Change);
    // The league last opened, for the message of an error of the engine; empty when none.
    const std::string& OpenedLeague() const { return openedLeague_; }

    std::string programFolder_;
    std::ostream& out;
    std::ostream& err;

private:
    std::unique_ptr<Program> program_;
    std::string openedLeague_;
};

using Command = std::function<int(Context&, Arguments&)>;

// The usage text.
const char* UsageText();
// Runs a whole command line (without the program name); gives the exit status.
int Run(const std::vector<std::string>& args, const std::string& executableFolder,
        std::ostream& out, std::ostream& err);

// Commands, one per file of this folder.
int CommandNew(Context& ctx, Arguments& args);
int CommandReports(Context& ctx, Arguments& args);
int CommandDrivers(Context& ctx, Arguments& args);
int CommandExclude(Context& ctx, Arguments& args);
int CommandInclude(Context& ctx, Arguments& args);
int CommandRemoveExcluded(Context& ctx, Arguments& args);
int CommandRecalc(Context& ctx, Arguments& args);
int CommandFolders(Context& ctx, Arguments& args);
int CommandImport(Context& ctx, Arguments& args);
int CommandRaces(Context& ctx, Arguments& args);
int CommandStandings(Context& ctx, Arguments& args);
int CommandExport(Context& ctx, Arguments& args);

} // namespace scorewell::cli
