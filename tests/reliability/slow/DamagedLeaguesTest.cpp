// Damaged copies of a league (random bytes, whole pages, the header, a cut or padded file) are
// handed to the command line. It never crashes; a league it refuses gets one plain line naming
// the file and is not written at all; one it accepts was sound enough to be read and stays so.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "Harness.h"
#include "LeagueCheck.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kPage = 4096;

enum Damage { kBytes, kPages, kHeader, kFirstPage, kLength, kDamageKinds };
const char* const kDamageNames[] = {"random bytes", "whole pages", "the header",
                                    "the catalogue page", "the length"};

std::string Damaged(std::string bytes, Damage kind, std::mt19937_64& random) {
    auto pick = [&](std::size_t low, std::size_t high) {
        return std::uniform_int_distribution<std::size_t>(low, high)(random);
    };
    auto byte = [&] {
        return static_cast<char>(pick(0, 255));
    };
    const std::size_t pages = bytes.size() / kPage;
    // Up to n bytes at random places from first to last.
    auto scatter = [&](std::size_t n, std::size_t first, std::size_t last) {
        for (n = pick(1, n); n > 0; --n) {
            bytes[pick(first, last)] = byte();
        }
    };
    switch (kind) {
    case kBytes:
        scatter(16, 100, bytes.size() - 1);
        break;
    case kPages:
        for (std::size_t n = pick(1, 2); n > 0; --n) {
            const std::size_t at = pick(1, pages - 1) * kPage;
            const std::size_t from = pick(0, pages - 1) * kPage;
            switch (pick(0, 2)) {
            case 0:
                std::fill(bytes.begin() + at, bytes.begin() + at + kPage, '\0');
                break;
            case 1:
                for (std::size_t i = 0; i < kPage; ++i) {
                    bytes[at + i] = byte();
                }
                break;
            default:
                bytes.replace(at, kPage, bytes.substr(from, kPage));
            }
        }
        break;
    case kHeader:
        scatter(3, 0, 99);
        break;
    case kFirstPage:
        scatter(8, 100, kPage - 1);
        break;
    default:
        if (pick(0, 1) == 0) {
            bytes.resize(pick(0, bytes.size() - 1));
        } else {
            bytes.append(pick(1, 3 * kPage), byte());
        }
    }
    return bytes;
}

using DamagedLeagues = test::CliFixture;

TEST_F(DamagedLeagues, AreRefusedPlainlyOrReadSoundlyButNeverCrashOrGetWritten) {
    const int copies = test::HarnessCount("SCOREWELL_DAMAGED", 620);
    const std::uint64_t seed = test::HarnessSeed("damaged leagues");
    std::mt19937_64 random(seed);
    const char* keep = std::getenv("SCOREWELL_KEEP_FAILED");

    const std::string original = dir.File("original.slf");
    const std::string work = dir.File("work");
    MakeDemoLeague(original, 6);
    const std::string sound = test::ReadFileBytes(original);
    std::cout << "league of " << sound.size() / kPage << " pages\n";

    const std::string league = work + "/cup.slf";
    const auto commands = test::LeagueCommands(league, work);
    int tried = 0, withoutCrash = 0, refused = 0, accepted = 0, fileRefused = 0;
    int byKind[kDamageKinds] = {};
    for (int i = 0; i < copies; ++i) {
        const auto kind = static_cast<Damage>(i % kDamageKinds);
        const std::string damaged = Damaged(sound, kind, random);
        if (damaged == sound) {
            continue;
        }
        ++tried;
        fs::remove_all(work);
        fs::create_directories(work);
        test::WriteFileBytes(league, damaged);
        const auto& command = commands[static_cast<std::size_t>(i) % commands.size()];
        const auto r = Cli(command);

        test::Problems problems;
        const bool crashed = r.signal != 0 || test::HasSanitizerReport(r.err) ||
                             (r.exitCode != 0 && r.exitCode != 1);
        problems.Expect(!crashed, "crashed (signal " + std::to_string(r.signal) + ", status " +
                                      std::to_string(r.exitCode) + ")");
        withoutCrash += !crashed;
        // An import that could not take a file says so on its own line and still imports the
        // others (none here); the league was opened and closed as usual, so it must be sound.
        const bool fileFailed = command[0] == "import" && r.exitCode == 1 && r.err.empty() &&
                                r.out.find("failed\t") != std::string::npos;
        if (fileFailed) {
            ++fileRefused;
            problems.Expect(r.out.find("imported\t0 races\n") != std::string::npos,
                            "the import's summary is missing");
            problems.Expect(test::LeagueProblems(league).empty(),
                            "a league kept after a failed file is "
                            "left unsound");
        } else if (r.exitCode != 0 && !crashed) {
            ++refused;
            ++byKind[kind];
            problems.Expect(r.err.find('\n') == r.err.size() - 1, "not one line");
            problems.Expect(r.err.find("\"" + league + "\"") != std::string::npos,
                            "the message does not name the league");
            problems.Expect(test::ReadFileBytes(league) == damaged,
                            "the refused league was written");
            for (const auto& entry : fs::directory_iterator(work)) {
                problems.Expect(entry.path() == league, "left behind: " + entry.path().string());
            }
        } else if (!crashed) {
            ++accepted;
            problems.Expect(test::LeagueProblems(league).empty(),
                            "an accepted league is left unsound");
        }
        if (!problems.text.empty() && keep && *keep) {
            // The copy that failed, for opening by hand with the sqlite3 shell.
            test::WriteFileBytes(std::string(keep) + "/copy-" + std::to_string(i) + ".slf",
                                 damaged);
        }
        EXPECT_EQ(problems.text, "") << "copy " << i << ", " << kDamageNames[kind] << ", "
                                     << command[0] << ": " << r.err << " (seed " << seed << ")";
    }
    std::cout << "refused " << refused << " (";
    for (int k = 0; k < kDamageKinds; ++k) {
        std::cout << (k ? ", " : "") << kDamageNames[k] << " " << byKind[k];
    }
    std::cout << "), read as sound " << accepted << ", race final refused by the league "
              << fileRefused << "\n";
    test::PrintFigure("damaged leagues opened without a crash", withoutCrash, tried);
}

} // namespace
} // namespace scorewell
