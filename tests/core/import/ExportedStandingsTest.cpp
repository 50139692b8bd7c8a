#include <gtest/gtest.h>

#include <filesystem>

#include "common/Text.h"
#include "core/LeagueFixture.h"
#include "data/Settings.h"
#include "import/ExportedStandings.h"
#include "support/Checks.h"

namespace scorewell {
namespace {

const std::string kPage = std::string(SCOREWELL_FIXTURES_DIR) + "/nr4/millbrook-standings.html";

class ExportedStandingsTest : public test::LeagueFixture {
protected:
    void OpenNr4(const std::string& separator = ".") {
        // A NASCAR Racing 4 folder as copied from Windows: names in other letter case.
        std::filesystem::create_directories(dir.File("nr4/Tracks/millbrook"));
        test::WriteFileBytes(dir.File("nr4/Tracks/millbrook/TRACK.INI"),
                             "[track]\r\ntrack_name = Millbrook Speedway\xAE\r\n"
                             "track_length = 2.5\r\n");
        WriteSetting(program->Db(), 12, dir.File("nr4") + "/");
        program->LoadSimPaths();
        Open(3, 0, 0, 0, separator);
    }
    StagingResult Import(const std::string& page = kPage) {
        return ImportExportedStandings(*league, league->LoadPointTable(), page);
    }
    std::vector<std::string> Staged() {
        return Rows("SELECT Finish, Start, DriverName, LapsRun, LapsLed, Points, Bonus, "
                    "round(Qualifying, 2), ReasonOut, PrizeMoney FROM STNStats ORDER BY Finish");
    }
};

TEST_F(ExportedStandingsTest, StagesTheRaceScoredWithExcludedDriversLeftOut) {
    OpenNr4();
    Db().Execute(
        "INSERT INTO Driver (Name, NameKey, Exclude) VALUES ('CODY MARSH', 'cody marsh', 1)");
    StagingResult result = Import();
    ASSERT_TRUE(result.Staged()) << result.message;
    EXPECT_EQ(result.drivers, 4);
    EXPECT_EQ(
        Rows("SELECT Name, FileName, Length, Laps, RaceTime, AvgSpeed, VictoryMargin, "
             "Cautions, LeadChanges, Weather FROM STNRace"),
        std::vector<std::string>{"Millbrook Speedway|millbrook-standings.html|2.5|200|"
                                 "3:20:00.000|150.000mph|0.452 sec|3|NULL|Sunny, 78 degrees"});
    EXPECT_EQ(Staged(),
              (std::vector<std::string>{"1|1|Dale Rivers|200|112|185|10|187.02|Running|NULL",
                                        "2|2|Ren\xC3\xA9"
                                        "e Dufr\xC3\xAAne|200|80|175|5|188.5|Running|NULL",
                                        "3|5|Wes Pruitt|198|0|165|0|0|Running|NULL",
                                        "4|4|Hank Tolliver|112|0|160|0|0|Engine|NULL"}));
}

TEST_F(ExportedStandingsTest, NumbersStayNumbersWhateverTheDecimalSeparator) {
    OpenNr4(",");
    UseCustomPoints({{20, Value(5000)}, {15, Value(2500)}});
    ASSERT_TRUE(Import().Staged());
    EXPECT_EQ(Rows("SELECT RaceTime, AvgSpeed, VictoryMargin, typeof(Length) FROM STNRace"),
              std::vector<std::string>{"3:20:00,000|150,000mph|0,452 sec|real"});
    EXPECT_EQ(Staged()[0], "1|1|Dale Rivers|200|112|30|10|187.02|Running|5000");
    EXPECT_EQ(Staged()[2], "3|5|Wes Pruitt|198|0|0|0|0|Running|NULL");
}

// The parser's refusals are its own tests'; here they come with the file's name, and a page the
// league's rules cannot score is refused whole.
TEST_F(ExportedStandingsTest, RefusedPagesLeaveNothingStagedAndSayWhy) {
    OpenNr4();
    test::WriteFileBytes(dir.File("other.html"),
                         "<H1>nascar racing 4 exported standings</H1><H3>Track: Millbrook</H3>");
    StagingResult refused = Import(dir.File("other.html"));
    EXPECT_FALSE(refused.Staged());
    EXPECT_EQ(refused.title, "Failed to Read Import File");
    EXPECT_EQ(refused.message, dir.File("other.html") +
                                   "\nThis file does not seem to have been exported by\r\n"
                                   "NASCAR Racing 4 or else it has been modified.");
    // An unknown track is looked for in the league's own NASCAR Racing 4 folder.
    test::WriteFileBytes(
        dir.File("harlan.html"),
        ReplaceAll(test::ReadFileBytes(kPage), "MILLBROOK SPEEDWAY", "HARLAN SPEEDWAY"));
    EXPECT_TRUE(test::Has(Import(dir.File("harlan.html")).message, "folder " + dir.File("nr4")));

    // A custom bonus rule that cannot run refuses the page as a whole.
    Db().Execute("UPDATE Settings SET SettingValue='1' WHERE SettingsID=14");
    league->LoadWorkingSettings();
    Db().Execute("UPDATE Bonus SET Query='NoSuchColumn = 1' WHERE BonusID=3");
    StagingResult broken = Import();
    EXPECT_FALSE(broken.Staged());
    EXPECT_TRUE(test::Has(broken.message, "The bonus rule \"Pole\""));
    EXPECT_EQ(Count("STNRace") + Count("STNStats"), 0);
}

} // namespace
} // namespace scorewell
