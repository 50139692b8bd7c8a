// The command line imports batches of race finals into one league, and is killed at random
// moments: while it opens the league, stages, imports, commits or compacts it. After every kill the
// league must open sound, every batch must be wholly there or wholly absent, and every import
// the command reported done must be there.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>

#include "Harness.h"
#include "LeagueCheck.h"
#include "common/Paths.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

using namespace std::chrono_literals;

using KillDuringImport = test::CliFixture;

TEST_F(KillDuringImport, EveryReportedImportSurvivesAndNoBatchIsHalfThere) {
    const int kills = test::HarnessCount("SCOREWELL_KILLS", 200);
    const std::uint64_t seed = test::HarnessSeed("kill during import");
    std::mt19937_64 random(seed);

    const std::string league = dir.File("cup.slf");
    const std::string journal = league + "-journal";
    const std::size_t batchSize = 2;
    const test::WrittenSeason season =
        test::WriteGeneratedSeason(dir.File("stn"), kills * 6 + 20, seed);
    std::map<std::string, int> expected;
    for (std::size_t i = 0; i < season.files.size(); ++i) {
        expected[FileNameOf(season.files[i], false)] = season.drivers[i];
    }
    ASSERT_EQ(Cli({"new", league, "--sim", "0"}).exitCode, 0);

    std::size_t next = 0;
    auto batchArgs = [&](std::size_t first) {
        std::vector<std::string> args = {"--program-folder", prog, "import", league};
        for (std::size_t i = first; i < first + batchSize; ++i) {
            args.push_back(season.files[i]);
        }
        return args;
    };
    // How long one batch takes here, so that kills spread over the whole command.
    const test::KilledRun timed =
        test::RunKilledAt(batchArgs(next), std::chrono::hours(1), journal, 200us); // not killed
    ASSERT_EQ(timed.result.exitCode, 0) << timed.result.err;
    next += batchSize;
    // Follows the imports that end on their own, as the league grows and the machine's load
    // changes: kills should land all through the command, and rarely after it.
    double longest = static_cast<double>(timed.took.count());
    std::cout << "one batch takes " << timed.took.count() / 1000 << " ms\n";

    std::vector<std::string> reportedDone;
    int tried = 0, survived = 0, finished = 0, inTransaction = 0;
    while (tried < kills) {
        ASSERT_LT(next + batchSize, season.files.size());
        const std::size_t first = next;
        next += batchSize;
        const test::KilledRun run =
            test::RunKilledAt(batchArgs(first),
                              std::chrono::microseconds(std::uniform_int_distribution<long long>(
                                  0, static_cast<long long>(longest))(random)),
                              journal, 200us);
        const test::ProcessResult& result = run.result;
        inTransaction += run.journalAtKill;
        if (!run.killed) {
            ++finished;
            longest = 0.8 * longest + 0.2 * static_cast<double>(run.took.count());
            EXPECT_EQ(result.exitCode, 0) << result.err;
        }
        if (result.out.find("imported\t") != std::string::npos) {
            for (std::size_t i = first; i < first + batchSize; ++i) {
                reportedDone.push_back(FileNameOf(season.files[i], false));
            }
        }

        // The league as the next program to open it finds it.
        test::Problems problems{test::LeagueProblems(league)};
        const auto results = test::ResultsByRaceFile(league);
        for (const auto& [file, counts] : results) {
            problems.Expect(counts.size() == 1 && counts[0] == expected[file],
                            "race " + file + " is there " + std::to_string(counts.size()) +
                                " times, first with " + std::to_string(counts[0]) + " of " +
                                std::to_string(expected[file]) + " results");
        }
        int present = 0;
        for (std::size_t i = first; i < first + batchSize; ++i) {
            present += results.contains(FileNameOf(season.files[i], false));
        }
        problems.Expect(present == 0 || present == static_cast<int>(batchSize),
                        "the batch is half there");
        for (const std::string& file : reportedDone) {
            problems.Expect(results.contains(file), "the reported import of " + file + " is lost");
        }
        if (run.killed) {
            ++tried;
            survived += problems.text.empty();
        }
        ASSERT_EQ(problems.text, "") << "after " << (run.killed ? "a kill" : "a finished import")
                                     << " (seed " << seed << ")";
    }
    std::cout << "imports finished before their kill: " << finished
              << ", kills while a transaction was writing: " << inTransaction << "\n";
    test::PrintFigure("kills during import survived", survived, tried);
}

} // namespace
} // namespace scorewell
