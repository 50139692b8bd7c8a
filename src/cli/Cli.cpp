#include "cli/Cli.h"

#include <cerrno>
#include <iostream>
#include <map>
#include <system_error>

#include "common/Errors.h"
#include "common/Platform.h"
#include "common/Text.h"
#include "data/LeagueFile.h"

namespace scorewell::cli {

namespace {

const std::map<std::string, Command>& Commands() {
    // One command per line, in the order of the usage text.
    static const std::map<std::string, Command> commands = {
        // clang-format off
        {"new", CommandNew},
        {"import", CommandImport},
        {"races", CommandRaces},
        {"reports", CommandReports},
        {"standings", CommandStandings},
        {"export", CommandExport},
        {"recalc", CommandRecalc},
        {"drivers", CommandDrivers},
        {"exclude", CommandExclude},
        {"include", CommandInclude},
        {"remove-excluded", CommandRemoveExcluded},
        {"folders", CommandFolders},
        // clang-format on
    };
    return commands;
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
            ctx.PrintUsage();
            return 0;
        }
        auto it = Commands().find(words[0]);
        if (it == Commands().end()) {
            throw UsageError("There is no command \"" + words[0] + "\".");
        }
        ctx.SetProgramFolder(folder ? *folder : Program::DefaultFolder(executableFolder));
        Arguments commandArgs(std::vector<std::string>(words.begin() + 1, words.end()));
        const int status = it->second(ctx, commandArgs);
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

const char* UsageText() {
    return "Usage: scorewell-cli [--program-folder DIR] COMMAND ...\n"
           "  new LEAGUE [--sim 0..3] [--offline] [--drop N] [--lap-method speed|time] "
           "[--force]\n"
           "  import LEAGUE FILE... [--qualifying speed|time] [--again]\n"
           "  races LEAGUE\n"
           "  reports\n"
           "  standings LEAGUE [--report NAME|ID]\n"
           "  export LEAGUE (--report NAME|ID | --race RACEID) -o PAGE\n"
           "  recalc LEAGUE (RACEID... | --all)\n"
           "  drivers LEAGUE\n"
           "  exclude LEAGUE NAME...   include LEAGUE NAME...   remove-excluded LEAGUE\n"
           "  folders [--nr3 DIR] [--legends DIR] [--nr4 DIR]\n";
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

void Context::PrintUsage() {
    errno = 0;
    out_ << UsageText();
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
