#include <gtest/gtest.h>

#include <map>

#include "support/Checks.h"
#include "support/CliFixture.h"

namespace scorewell {
namespace {

class CliAdjustmentsTest : public test::CliFixture {
protected:
    std::string league = dir.File("cup.slf");

    void SetUp() override { MakeDemoLeague(league, 2); }
    // Each driver's points in Point Standings.
    std::map<std::string, int> Points() {
        const test::ProcessResult r = Cli({"standings", league});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::map<std::string, int> points;
        std::size_t line = r.out.find('\n', r.out.find('\n') + 1) + 1;
        while (line < r.out.size()) {
            const std::size_t tab = r.out.find('\t', line);
            points[r.out.substr(line, tab - line)] = std::stoi(r.out.substr(tab + 1));
            line = r.out.find('\n', line) + 1;
        }
        return points;
    }
};

TEST_F(CliAdjustmentsTest, BadEntriesChangeNothingAndGoodOnesMoveTheStandings) {
    const std::map<std::string, int> before = Points();
    const std::string nothing = "ID\tDriver\tRace\tPoints\tReason\tDate\n";
    struct Refused {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Refused refused[] = {
        {{"Nobody", "-25", "--reason", "x"}, 1, "The league has no driver named \"Nobody\"."},
        {{"Amos Whitlock", "-25", "--reason", "x", "--race", "9"},
         1,
         "The league has no race number 9."},
        {{"Amos Whitlock", "0", "--reason", "x"}, 1, "a whole number other than 0"},
        {{"Amos Whitlock", "ten", "--reason", "x"}, 1, "a whole number other than 0"},
        {{"Amos Whitlock", "-25", "--reason", "  "}, 1, "cannot be blank"},
        {{"Amos Whitlock", "-25", "--reason", ""}, 1, "cannot be blank"},
        {{"Amos Whitlock", "-25"}, 2, "needs --reason"},
        {{"Amos Whitlock", "-25", "--reason", "x", "--race", "two"}, 2, "is not a race id"},
    };
    for (const Refused& r : refused) {
        std::vector<std::string> args = {"adjust", league};
        args.insert(args.end(), r.args.begin(), r.args.end());
        const test::ProcessResult got = Cli(args);
        EXPECT_EQ(got.exitCode, r.status) << got.err;
        EXPECT_TRUE(test::Has(got.err, r.message));
    }
    EXPECT_EQ(Cli({"adjustments", league}).out, nothing);

    test::ProcessResult r = Cli({"adjust", league, "amos WHITLOCK", "-25", "--reason",
                                 "Wreck\tunder caution", "--race", "2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "added\tadjustment 1\n");
    EXPECT_EQ(Cli({"adjust", league, "Bram Okonkwo", "+10", "--reason", "Appeal"}).out,
              "added\tadjustment 2\n");
    r = Cli({"adjustments", league});
    const std::string today = r.out.substr(r.out.size() - 11, 10);
    EXPECT_EQ(r.out, nothing + "1\tAmos Whitlock\tMillbrook 500\t-25\tWreck\\tunder caution\t" +
                         today + "\n2\tBram Okonkwo\t\t10\tAppeal\t" + today + "\n");

    std::map<std::string, int> after = Points();
    EXPECT_EQ(after["Amos Whitlock"], before.at("Amos Whitlock") - 25);
    EXPECT_EQ(after["Bram Okonkwo"], before.at("Bram Okonkwo") + 10);
    EXPECT_EQ(Cli({"recalc", league, "--all"}).exitCode, 0);
    EXPECT_EQ(Points(), after);

    EXPECT_EQ(Cli({"remove-adjustment", league, "1"}).out, "removed\tadjustment 1\n");
    r = Cli({"remove-adjustment", league, "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "scorewell-cli: The league has no adjustment number 1.\n");
    EXPECT_EQ(Points()["Amos Whitlock"], before.at("Amos Whitlock"));
}

} // namespace
} // namespace scorewell
