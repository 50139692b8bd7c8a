#include <gtest/gtest.h>

#include <filesystem>

#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Settings.h"
#include "import/ExportedStandings.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

const std::string kPage = std::string(SCOREWELL_FIXTURES_DIR) + "/nr4/millbrook-standings.html";

class ExportedStandingsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::unique_ptr<Program> program;
    std::unique_ptr<League> league;

    void Open(const std::string& separator = ".") {
        // A NASCAR Racing 4 folder as copied from Windows: names in other letter case.
        std::filesystem::create_directories(dir.File("nr4/Tracks/millbrook"));
        test::WriteFileBytes(dir.File("nr4/Tracks/millbrook/TRACK.INI"),
                             "[track]\r\ntrack_name = Millbrook Speedway\xAE\r\n"
                             "track_length = 2.5\r\n");
        program = std::make_unique<Program>(dir.File("prog"), separator);
        WriteSetting(program->Db(), 12, dir.File("nr4") + "/");
        program->LoadSimPaths();
        CreateLeagueFile(dir.File("nr4.slf"), 3, 0, program->Db(), 0, 0);
        league = std::make_unique<League>(*program, dir.File("nr4.slf"));
    }
    StagingResult Import(const std::string& page = kPage) {
        return ImportExportedStandings(*league, league->LoadPointTable(), page);
    }
    std::vector<std::string> Staged() {
        std::vector<std::string> rows;
        for (Cursor c = league->Db().Query(
                 "SELECT Finish, Start, DriverName, LapsRun, LapsLed, Points, Bonus, "
                 "round(Qualifying, 2), ReasonOut, PrizeMoney FROM STNStats ORDER BY Finish");
             !c.AtEnd(); c.MoveNext()) {
            std::string row;
            for (int i = 0; i < c.FieldCount(); ++i) {
                row += (i ? "|" : "") + c.Field(i).AsText();
            }
            rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(ExportedStandingsTest, StagesTheRaceScoredWithExcludedDriversLeftOut) {
    Open();
    league->Db().Execute("INSERT INTO Driver (Name, Exclude) VALUES ('CODY MARSH', 1)");
    StagingResult result = Import();
    ASSERT_TRUE(result.Staged()) << result.message;
    EXPECT_EQ(result.drivers, 4);
    ResultSet race = league->Db().QueryAll("SELECT Name, FileName, Length, Laps, RaceTime, "
                                           "AvgSpeed, VictoryMargin, Cautions, LeadChanges, "
                                           "Weather FROM STNRace");
    ASSERT_EQ(race.rows.size(), 1u);
    std::string all;
    for (const Value& v : race.rows[0]) {
        all += v.AsText() + "|";
    }
    EXPECT_EQ(all, "Millbrook Speedway|millbrook-standings.html|2.5|200|3:20:00.000|150.000mph|"
                   "0.452 sec|3||Sunny, 78 degrees|");
    EXPECT_EQ(Staged(), (std::vector<std::string>{"1|1|Dale Rivers|200|112|185|10|187.02|Running|",
                                                  "2|2|Ren\xC3\xA9"
                                                  "e Dufr\xC3\xAAne|200|80|175|5|188.5|Running|",
                                                  "3|5|Wes Pruitt|198|0|165|0|0|Running|",
                                                  "4|4|Hank Tolliver|112|0|160|0|0|Engine|"}));
}

TEST_F(ExportedStandingsTest, NumbersStayNumbersWhateverTheDecimalSeparator) {
    Open(",");
    league->Db().Execute("UPDATE Settings SET SettingValue='1' WHERE SettingsID=13");
    league->LoadWorkingSettings();
    league->Db().Execute("DELETE FROM PointSystem");
    league->Db().Execute("INSERT INTO PointSystem VALUES (1, 20, 5000), (2, 15, 2500)");
    ASSERT_TRUE(Import().Staged());
    EXPECT_EQ(league->Db()
                  .Scalar("SELECT RaceTime || ' ' || AvgSpeed || ' ' || VictoryMargin || "
                          "' ' || typeof(Length) FROM STNRace")
                  .AsText(),
              "3:20:00,000 150,000mph 0,452 sec real");
    EXPECT_EQ(Staged()[0], "1|1|Dale Rivers|200|112|30|10|187.02|Running|5000");
    EXPECT_EQ(Staged()[2], "3|5|Wes Pruitt|198|0|0|0|0|Running|");
}

TEST_F(ExportedStandingsTest, RefusedPagesLeaveNothingStagedAndSayWhy) {
    Open();
    test::WriteFileBytes(dir.File("other.html"),
                         "<H1>nascar racing 4 exported standings</H1><H3>Track: Millbrook</H3>");
    StagingResult refused = Import(dir.File("other.html"));
    EXPECT_FALSE(refused.Staged());
    EXPECT_EQ(refused.title, "Failed to Read Import File");
    EXPECT_EQ(refused.message, dir.File("other.html") +
                                   "\nThis file does not seem to have been exported by\r\n"
                                   "NASCAR Racing 4 or else it has been modified.");

    std::string page = test::ReadFileBytes(kPage);
    page.replace(page.find("MILLBROOK SPEEDWAY"), 18, "HARLAN SPEEDWAY");
    test::WriteFileBytes(dir.File("harlan.html"), page);
    StagingResult unknown = Import(dir.File("harlan.html"));
    EXPECT_NE(unknown.message.find("Harlan Speedway"), std::string::npos) << unknown.message;
    EXPECT_NE(unknown.message.find(dir.File("nr4")), std::string::npos) << unknown.message;

    // A custom bonus rule that cannot run refuses the page as a whole.
    league->Db().Execute("UPDATE Settings SET SettingValue='1' WHERE SettingsID=14");
    league->LoadWorkingSettings();
    league->Db().Execute("UPDATE Bonus SET Query='NoSuchColumn = 1' WHERE BonusID=3");
    StagingResult broken = Import();
    EXPECT_FALSE(broken.Staged());
    EXPECT_NE(broken.message.find("The bonus rule \"Pole\""), std::string::npos) << broken.message;
    EXPECT_EQ(league->Db().Scalar("SELECT Count(*) FROM STNRace").AsInteger(), 0);
    EXPECT_EQ(league->Db().Scalar("SELECT Count(*) FROM STNStats").AsInteger(), 0);
}

} // namespace
} // namespace scorewell
