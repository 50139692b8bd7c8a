// Writes the demo season's race finals (resources/demo) into the folder given.

#include <cstdio>
#include <exception>
#include <filesystem>

#include "LeagueGenerator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_season FOLDER\n");
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        for (const std::string& path :
             scorewell::bench::WriteSeason(argv[1], scorewell::bench::DemoSeason())) {
            std::printf("%s\n", path.c_str());
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_demo_season: %s\n", e.what());
        return 1;
    }
}
