// A command compacts the league when it closes it, if a quarter or more of its pages are free:
// in place, in one transaction of the engine with its rollback journal. Killed before, during and
// after that, the league holds either the content before the command or the content after it,
// never a mix, and it opens sound (a journal left by the kill is played back when it is opened).

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "Harness.h"
#include "LeagueCheck.h"
#include "LeagueGenerator.h"
#include "data/League.h"
#include "data/Program.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Frees as many pages as the league holds in use a third of, so that the next change closes
// with a compaction of the whole file.
void FreeAThirdMore(const std::string& path) {
    test::FreePages(path, Database::Open(path).Scalar("PRAGMA page_count").AsInteger() / 2);
    Database db = Database::Open(path);
    ASSERT_TRUE(CompactionPays(db));
}

using KillDuringCompaction = test::CliFixture;

TEST_F(KillDuringCompaction, TheLeagueIsTheOldOrTheNewNeverAMix) {
    const int kills = test::HarnessCount("SCOREWELL_COMPACTION_KILLS", 150);
    const std::uint64_t seed = test::HarnessSeed("kill during compaction");
    std::mt19937_64 random(seed);

    const std::string league = dir.File("cup.slf");
    const std::string journal = league + "-journal";
    // Large enough that compacting it takes a while.
    const test::WrittenSeason season = test::WriteGeneratedSeason(dir.File("stn"), 80, seed);
    {
        Program program(prog);
        bench::BuildLeague(program, league, season.files, 0);
    }
    std::cout << "league of " << fs::file_size(league) / 1024 << " KiB\n";
    const std::string driver = test::FirstDriver(league);

    // Each command flips one driver's exclusion: the content before and after differ by it.
    auto args = [&](bool exclude) {
        return std::vector<std::string>{"--program-folder", prog, exclude ? "exclude" : "include",
                                        league, driver};
    };
    std::string content[2]; // [excluded]
    content[0] = test::KeyColumns(league);
    std::chrono::microseconds longest{};
    for (int i = 0; i < 3; ++i) {
        for (bool exclude : {true, false}) {
            FreeAThirdMore(league);
            const auto before = fs::file_size(league);
            const test::KilledRun run = test::RunKilledAt(args(exclude), std::chrono::hours(1),
                                                          journal, 50us); // not killed
            ASSERT_EQ(run.result.exitCode, 0) << run.result.err;
            longest = std::max(longest, run.took);
            ASSERT_LT(fs::file_size(league), before) << "the command did not compact";
            content[exclude] = test::KeyColumns(league);
        }
    }
    ASSERT_NE(content[0], content[1]);
    using us = std::chrono::microseconds;
    const long long longestUs = longest.count();
    std::cout << "a command with its compaction takes up to " << longestUs / 1000 << " ms\n";

    bool excluded = false;
    int tried = 0, survived = 0, journals = 0;
    int early = 0, late = 0;
    while (tried < kills) {
        FreeAThirdMore(league);
        const bool exclude = !excluded;
        // Mostly in the later half, where the compaction runs; some kills earlier.
        const bool inWork = std::uniform_int_distribution<int>(0, 4)(random) == 0;
        const long long from = inWork ? 0 : longestUs / 3;
        const test::KilledRun run = test::RunKilledAt(
            args(exclude), us(std::uniform_int_distribution<long long>(from, longestUs)(random)),
            journal, 50us);
        if (!run.killed) {
            EXPECT_EQ(run.result.exitCode, 0) << run.result.err;
            ASSERT_EQ(test::KeyColumns(league), content[exclude]);
            excluded = exclude;
            continue;
        }
        ++tried;
        inWork ? ++early : ++late;
        const bool journalLeft = fs::exists(journal);

        // Opened as the program opens it, so a journal left by the kill is played back first.
        test::Problems problems{test::LeagueProblems(league)};
        const std::string now = test::KeyColumns(league);
        problems.Expect(now == content[0] || now == content[1],
                        "the league holds neither the old nor the new content");
        survived += problems.text.empty();
        ASSERT_EQ(problems.text, "") << "seed " << seed;
        excluded = now == content[1];
        journals += journalLeft;
    }
    std::cout << "kills while the command worked " << early << ", around its compaction " << late
              << "\n";
    std::cout << "kills that left the league's journal behind " << journals << "\n";
    test::PrintFigure("kills during compaction survived", survived, tried);
}

} // namespace
} // namespace scorewell
