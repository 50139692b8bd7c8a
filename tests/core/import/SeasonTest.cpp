// The 1992 NASCAR Winston Cup season, written as race finals, imported into a NASCAR Racing 3
// league with the preset point system and the built-in bonuses, gives every driver the points
// officially awarded that year.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/LeagueFile.h"
#include "editing/Adjustments.h"
#include "html/PageWriter.h"
#include "import/RaceFinal.h"
#include "import/StagedImport.h"
#include "reports/ReportEngine.h"
#include "scoring/Recalculation.h"
#include "support/Season1992.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

// The season imported into a new NASCAR Racing 3 league with the preset points.
std::unique_ptr<League> ImportSeason(const test::TempDir& dir, Program& program,
                                     const test::Season1992& season) {
    CreateLeagueFile(dir.File("cup1992.slf"), 0, 0, program.Db(), 0, 0);
    auto league = std::make_unique<League>(program, dir.File("cup1992.slf"));
    Transaction transaction(league->Db());
    const PointTable table = league->LoadPointTable();
    for (const std::string& file : season.files) {
        const StagingResult staged = ImportSTNFile(*league, table, file, Simulation::NascarRacing3,
                                                   LapReportingMethod::Speed);
        EXPECT_TRUE(staged.Staged()) << file << ": " << staged.message;
    }
    EXPECT_EQ(ImportStagedRaces(*league), 29);
    transaction.Commit();
    return league;
}

TEST(SeasonTest, The1992SeasonGivesTheOfficialPoints) {
    test::TempDir dir;
    const test::Season1992 season = test::WriteSeason1992(dir.Path());
    ASSERT_EQ(season.files.size(), 29u);
    const std::vector<test::CsvRow>& standings = season.standings;
    Program program(dir.File("prog"));
    const std::unique_ptr<League> league = ImportSeason(dir, program, season);
    Database& db = league->Db();

    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Driver").AsInteger(),
              static_cast<std::int64_t>(standings.size()));
    for (const test::CsvRow& s : standings) {
        const std::string& driver = s.at("driver");
        const auto notStarted = season.notStarted.find(driver);
        const int started = std::stoi(s.at("starts")) -
                            (notStarted == season.notStarted.end() ? 0 : notStarted->second);
        ResultSet got = db.QueryAll("SELECT Sum(Points), Count(*), Sum(Finish=1) FROM Stats "
                                    "JOIN Driver USING (DriverID) WHERE Name=?",
                                    {Value(driver)});
        EXPECT_EQ(got.rows[0][0].AsInteger(), std::stoi(s.at("official_pts_sum"))) << driver;
        EXPECT_EQ(got.rows[0][1].AsInteger(), started) << driver;
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
    const test::Season1992 season = test::WriteSeason1992(dir.Path());
    Program program(dir.File("prog"));
    const std::unique_ptr<League> league = ImportSeason(dir, program, season);
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

    PageWriter writer(db, program.Db());
    PageRequest request;
    request.id = 1;
    ASSERT_TRUE(writer.Write(request, dir.File("standings.htm"))) << writer.LastError();
    const std::string written = test::ReadFileBytes(dir.File("standings.htm"));
    EXPECT_NE(written.find("Alan Kulwicki</FONT></TD>\r\n<TD ALIGN=\"LEFT\"><FONT >Hooters 500"
                           "</FONT></TD>\r\n<TD ALIGN=\"CENTER\"><FONT >-25</FONT></TD>\r\n"
                           "<TD ALIGN=\"LEFT\"><FONT >Rough driving under caution</FONT></TD>"),
              std::string::npos);

    db.Execute("DELETE FROM Driver WHERE Name='Alan Kulwicki'");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Adjustment").AsInteger(), 1);
    ASSERT_TRUE(writer.Write(request, dir.File("standings.htm"))) << writer.LastError();
    EXPECT_EQ(test::ReadFileBytes(dir.File("standings.htm")).find("Rough driving"),
              std::string::npos);
}

} // namespace
} // namespace scorewell
