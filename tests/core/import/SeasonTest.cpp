// The 1992 NASCAR Winston Cup season, written as race finals, imported into a NASCAR Racing 3
// league with the preset point system and the built-in bonuses, gives every driver the points
// officially awarded that year.

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/LeagueFile.h"
#include "editing/Adjustments.h"
#include "html/CExport.h"
#include "import/RaceFinal.h"
#include "import/RaceFinalWriter.h"
#include "import/StagedImport.h"
#include "reports/ReportEngine.h"
#include "scoring/Recalculation.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

using Row = std::map<std::string, std::string>;

// Fields separated by commas; a field in double quotes may hold commas and doubled quotes.
std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<Row> ReadCsv(const std::string& name) {
    std::ifstream in(std::string(SCOREWELL_FIXTURES_DIR) + "/cup1992/" + name);
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> header = CsvFields(line);
    std::vector<Row> rows;
    while (std::getline(in, line)) {
        if (line.empty()) {
            continue;
        }
        const std::vector<std::string> fields = CsvFields(line);
        Row row;
        for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) {
            row[header[i]] = fields[i];
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

constexpr const char* kDidNotStart = "did not start";

// The season's race finals written into dir, in race order; the drivers who did not start are
// counted in notStarted.
std::vector<std::string> WriteSeason(test::TempDir& dir, std::map<std::string, int>& notStarted) {
    const std::vector<Row> races = ReadCsv("races.csv");
    std::vector<Row> results = ReadCsv("results.csv");
    EXPECT_EQ(races.size(), 29u);
    EXPECT_EQ(results.size(), 1108u);
    std::stable_sort(results.begin(), results.end(), [](const Row& a, const Row& b) {
        return std::stoi(a.at("finish")) < std::stoi(b.at("finish"));
    });
    std::vector<std::string> files;
    for (const Row& r : races) {
        RaceFinalRace race;
        race.name = r.at("race_name");
        race.track = r.at("track");
        race.length = std::stod(r.at("track_length_miles"));
        race.laps = std::stoi(r.at("scheduled_laps"));
        for (const Row& result : results) {
            if (result.at("race_no") != r.at("race_no")) {
                continue;
            }
            // Officially worth nothing: the car never took the start.
            if (result.at("status") == kDidNotStart) {
                ++notStarted[result.at("driver")];
                continue;
            }
            // No qualifying known and no points printed: the league scores the season itself.
            race.cars.push_back({std::stoi(result.at("start")), result.at("car"),
                                 result.at("driver"), std::stoi(result.at("laps")),
                                 std::stoi(result.at("laps_led")), 0, "", result.at("status")});
        }
        files.push_back(dir.File("race" + r.at("race_no") + ".stn"));
        WriteRaceFinal(files.back(), race);
    }
    return files;
}

// The whole season in a new NASCAR Racing 3 league, imported in one step.
std::unique_ptr<League> ImportSeason(test::TempDir& dir, Program& program,
                                     std::map<std::string, int>& notStarted) {
    const std::vector<std::string> files = WriteSeason(dir, notStarted);
    CreateLeagueFile(dir.File("cup1992.slf"), 0, 0, program.Db(), 0, 0);
    auto league = std::make_unique<League>(program, dir.File("cup1992.slf"));
    Transaction transaction(league->Db());
    const PointTable table = league->LoadPointTable();
    for (const std::string& file : files) {
        const StagingResult staged = ImportSTNFile(*league, table, file, 0, 0);
        EXPECT_TRUE(staged.Staged()) << file << ": " << staged.message;
    }
    EXPECT_EQ(ImportStagedRaces(*league), 29);
    transaction.Commit();
    return league;
}

TEST(SeasonTest, The1992SeasonGivesTheOfficialPoints) {
    const std::vector<Row> standings = ReadCsv("standings.csv");
    test::TempDir dir;
    std::map<std::string, int> notStarted;
    Program program(dir.File("prog"));
    const std::unique_ptr<League> league = ImportSeason(dir, program, notStarted);
    Database& db = league->Db();

    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Driver").AsInteger(),
              static_cast<std::int64_t>(standings.size()));
    for (const Row& s : standings) {
        const std::string& driver = s.at("driver");
        ResultSet got = db.QueryAll("SELECT Sum(Points), Count(*), Sum(Finish=1) FROM Stats "
                                    "JOIN Driver USING (DriverID) WHERE Name=?",
                                    {Value(driver)});
        EXPECT_EQ(got.rows[0][0].AsInteger(), std::stoi(s.at("official_pts_sum"))) << driver;
        EXPECT_EQ(got.rows[0][1].AsInteger(), std::stoi(s.at("starts")) - notStarted[driver])
            << driver;
        EXPECT_EQ(got.rows[0][2].AsInteger(), std::stoi(s.at("wins"))) << driver;
    }
    // The champion by the narrowest of margins.
    EXPECT_EQ(db.Scalar("SELECT Name FROM Driver JOIN Stats USING (DriverID) GROUP BY DriverID "
                        "ORDER BY Sum(Points) DESC LIMIT 1")
                  .AsText(),
              "Alan Kulwicki");
}

// The 1992 title went by 10 points. With a 25-point penalty for the champion in the last race
// and 10 points given back to the runner-up, the title changes hands: the adjustments move
// exactly those totals, the intervals and the order, survive scoring every race again, are
// published with their reasons, and go with the driver.
TEST(SeasonTest, AdjustmentsMoveThe1992TitleAndGoWithTheirDriver) {
    test::TempDir dir;
    std::map<std::string, int> notStarted;
    Program program(dir.File("prog"));
    const std::unique_ptr<League> league = ImportSeason(dir, program, notStarted);
    Database& db = league->Db();
    AddAdjustment(db, {"alan kulwicki", 29, "-25", "Rough driving under caution"});
    AddAdjustment(db, {"Bill Elliott", std::nullopt, "10", "Points restored on appeal"});

    const ReportDefinition report = LoadReportDefinition(program.Db(), 1);
    auto top = [&] {
        const ReportTable table = RunReport(db, report, ".");
        std::vector<std::string> lines;
        for (std::size_t r = 0; r < 4; ++r) {
            lines.push_back(table.texts[r][0] + " " + table.texts[r][1] + " " + table.texts[r][2] +
                            " " + table.texts[r][13]);
        }
        return lines;
    };
    const std::vector<std::string> adjusted = {"Bill Elliott 4078 -- +10",
                                               "Alan Kulwicki 4053 25 -25",
                                               "Davey Allison 4015 63 ", "Harry Gant 3955 123 "};
    EXPECT_EQ(top(), adjusted);
    RecalculateAllRaces(*league, [](int, int) {});
    EXPECT_EQ(top(), adjusted);

    CExport page(db, program.Db());
    page.ReportID = 1;
    ASSERT_TRUE(page.HTML(dir.File("standings.htm"))) << page.LastError();
    const std::string written = test::ReadFileBytes(dir.File("standings.htm"));
    EXPECT_NE(written.find("Alan Kulwicki</FONT></TD>\r\n<TD ALIGN=\"LEFT\"><FONT >Hooters 500"
                           "</FONT></TD>\r\n<TD ALIGN=\"CENTER\"><FONT >-25</FONT></TD>\r\n"
                           "<TD ALIGN=\"LEFT\"><FONT >Rough driving under caution</FONT></TD>"),
              std::string::npos);

    db.Execute("DELETE FROM Driver WHERE Name='Alan Kulwicki'");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Adjustment").AsInteger(), 1);
    ASSERT_TRUE(page.HTML(dir.File("standings.htm"))) << page.LastError();
    EXPECT_EQ(test::ReadFileBytes(dir.File("standings.htm")).find("Rough driving"),
              std::string::npos);
}

} // namespace
} // namespace scorewell
