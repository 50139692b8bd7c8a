// A full disk, made with a file size limit at many sizes, during an import, a compaction, a page
// export and the replacing of a league by a new one. Every failure is one plain line about the
// disk or the write; the league and the page already published stay as they were, and nothing is
// left behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <set>

#include "Harness.h"
#include "LeagueCheck.h"
#include "LeagueGenerator.h"
#include "RaceFinalWriter.h"
#include "data/Database.h"
#include "import/RaceFinal.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;

class FullDiskTest : public test::CliFixture {
protected:
    std::string work = dir.Path() + "/work";
    std::string league = work + "/cup.slf";
    std::string page = work + "/standings.html";
    int tried = 0;
    int clean = 0;
    int warnings = 0;

    std::string ready = dir.Path() + "/ready";

    // The working folder every run starts from, made once with the command line: the league,
    // and a page published from it before its last race. Each run copies it, which spares two
    // runs of the command line per fault point.
    void SetUp() override {
        fs::create_directories(work);
        MakeDemoLeague(league, 2);
        ASSERT_EQ(Cli({"export", league, "--report", "1", "-o", page}).exitCode, 0);
        ASSERT_EQ(Cli({"import", league, test::kDemoFiles[2]}).exitCode, 0);
        fs::rename(work, ready);
    }

    // The working folder as made; with pages freed so that the next change compacts the league.
    void Reset(bool freePages = false) {
        fs::remove_all(work);
        fs::copy(ready, work, fs::copy_options::recursive);
        if (freePages) {
            test::FreePages(league, 60);
        }
    }

    // Runs the command once without a limit to know what success leaves, then under every limit.
    void Sweep(const std::string& what, const std::vector<std::string>& command,
               bool freePages = false, unsigned long long reach = 24 * 1024) {
        Reset(freePages);
        ASSERT_EQ(Cli(command).exitCode, 0);
        const std::string goodContent = test::KeyColumns(league);
        const std::string goodPage = test::ReadFileBytes(page);
        Reset();
        const auto size = static_cast<unsigned long long>(fs::file_size(league));
        std::vector<unsigned long long> limits = {
            0,        1,    512,      4096,        16384,        size / 2, size - 4096,
            size - 1, size, size + 1, size + 4096, size + 16384, size * 2, size * 4};
        // Step by step just past the league's size, where the journal and new pages fail.
        for (unsigned long long k = 1; k <= 24; ++k) {
            limits.push_back(size + k * reach / 24);
        }
        for (unsigned long long limit : limits) {
            Reset(freePages);
            SCOPED_TRACE(what + " with files limited to " + std::to_string(limit) + " bytes");
            const std::string leagueBefore = test::ReadFileBytes(league);
            const std::string contentBefore = test::KeyColumns(league);
            const std::string pageBefore = test::ReadFileBytes(page);
            test::ProcessOptions options;
            options.fileSizeLimit = limit;
            const auto r = Cli(command, options);
            ++tried;
            test::Problems problems;
            problems.Expect(r.signal == 0, "ended by signal " + std::to_string(r.signal));
            problems.Expect(!test::HasSanitizerReport(r.err), "sanitizer report: " + r.err);
            problems.text += test::LeagueProblems(league);
            for (const auto& entry : fs::directory_iterator(work)) {
                const std::string name = entry.path().filename().string();
                problems.Expect(name == "cup.slf" || name == "standings.html",
                                "left behind: " + name);
            }
            if (r.exitCode == 0) {
                problems.Expect(test::KeyColumns(league) == goodContent,
                                "the league is not as it should be");
                problems.Expect(test::ReadFileBytes(page) == goodPage,
                                "the page is not as it should be");
                // Work that is stored succeeded, even when the compaction after it failed.
                const bool warned = r.err.rfind("scorewell-cli: Warning: ", 0) == 0 &&
                                    r.err.find("could not be compacted") != std::string::npos &&
                                    r.err.find('\n') == r.err.size() - 1;
                problems.Expect(r.err.empty() || warned, "more than a warning: " + r.err);
                warnings += warned;
            } else {
                // The message: the error line, and the line of a result file that failed.
                std::string message = r.err;
                for (std::size_t at = r.out.find("failed\t"); at != std::string::npos;
                     at = r.out.find("failed\t", at + 1)) {
                    message += r.out.substr(at, r.out.find('\n', at) + 1 - at);
                }
                problems.Expect(r.exitCode == 1, "exit status " + std::to_string(r.exitCode));
                problems.Expect(r.err.empty() || r.err.find('\n') == r.err.size() - 1,
                                "not one line: " + r.err);
                problems.Expect(message.find("the disk is full") != std::string::npos ||
                                    message.find("cannot be written") != std::string::npos,
                                "not plain: " + message);
                // What the command reported done before it closed the league.
                const bool done = (r.out.find("imported\t") != std::string::npos &&
                                   r.out.find("imported\t0 races") == std::string::npos) ||
                                  r.out.find(page + "\n") != std::string::npos ||
                                  r.out.find("excluded\t") != std::string::npos;
                // A script that reads a failure retries: nothing it was told is done may fail.
                problems.Expect(!done, "reported done, then failed: " + r.err);
                problems.Expect(test::ReadFileBytes(page) == pageBefore,
                                "the published page changed");
                problems.Expect(r.out.find("imported\t") != std::string::npos ||
                                    test::ReadFileBytes(league) == leagueBefore,
                                "the league changed");
                problems.Expect(test::KeyColumns(league) == contentBefore, "the content changed");
            }
            clean += problems.text.empty();
            EXPECT_EQ(problems.text, "") << r.err;
        }
    }
};

TEST_F(FullDiskTest, ImportCompactionExportAndReplacingFailCleanlyAtEverySize) {
    Sweep("import", {"import", league, test::kDemoFiles[3]});
    // A full disk while the first file is staged must not let the second one in on its own.
    // The first file too big for the disk, the second small enough to fit after it failed: a
    // race final of twenty thousand drivers, more than the engine keeps in memory before it
    // writes to the file, its driver lines copied with names of their own.
    RaceFinalRace race = bench::DemoSeason()[3];
    race.name = "Big Race";
    std::string text = RaceFinalText(race);
    // The driver lines end where the first blank line after the column heading is.
    const std::size_t blockEnd = text.find("\r\n\r\n", text.find("Fn  St")) + 2;
    const std::size_t lastLine = text.rfind("\r\n", blockEnd - 3) + 2;
    const std::string line = text.substr(lastLine, blockEnd - lastLine);
    const ColumnPlace name = DriverLineLayoutFor(Simulation::NascarRacing3).driverName;
    std::string copies;
    for (int i = 1; i <= 20000; ++i) {
        std::string copy = line;
        std::string driver = "Driver Number " + std::to_string(i);
        driver.resize(static_cast<std::size_t>(name.width), ' ');
        copy.replace(static_cast<std::size_t>(name.position - 1), driver.size(), driver);
        copies += copy;
    }
    text.insert(blockEnd, copies);
    test::WriteFileBytes(dir.File("big.stn"), text);
    Sweep("import of a big and a small file",
          {"import", league, dir.File("big.stn"), test::kDemoFiles[4]}, false, 512 * 1024);
    Sweep("compaction", {"exclude", league, "Amos Whitlock"}, true);
    Sweep("export", {"export", league, "--report", "1", "-o", page});
    Sweep("replacing the league", {"new", league, "--sim", "1", "--force"});
    test::PrintFigure("full-disk fault points clean", clean, tried);
    std::cout << "compactions that failed after stored work, told as a warning: " << warnings
              << "\n";
}

} // namespace
} // namespace scorewell
