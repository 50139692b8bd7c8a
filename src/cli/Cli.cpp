#include "cli/Cli.h"

#include <iostream>
#include <map>

#include "common/Errors.h"
#include "common/Text.h"

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

} // namespace

const char* UsageText() {
    return "usage: scorewell-cli [--program-folder DIR] COMMAND ...\n"
           "  new LEAGUE [--sim 0..3] [--offline] [--drop N] [--lap-method speed|time] "
           "[--force]\n"
           "  import LEAGUE FILE... [--qualifying speed|time]\n"
           "  races LEAGUE\n"
           "  reports\n"
           "  standings LEAGUE [--report NAME|ID]\n"
           "  export LEAGUE (--report NAME|ID | --race RACEID) -o PAGE\n"
           "  recalc LEAGUE (RACEID... | --all)\n"
           "  drivers LEAGUE\n"
           "  exclude LEAGUE NAME...   include LEAGUE NAME...   remove-excluded LEAGUE\n"
           "  folders [--nr3 DIR] [--legends DIR] [--nr4 DIR]\n";
}

std::optional<std::string> Arguments::Option(const std::string& name) {
    for (std::size_t i = 0; i < words_.size(); ++i) {
        if (words_[i] == name) {
            if (i + 1 >= words_.size()) {
                throw UsageError(name + " needs a value");
            }
            std::string value = words_[i + 1];
            words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i),
                         words_.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return value;
        }
    }
    return std::nullopt;
}

bool Arguments::Flag(const std::string& name) {
    for (std::size_t i = 0; i < words_.size(); ++i) {
        if (words_[i] == name) {
            words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

std::vector<std::string> Arguments::Positional() {
    for (const std::string& w : words_) {
        if (StartsWith(w, "--")) {
            throw UsageError("unknown option " + w);
        }
    }
    return words_;
}

Program& Context::GetProgram() {
    if (!program_) {
        program_ = std::make_unique<Program>(programFolder_);
    }
    return *program_;
}

std::unique_ptr<League> Context::OpenLeague(const std::string& path, LeagueAccess access) {
    auto league = std::make_unique<League>(GetProgram(), path, access);
    openedLeague_ = league->Path();
    for (const std::string& warning : league->Warnings()) {
        err << "warning\t" << warning << "\n";
    }
    return league;
}

int Run(const std::vector<std::string>& args, const std::string& executableFolder,
        std::ostream& out, std::ostream& err) {
    std::vector<std::string> words = args;
    std::string programFolder;
    try {
        Arguments globals(words);
        auto folder = globals.Option("--program-folder");
        if (folder) {
            programFolder = *folder;
            // Take the option out wherever it stood before the command.
            for (std::size_t i = 0; i + 1 < words.size(); ++i) {
                if (words[i] == "--program-folder") {
                    words.erase(words.begin() + static_cast<std::ptrdiff_t>(i),
                                words.begin() + static_cast<std::ptrdiff_t>(i) + 2);
                    break;
                }
            }
        }
    } catch (const UsageError& e) {
        err << "scorewell-cli: " << e.what() << "\n" << UsageText();
        return 2;
    }
    if (words.empty() || words[0] == "--help" || words[0] == "-h") {
        (words.empty() ? err : out) << UsageText();
        return words.empty() ? 2 : 0;
    }
    auto it = Commands().find(words[0]);
    if (it == Commands().end()) {
        err << "scorewell-cli: unknown command " << words[0] << "\n" << UsageText();
        return 2;
    }
    if (programFolder.empty()) {
        programFolder = Program::DefaultFolder(executableFolder);
    }
    Context ctx(programFolder, out, err);
    Arguments commandArgs(std::vector<std::string>(words.begin() + 1, words.end()));
    try {
        return it->second(ctx, commandArgs);
    } catch (const UsageError& e) {
        err << "scorewell-cli: " << e.what() << "\n" << UsageText();
        return 2;
    } catch (const DbError& e) {
        // The command's transaction was rolled back when the error left it.
        if (ctx.OpenedLeague().empty()) {
            err << "scorewell-cli: " << PlainReason(e) << "\n";
        } else {
            err << "scorewell-cli: \"" << ctx.OpenedLeague()
                << "\" could not be changed and is as it was: " << PlainReason(e) << ".\n";
        }
        return 1;
    } catch (const std::exception& e) {
        err << "scorewell-cli: " << e.what() << "\n";
        return 1;
    }
}

} // namespace scorewell::cli
