// Standings, recalculation and the command line's memory on a league of 1,000 races, each against
// the bare SQLite work it needs, measured in the same run.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "LeagueGenerator.h"
#include "data/League.h"
#include "reports/Dropped.h"
#include "reports/ReportEngine.h"
#include "editing/PointSystem.h"
#include "scoring/Recalculation.h"

namespace {

using namespace scorewell;
using bench::Median;
using bench::Scratch;
using bench::Time;

constexpr int kRaces = 1000;
constexpr int kRepetitions = 5;
constexpr int kDropped = 5;

// Runs the command line and gives its peak resident memory in kilobytes (-1 when it failed).
long PeakMemoryKb(const std::vector<std::string>& args) {
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        std::string program = SCOREWELL_CLI_PATH;
        argv.push_back(program.data());
        std::vector<std::string> copies = args;
        for (std::string& a : copies) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        if (freopen("/dev/null", "w", stdout) == nullptr) {
            _exit(127);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    return usage.ru_maxrss;
}

} // namespace

int main() {
    try {
        Scratch scratch;
        Program program(scratch.File("program"));
        bench::SeasonShape shape;
        shape.races = kRaces;
        std::filesystem::create_directory(scratch.File("finals"));
        const auto season = bench::GenerateSeason(shape);
        const auto files = bench::WriteSeason(scratch.File("finals"), season);
        const std::string path = scratch.File("season.slf");
        bench::BuildLeague(program, path, files, 0);
        std::printf("league: %d races of %d cars from %d drivers\n", kRaces, shape.carsPerRace,
                    shape.drivers);

        // Opening checks the whole file (integrity, relations, definitions) before any write.
        const double opening = Time([&] { League checked(program, path); });
        std::printf("open with every check: %.0f ms\n", opening * 1000);

        League league(program, path);
        Database& db = league.Db();
        const ReportDefinition standings = LoadReportDefinition(program.Db(), 1);

        // Marking dropped results and running "Point Standings", against the bare report query
        // plus one set-based update of every result.
        std::vector<double> ours, bare, marking;
        for (int i = 0; i < kRepetitions; ++i) {
            db.Execute("UPDATE Stats SET Dropped = 0");
            marking.push_back(Time([&] { MarkDroppedResults(db, kDropped); }));
            db.Execute("UPDATE Stats SET Dropped = 0");
            ours.push_back(Time([&] {
                MarkDroppedResults(db, kDropped);
                RunReport(db, standings, ".");
            }));
            bare.push_back(Time([&] {
                Transaction t(db);
                db.Execute("UPDATE Stats SET Dropped = NOT Dropped");
                t.Commit();
                db.QueryAll(standings.query);
            }));
        }
        const double standingsTime = Median(ours), bareTime = Median(bare);
        std::printf("mark dropped (%d) + \"Point Standings\": %.1f ms (marking alone %.1f ms)\n",
                    kDropped, standingsTime * 1000, Median(marking) * 1000);
        std::printf("bare report query + one set-based update: %.1f ms\n", bareTime * 1000);
        std::printf("ratio: %.2f (target: at most 3, %s); under 0.5 s: %s\n",
                    standingsTime / bareTime, standingsTime / bareTime <= 3 ? "met" : "MISSED",
                    standingsTime < 0.5 ? "met" : "MISSED");

        // Rescoring every race, as "Remove Excluded Results" does.
        const double recalc = Time([&] { RecalculateAllRaces(league); });
        std::printf("recalculate all %d races: %.2f s (target: under 2 s, %s)\n", kRaces, recalc,
                    recalc < 2 ? "met" : "MISSED");
        // What the point system editor tells after a save: a rescoring tried and taken back.
        int wouldChange = 0;
        const double count = Time([&] { wouldChange = CountRacesChangedByRescoring(league); });
        std::printf("count the races a rescoring would change (%d): %.2f s\n", wouldChange,
                    count);
        const double removal = Time([&] { RemoveExcludedResults(league); });
        std::printf("remove excluded results (copy of the league + recalculation): %.2f s\n",
                    removal);
        league.Close();

        // Peak memory of the command line on the same work.
        std::vector<std::string> importArgs = {"--program-folder", scratch.File("program"),
                                               "import", scratch.File("fresh.slf")};
        importArgs.insert(importArgs.end(), files.begin(), files.begin() + 100);
        const long memNew = PeakMemoryKb({"--program-folder", scratch.File("program"), "new",
                                          scratch.File("fresh.slf"), "--sim", "0"});
        const long memImport = PeakMemoryKb(importArgs);
        const long memStandings =
            PeakMemoryKb({"--program-folder", scratch.File("program"), "standings", path});
        const long memRecalc =
            PeakMemoryKb({"--program-folder", scratch.File("program"), "recalc", path, "--all"});
        const long peak = std::max({memNew, memImport, memStandings, memRecalc});
        std::printf("command line peak memory: import of 100 finals %.1f MB, standings %.1f MB, "
                    "recalc --all %.1f MB (target: under 100 MB, %s)\n",
                    memImport / 1024.0, memStandings / 1024.0, memRecalc / 1024.0,
                    memNew > 0 && memImport > 0 && memStandings > 0 && memRecalc > 0 &&
                            peak < 100 * 1024
                        ? "met"
                        : "MISSED");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_league: %s\n", e.what());
        return 1;
    }
}
