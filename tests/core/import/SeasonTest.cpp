// The 1992 NASCAR Winston Cup season, written as race finals, imported into a NASCAR Racing 3
// league with the preset point system and the built-in bonuses, gives every driver the points
// officially awarded that year.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "data/League.h"
#include "data/Program.h"
#include "editing/Adjustments.h"
#include "html/PageWriter.h"
#include "reports/ReportEngine.h"
#include "scoring/Recalculation.h"
#include "support/Checks.h"
#include "support/Seasons.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

std::string Copy1992(const std::string& path) {
    test::CopyCup1992League(path);
    return path;
}

class SeasonTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.File("prog")};
    League league{program, Copy1992(dir.File("cup1992.slf"))};
    Database& db = league.Db();
};

TEST_F(SeasonTest, The1992SeasonGivesTheOfficialPoints) {
    // Cars that never took the start are counted among the starts, but not written.
    std::map<std::string, int> notStarted;
    for (const test::CsvRow& r : test::ReadCup1992("results.csv")) {
        notStarted[r.at("driver")] += r.at("status") == "did not start";
    }
    const std::vector<test::CsvRow> standings = test::ReadCup1992("standings.csv");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Driver").AsInteger(),
              static_cast<std::int64_t>(standings.size()));
    for (const test::CsvRow& s : standings) {
        const std::string& driver = s.at("driver");
        const ResultSet got = db.QueryAll("SELECT Sum(Points), Count(*), Sum(Finish=1) FROM Stats "
                                          "JOIN Driver USING (DriverID) WHERE Name=?",
                                          {Value(driver)});
        EXPECT_EQ(got.rows[0][0].AsInteger(), std::stoi(s.at("official_pts_sum"))) << driver;
        EXPECT_EQ(got.rows[0][1].AsInteger(), std::stoi(s.at("starts")) - notStarted[driver])
            << driver;
        EXPECT_EQ(got.rows[0][2].AsInteger(), std::stoi(s.at("wins"))) << driver;
    }
}

// The 1992 title went by 10 points. With a 25-point penalty for the champion in the last race
// and 10 points given back to the runner-up, the title changes hands: the adjustments move
// exactly those totals, the intervals and the order, survive scoring every race again, are
// published with their reasons, and go with the driver.
TEST_F(SeasonTest, AdjustmentsMoveThe1992TitleAndGoWithTheirDriver) {
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
    RecalculateAllRaces(league, [](int, int) {});
    EXPECT_EQ(top(), adjusted);

    PageWriter writer(db, program.Db());
    PageRequest request;
    request.id = 1;
    const std::string page = dir.File("standings.htm");
    ASSERT_TRUE(writer.Write(request, page)) << writer.LastError();
    EXPECT_TRUE(test::Has(test::ReadFileBytes(page),
                          "Alan Kulwicki</FONT></TD>\r\n<TD ALIGN=\"LEFT\"><FONT >Hooters 500"
                          "</FONT></TD>\r\n<TD ALIGN=\"CENTER\"><FONT >-25</FONT></TD>\r\n"
                          "<TD ALIGN=\"LEFT\"><FONT >Rough driving under caution</FONT></TD>"));

    db.Execute("DELETE FROM Driver WHERE Name='Alan Kulwicki'");
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Adjustment").AsInteger(), 1);
    ASSERT_TRUE(writer.Write(request, page)) << writer.LastError();
    EXPECT_FALSE(test::Has(test::ReadFileBytes(page), "Rough driving"));
}

} // namespace
} // namespace scorewell
