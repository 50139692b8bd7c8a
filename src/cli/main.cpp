#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"

int main(int argc, char** argv) {
    // A file size limit must show up as a write error with a message, not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string exeFolder = ec ? std::string() : exe.parent_path().string();
    return scorewell::cli::Run(args, exeFolder, std::cout, std::cerr);
}
