#pragma once

#include <string>
#include <vector>

namespace scorewell::test {

struct ProcessResult {
    int exitCode = -1; // -1 when the process did not exit normally
    int signal = 0;    // the signal that ended it, if one did
    std::string out;
    std::string err;
};

// Runs a program to its end with the given arguments, collecting its output.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args);

// Runs the built command line.
ProcessResult RunCli(const std::vector<std::string>& args);

} // namespace scorewell::test
