// similar_names_count RESULTS.csv: the pairs of similar names the import would raise on real
// seasons, where every distinct name is a distinct driver (so every pair is a false alarm).
// Each season is one league, its races imported in order; prints each pair and the count.
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "import/SimilarNames.h"

namespace {

// The fields of a CSV line; quoted fields may hold commas.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: similar_names_count RESULTS.csv\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "similar_names_count: \"%s\" cannot be read.\n", argv[1]);
        return 1;
    }
    // season -> race -> drivers in finishing order
    std::map<int, std::map<int, std::vector<std::string>>> seasons;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const auto f = Fields(line);
        if (f.size() >= 5) {
            seasons[std::stoi(f[0])][std::stoi(f[1])].push_back(f[4]);
        }
    }
    int pairs = 0;
    int names = 0;
    for (const auto& [season, races] : seasons) {
        std::vector<std::string> known;
        std::set<std::string> seen;
        for (const auto& [race, drivers] : races) {
            std::vector<std::string> fresh;
            for (const std::string& d : drivers) {
                if (seen.insert(d).second) {
                    fresh.push_back(d);
                }
            }
            for (const auto& s : scorewell::FindSimilarNames(fresh, known)) {
                std::printf("%d race %d\t%s\t%s\n", season, race, s.newName.c_str(),
                            s.existingName.c_str());
                ++pairs;
            }
            known.insert(known.end(), fresh.begin(), fresh.end());
            names += static_cast<int>(fresh.size());
        }
    }
    std::printf("%d pairs raised among %d new names in %zu seasons\n", pairs, names,
                seasons.size());
    return 0;
}
