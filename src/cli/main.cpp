#include <iostream>

#include "cli/Cli.h"
#include "common/Platform.h"

int main(int argc, char** argv) {
    scorewell::PrepareConsoleProgram();
    return scorewell::cli::Run(scorewell::CommandLineArguments(argc, argv),
                               scorewell::ExecutableFolder(), std::cout, std::cerr);
}
