// The season as data and as a site from the command line, on the real 1992 championship.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "data/Database.h"
#include "data/Program.h"
#include "support/Process.h"
#include "support/Seasons.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The values of one JSON array written on one line: strings unescaped, numbers and null as
// written.
std::vector<std::string> JsonArray(const std::string& line) {
    std::vector<std::string> values;
    std::size_t i = line.find('[') + 1;
    while (i < line.size() && line[i] != ']') {
        if (line[i] == ' ' || line[i] == ',') {
            ++i;
        } else if (line[i] == '"') {
            std::string s;
            for (++i; line[i] != '"'; ++i) {
                if (line[i] == '\\') {
                    const char e = line[++i];
                    s += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                } else {
                    s += line[i];
                }
            }
            ++i;
            values.push_back("\"" + s);
        } else {
            const std::size_t end = line.find_first_of(",]", i);
            values.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return values;
}

class CliSeasonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        shared_ = new test::TempDir;
        Program program(shared_->File("prog"));
        fs::create_directory(shared_->File("stn"));
        test::MakeSeasonLeague(program, shared_->File("cup1992.slf"), shared_->File("stn"),
                               test::Cup1992Races());
    }
    static void TearDownTestSuite() {
        delete shared_;
        shared_ = nullptr;
    }
    void SetUp() override { fs::copy_file(shared_->File("cup1992.slf"), league); }

    test::ProcessResult Cli(std::vector<std::string> rest) {
        rest.insert(rest.begin(), {"--program-folder", dir.File("prog")});
        return test::RunCli(rest);
    }

    static test::TempDir* shared_;
    test::TempDir dir;
    std::string league = dir.File("cup.slf");
};

test::TempDir* CliSeasonTest::shared_ = nullptr;

TEST_F(CliSeasonTest, JsonAndCsvHoldTheSameValuesAsTheTabSeparatedStandings) {
    const auto tsv = Cli({"standings", league});
    const auto csv = Cli({"standings", league, "--format", "csv"});
    const auto json = Cli({"standings", league, "--format", "json"});
    ASSERT_EQ(tsv.exitCode, 0) << tsv.err;
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto tsvLines = Lines(tsv.out);
    const auto csvLines = Lines(csv.out);
    const auto jsonLines = Lines(json.out);
    ASSERT_EQ(tsvLines.size(), 1 + 1 + 97u);
    EXPECT_EQ(tsvLines[0], "Results after 29 events:");
    EXPECT_EQ(jsonLines[2], "  \"caption\": \"Results after 29 events:\",");
    ASSERT_EQ(csvLines.size(), 1 + 97u);
    ASSERT_EQ(jsonLines.size(), 5 + 97u + 2);
    for (std::size_t r = 1; r < tsvLines.size(); ++r) {
        std::vector<std::string> expected;
        std::istringstream fields(tsvLines[r]);
        for (std::string f; std::getline(fields, f, '\t');) {
            expected.push_back(f);
        }
        std::string csvLine = csvLines[r - 1];
        csvLine.pop_back(); // CR
        EXPECT_EQ(test::CsvFields(csvLine), expected);
        if (r == 1) {
            continue; // the captions are the JSON's columns
        }
        const std::vector<std::string> values = JsonArray(jsonLines[4 + r - 1]);
        ASSERT_EQ(values.size(), expected.size()) << jsonLines[4 + r - 1];
        for (std::size_t c = 0; c < values.size(); ++c) {
            if (values[c][0] == '"') {
                EXPECT_EQ(values[c].substr(1), expected[c]);
            } else if (expected[c] == "--") {
                EXPECT_EQ(values[c], "0"); // the leader's interval
            } else {
                EXPECT_DOUBLE_EQ(std::stod(values[c]), std::stod(expected[c])) << expected[c];
            }
        }
    }
    EXPECT_EQ(JsonArray(jsonLines[5]).at(0), "\"Alan Kulwicki");
    EXPECT_EQ(JsonArray(jsonLines[5]).at(1), "4078");

    const auto results = Cli({"results", league, "1", "--format", "json"});
    ASSERT_EQ(results.exitCode, 0) << results.err;
    EXPECT_EQ(Lines(results.out)[1], "  \"title\": \"Daytona 500\",");
    EXPECT_EQ(Lines(results.out)[2], "  \"caption\": \"2.5 miles - 200 laps\",");
    EXPECT_EQ(Lines(Cli({"results", league, "1"}).out)[1],
              "1\t6\tDavey Allison\t200\t127\t185\t10\t--\trunning");
    EXPECT_EQ(Cli({"races", league, "--format", "xml"}).exitCode, 2);
}

TEST_F(CliSeasonTest, RemovingRacesNeedsYesAndTheNextPublishDropsTheirPages) {
    ASSERT_EQ(Cli({"export", league, "--site", dir.File("site")}).exitCode, 0);
    EXPECT_TRUE(fs::exists(dir.File("site/race-5-transouth-500.htm")));

    auto r = Cli({"remove-races", league, "5"});
    EXPECT_EQ(r.exitCode, 2);
    r = Cli({"remove-races", league, "5", "77", "--yes"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("There is no race number 77."), std::string::npos) << r.err;
    EXPECT_EQ(Database::Open(league).Scalar("SELECT Count(*) FROM Race").AsInteger(), 29);
    EXPECT_FALSE(fs::exists(league + ".bak"));

    r = Cli({"remove-races", league, "5", "--yes"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "removed\t1 races\nbackup\t" + league + ".bak\n");
    EXPECT_EQ(Database::Open(league).Scalar("SELECT Count(*) FROM Race").AsInteger(), 28);
    EXPECT_EQ(Database::Open(league + ".bak").Scalar("SELECT Count(*) FROM Race").AsInteger(), 29);

    r = Cli({"export", league, "--site", dir.File("site")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\nremoved\trace-5-transouth-500.htm\nindex\t"), std::string::npos)
        << r.out;
    EXPECT_EQ(Cli({"export", league, "--site", dir.File("site"), "-o", "x.htm"}).exitCode, 2);
}

} // namespace
} // namespace scorewell
