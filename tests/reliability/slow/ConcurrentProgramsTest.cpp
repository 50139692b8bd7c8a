// Programs started at the same moment on the same leagues: two leagues of one folder, each
// changed and compacted while the other is, and two imports into one league. Every command either
// does its work whole or is told the league is in use and changes nothing; no league ever takes
// on another's content or loses a race a command reported imported.

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "Harness.h"
#include "LeagueCheck.h"
#include "data/Database.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;

class ConcurrentProgramsTest : public test::CliFixture {
protected:
    int rounds = test::HarnessCount("SCOREWELL_CONCURRENT_ROUNDS", 200);
    test::WrittenSeason season = test::WriteGeneratedSeason(dir.File("stn"), 2 * rounds + 4, 7);

    std::vector<std::string> Args(std::vector<std::string> args) {
        args.insert(args.begin(), {"--program-folder", prog});
        return args;
    }

    std::string MakeLeague(const std::string& name, std::size_t firstRace) {
        const std::string path = dir.File(name);
        EXPECT_EQ(Cli({"new", path, "--sim", "0"}).exitCode, 0);
        EXPECT_EQ(
            Cli({"import", path, season.files[firstRace], season.files[firstRace + 1]}).exitCode,
            0);
        return path;
    }
};

TEST_F(ConcurrentProgramsTest, TwoLeaguesOfOneFolderKeepTheirOwnContent) {
    const std::string a = MakeLeague("a.slf", 0);
    const std::string b = MakeLeague("b.slf", 2);
    // The drivers whose exclusion the rounds flip.
    const std::string nameA = test::FirstDriver(a);
    const std::string nameB = test::FirstDriver(b);
    const std::string readA = test::KeyColumns(a);
    const std::string readB = test::KeyColumns(b);
    std::string excludedA, excludedB;

    int kept = 0;
    for (int round = 0; round < rounds; ++round) {
        const bool change = round % 2 == 1;
        const bool exclude = round % 4 == 1;
        if (change) {
            test::FreePages(a, 80);
            test::FreePages(b, 80);
        }
        auto command = [&](const std::string& league, const std::string& name) {
            return change ? Args({exclude ? "exclude" : "include", league, name})
                          : Args({"races", league});
        };
        test::ChildProcess first(SCOREWELL_CLI_PATH, command(a, nameA));
        test::ChildProcess second(SCOREWELL_CLI_PATH, command(b, nameB));
        const test::ProcessResult ra = first.Wait();
        const test::ProcessResult rb = second.Wait();
        ASSERT_EQ(ra.exitCode, 0) << ra.err;
        ASSERT_EQ(rb.exitCode, 0) << rb.err;
        // Each league holds its own races and only its own driver's flag changed.
        const std::string nowA = test::KeyColumns(a);
        const std::string nowB = test::KeyColumns(b);
        if (round == 1) {
            excludedA = nowA;
            excludedB = nowB;
            ASSERT_NE(excludedA, readA);
            ASSERT_NE(excludedB, readB);
        }
        const bool excluded = round % 4 == 1 || round % 4 == 2;
        const bool rightA = nowA == (excluded ? excludedA : readA);
        const bool rightB = nowB == (excluded ? excludedB : readB);
        ASSERT_TRUE(rightA && rightB) << "round " << round;
        ASSERT_EQ(test::LeagueProblems(a) + test::LeagueProblems(b), "");
        ASSERT_FALSE(fs::exists(dir.File("TmpPoints.mdb")));
        kept += rightA && rightB;
    }
    test::PrintFigure("rounds in which two leagues of one folder kept their content", kept, rounds);
}

TEST_F(ConcurrentProgramsTest, TwoImportsIntoOneLeagueLoseNothingReportedDone) {
    const std::string league = MakeLeague("cup.slf", 0);
    const std::string inUse = "is in use by another program";
    long long races = 2;
    int imported = 0, refused = 0, sound = 0;
    for (int round = 0; round < rounds; ++round) {
        const std::string& one = season.files[2 + 2 * round];
        const std::string& two = season.files[3 + 2 * round];
        test::ChildProcess first(SCOREWELL_CLI_PATH, Args({"import", league, one}));
        test::ChildProcess second(SCOREWELL_CLI_PATH, Args({"import", league, two}));
        for (test::ChildProcess* child : {&first, &second}) {
            const test::ProcessResult r = child->Wait();
            if (r.exitCode == 0) {
                ASSERT_NE(r.out.find("imported\t1 races"), std::string::npos) << r.out;
                ++races;
                ++imported;
            } else {
                ASSERT_EQ(r.exitCode, 1) << r.err;
                ASSERT_NE(r.err.find(inUse), std::string::npos) << r.err;
                ASSERT_EQ(r.out, "");
                ++refused;
            }
        }
        Database db = Database::OpenReadOnly(league);
        const long long stored = db.Scalar("SELECT Count(*) FROM Race").AsInteger();
        ASSERT_EQ(stored, races) << "round " << round;
        const bool ok = test::LeagueProblems(league).empty();
        ASSERT_TRUE(ok) << test::LeagueProblems(league);
        sound += ok;
    }
    std::cout << "imports done " << imported << ", refused as in use " << refused << "\n";
    test::PrintFigure("rounds of two imports into one league without a lost race", sound, rounds);
}

} // namespace
} // namespace scorewell
