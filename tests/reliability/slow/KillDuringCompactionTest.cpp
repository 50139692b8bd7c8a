// Every command compacts the league when it closes it: a copy through TmpPoints.mdb, flushed,
// then renamed over the league. Killed before, during and after that rename, the league holds
// either the content before the command or the content after it, never a mix; a copy left
// behind is removed when the league is next opened.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "Harness.h"
#include "LeagueCheck.h"
#include "LeagueGenerator.h"
#include "data/League.h"
#include "data/Program.h"
#include "support/Process.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(KillDuringCompaction, TheLeagueIsTheOldOrTheNewNeverAMix) {
    const int kills = test::HarnessCount("SCOREWELL_COMPACTION_KILLS", 150);
    const std::uint64_t seed = test::HarnessSeed("kill during compaction");
    std::mt19937_64 random(seed);

    test::TempDir dir;
    const std::string prog = dir.File("prog");
    const std::string league = dir.File("cup.slf");
    const std::string copy = dir.File(League::kStaleCompactName);
    // Large enough that copying it takes a while.
    const test::WrittenSeason season = test::WriteGeneratedSeason(dir.File("stn"), 80, seed);
    {
        Program program(prog);
        bench::BuildLeague(program, league, season.files, 0);
    }
    std::cout << "league of " << fs::file_size(league) / 1024 << " KiB\n";
    const std::string driver = [&] {
        Database db = Database::OpenReadOnly(league);
        return db.Scalar("SELECT Name FROM Driver ORDER BY DriverID LIMIT 1").AsText();
    }();

    // Each command flips one driver's exclusion: the content before and after differ by it.
    auto args = [&](bool exclude) {
        return std::vector<std::string>{"--program-folder", prog, exclude ? "exclude" : "include",
                                        league, driver};
    };
    std::string content[2]; // [excluded]
    content[0] = test::KeyColumns(league);
    Clock::duration untilCopy{}, copying{};
    for (int i = 0; i < 3; ++i) {
        for (bool exclude : {true, false}) {
            test::ChildProcess child(SCOREWELL_CLI_PATH, args(exclude));
            const auto started = Clock::now();
            while (!fs::exists(copy) && child.Running()) {
                std::this_thread::sleep_for(100us);
            }
            const auto seen = Clock::now();
            ASSERT_EQ(child.Wait().exitCode, 0);
            untilCopy = std::max(untilCopy, seen - started);
            copying = std::max(copying, Clock::now() - seen);
            content[exclude] = test::KeyColumns(league);
        }
    }
    ASSERT_NE(content[0], content[1]);
    using us = std::chrono::microseconds;
    const long long untilCopyUs = std::chrono::duration_cast<us>(untilCopy).count();
    const long long copyingUs = std::chrono::duration_cast<us>(copying).count() * 12 / 10;
    std::cout << "the copy starts after " << untilCopyUs / 1000 << " ms and takes up to "
              << copyingUs / 1000 << " ms\n";

    bool excluded = false;
    int tried = 0, survived = 0, stale = 0, cleaned = 0;
    int before = 0, during = 0, after = 0;
    while (tried < kills) {
        const bool exclude = !excluded;
        test::ChildProcess child(SCOREWELL_CLI_PATH, args(exclude));
        const auto started = Clock::now();
        // Mostly around the copy and the rename; some kills earlier, while the command works.
        const bool early = std::uniform_int_distribution<int>(0, 4)(random) == 0;
        bool seenCopy = false;
        if (early) {
            const auto at =
                started + us(std::uniform_int_distribution<long long>(0, untilCopyUs)(random));
            while (Clock::now() < at && child.Running()) {
                std::this_thread::sleep_for(100us);
            }
            seenCopy = fs::exists(copy);
        } else {
            while (!(seenCopy = fs::exists(copy)) && child.Running()) {
                std::this_thread::sleep_for(50us);
            }
            const auto at =
                Clock::now() + us(std::uniform_int_distribution<long long>(0, copyingUs)(random));
            while (Clock::now() < at && child.Running()) {
                std::this_thread::sleep_for(50us);
            }
        }
        const bool copyThere = fs::exists(copy);
        child.Kill(SIGKILL);
        const test::ProcessResult result = child.Wait();
        EXPECT_FALSE(test::HasSanitizerReport(result.err)) << result.err;
        if (result.signal != SIGKILL) {
            EXPECT_EQ(result.exitCode, 0) << result.err;
            ASSERT_EQ(test::KeyColumns(league), content[exclude]);
            excluded = exclude;
            continue;
        }
        ++tried;
        if (!seenCopy) {
            ++before;
        } else if (copyThere) {
            ++during;
        } else {
            ++after;
        }

        std::string problems = test::LeagueProblems(league);
        const std::string now = test::KeyColumns(league);
        if (now != content[0] && now != content[1]) {
            problems += "the league holds neither the old nor the new content\n";
        }
        survived += problems.empty();
        ASSERT_EQ(problems, "") << "seed " << seed;
        excluded = now == content[1];

        // A copy left by the kill goes when the league is next opened.
        if (fs::exists(copy)) {
            ++stale;
            Program program(prog);
            League opened(program, league);
            cleaned += !fs::exists(copy);
            EXPECT_FALSE(fs::exists(copy));
        }
    }
    std::cout << "kills before the copy " << before << ", during it " << during
              << ", after the rename " << after << "\n";
    test::PrintFigure("stale compaction copies removed on the next open", cleaned, stale);
    test::PrintFigure("kills during compaction survived", survived, tried);
}

} // namespace
} // namespace scorewell
