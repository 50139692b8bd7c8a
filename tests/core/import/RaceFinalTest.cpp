#include "import/RaceFinal.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/Text.h"
#include "core/LeagueFixture.h"
#include "RaceFinalWriter.h"
#include "scoring/Scoring.h"

namespace scorewell {
namespace {

std::string Fixture(const std::string& name) {
    return std::string(SCOREWELL_FIXTURES_DIR) + "/stn/" + name;
}

std::vector<std::string> AllLines(RaceFinalLines& lines) {
    std::vector<std::string> out;
    while (!lines.AtEnd()) {
        out.emplace_back(lines.Next());
    }
    return out;
}

// The text with the bytes at a place of one line (from 1) replaced, right-aligned as the
// numbers stand.
std::string Edit(std::string text, int lineNumber, ColumnPlace place, const std::string& bytes) {
    std::size_t begin = 0;
    for (int n = 1; n < lineNumber; ++n) {
        begin = text.find("\r\n", begin) + 2;
    }
    std::size_t end = text.find("\r\n", begin);
    std::string line = text.substr(begin, end - begin);
    const auto start = static_cast<std::size_t>(place.position - 1);
    const auto width = static_cast<std::size_t>(place.width);
    line.resize(std::max(line.size(), start + width), ' ');
    line.replace(start, width, std::string(width - bytes.size(), ' ') + bytes);
    return text.replace(begin, end - begin, line);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A small race as the writer lays it out, for the cases the fixtures do not cover.
RaceFinalRace SampleRace() {
    RaceFinalRace race;
    race.name = "Sample 200";
    race.track = "Sample Oval";
    race.length = 2.5;
    race.laps = 200;
    race.raceTime = "1:40:00.000";
    race.avgSpeed = "99.000 mph";
    race.cautions = 1;
    race.weather = "Sunny, 70°F";
    race.cars = {{2, "1", "Alma Reyes", 200, 150, 0, "150.000", "Running"},
                 {1, "2", "Birk Sand", 200, 50, 0, "151.000", "Running"},
                 {3, "3", "Cleo Marsh", 12, 0, 0, "", "Crash"}};
    return race;
}

class RaceFinalTest : public test::LeagueFixture {
protected:
    StagingResult Stage(const std::string& file, int lapReportingMethod = 0) {
        return ImportSTNFile(*league, league->LoadPointTable(), file, league->Settings().simTitle,
                             static_cast<LapReportingMethod>(lapReportingMethod));
    }
    // Writes bytes to a file of the test's folder and stages it.
    StagingResult StageText(const std::string& bytes, int lapReportingMethod = 0) {
        test::WriteFileBytes(dir.File("race.stn"), bytes);
        return Stage(dir.File("race.stn"), lapReportingMethod);
    }
    void Exclude(const std::string& name) {
        Db().Execute("UPDATE Driver SET Exclude=1 WHERE DriverID=?",
                     {Value(GetDriverID(Db(), name))});
    }

    // "finish/start name run/led points+bonus qualifying reason [$prize]" per staged result.
    std::vector<std::string> Results(std::int32_t race) {
        std::vector<std::string> out;
        for (Cursor c = Db().Query("SELECT Finish, Start, DriverName, LapsRun, LapsLed, Points, "
                                   "Bonus, Qualifying, ReasonOut, PrizeMoney FROM STNStats "
                                   "WHERE STNRaceID=? ORDER BY STNStatsID",
                                   {Value(race)});
             !c.AtEnd(); c.MoveNext()) {
            auto f = [&c](int i) {
                return c.Field(i).AsText();
            };
            out.push_back(f(0) + "/" + f(1) + " " + f(2) + " " + f(3) + "/" + f(4) + " " + f(5) +
                          "+" + f(6) + " q" + f(7) + " " + f(8) +
                          (c.Field(9).IsNull() ? "" : " $" + f(9)));
        }
        return out;
    }
    std::vector<std::string> RaceRow(std::int32_t race) {
        const auto row = Rows("SELECT Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
                              "VictoryMargin, Cautions, LeadChanges, Weather FROM STNRace "
                              "WHERE STNRaceID=?",
                              {Value(race)});
        return Split(row.at(0), '|');
    }
    void ExpectRefused(const StagingResult& result, const std::string& file,
                       const std::string& message) {
        EXPECT_FALSE(result.Staged());
        EXPECT_EQ(result.drivers, 0);
        EXPECT_EQ(result.title, "Error Reading '" + file + "'");
        EXPECT_EQ(result.message, message);
        EXPECT_EQ(Count("STNRace"), 0);
        EXPECT_EQ(Count("STNStats"), 0);
    }
};

TEST(RaceFinalLinesTest, DataLinesSkipBlankAndStarLinesButNotTheLastLine) {
    RaceFinalLines mixed(std::string("a\r\nb\nc\rd\r\n\r\ne"));
    EXPECT_EQ(AllLines(mixed), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));

    RaceFinalLines lines(std::string("\r\n   \r\n* note\r\n  *x\r\n  Race  \r\n\r\n*last"));
    EXPECT_EQ(ReadDataLine(lines), "  Race  "); // untrimmed
    EXPECT_EQ(lines.LineNumber(), 5);
    EXPECT_EQ(ReadDataLine(lines), "*last"); // the last line whatever it holds
    EXPECT_EQ(ReadDataLine(lines), std::nullopt);

    RaceFinalLines blankEnd(std::string("x\r\n\r\n"));
    ReadDataLine(blankEnd);
    EXPECT_EQ(ReadDataLine(blankEnd), "");
}

TEST(RaceFinalQualifyingTest, SpeedsStayAndLapTimesBecomeSpeeds) {
    EXPECT_EQ(ConvertQualifying("", LapReportingMethod::Speed, 2.5f), 0.0f);
    EXPECT_EQ(ConvertQualifying("150.123", LapReportingMethod::Speed, 2.5f), 150.123f);
    EXPECT_EQ(ConvertQualifying("1:02.500", LapReportingMethod::Speed, 2.5f), std::nullopt);
    EXPECT_EQ(ConvertQualifying("1:02.500", LapReportingMethod::LapTime, 2.5f), 144.0f);
    EXPECT_EQ(ConvertQualifying("n/a", LapReportingMethod::LapTime, 2.5f), 0.0f);
}

TEST_F(RaceFinalTest, StagesARaceFinalWithEveryCornerOutsideTheTable) {
    Open(0);
    Exclude("KIP VANDERMEER");
    const std::string file = Fixture("nr3-harbor-point.stn");
    StagingResult result = Stage(file);
    ASSERT_TRUE(result.Staged()) << result.message;
    EXPECT_EQ(result.drivers, 5);
    // The computer car, the line without a name and the excluded driver take no position.
    EXPECT_EQ(Results(result.stnRaceId), (std::vector<std::string>{
                                             "1/3 Renée Fässler 267/120 185+10 q98.123 Running",
                                             "2/1 Zoë Ødegård 267/100 175+5 q99.002 Running",
                                             "3/2 Tomasz O'Brien 266/47 170+5 q98.876 Running",
                                             "4/6 Dale Quimby 250/0 160+0 q0 Engine",
                                             "5/4 Luca Bertolini 198/0 155+0 q97.511 Crash",
                                         }));
    EXPECT_EQ(RaceRow(result.stnRaceId),
              (std::vector<std::string>{"Harbor Point 400", "nr3-harbor-point.stn", "1.5", "267",
                                        "4:05:31.870", "97.873 mph", "0.441 sec", "4", "12",
                                        "Sunny, 78°F"}));

    // Without the exclusion the driver takes his place.
    Db().Execute("UPDATE Driver SET Exclude=0");
    StagingResult again = Stage(file);
    EXPECT_EQ(again.drivers, 6);
    EXPECT_EQ(Results(again.stnRaceId).at(2), "3/5 Kip Vandermeer 266/0 165+0 q97.45 Running");
}

TEST_F(RaceFinalTest, TheDecimalSeparatorShapesOnlyTheStatisticTexts) {
    Open(0, 0, 0, 0, ",");
    StagingResult result = Stage(Fixture("nr3-harbor-point.stn"));
    ASSERT_TRUE(result.Staged()) << result.message;
    // The length stays a number, whatever the separator.
    EXPECT_EQ(Rows("SELECT Length, RaceTime, AvgSpeed, VictoryMargin FROM STNRace"),
              std::vector<std::string>{"1.5|4:05:31,870|97,873 mph|0,441 sec"});
    EXPECT_DOUBLE_EQ(Db().Scalar("SELECT Qualifying FROM STNStats WHERE Finish=1").AsDouble(),
                     98.123);
}

TEST_F(RaceFinalTest, LapTimesWithLfLinesAStatisticOnTheLastLineAndACustomPointSystem) {
    Open(0);
    const std::string file = Fixture("nr3-millbrook-laptimes-lf.stn");
    StagingResult result = Stage(file, 1);
    ASSERT_TRUE(result.Staged()) << result.message;
    EXPECT_EQ(Results(result.stnRaceId), (std::vector<std::string>{
                                             "1/2 Bram Okonkwo 200/150 185+10 q144 Running",
                                             "2/1 Inès Caldwell 200/48 175+5 q288 Running",
                                             "3/3 Wes Harlan 199/2 170+5 q0 Running",
                                             "4/4 Pip Castellano 120/0 160+0 q138.4615 Overheating",
                                         }));
    // The weather stands on the file's last line and is not read.
    EXPECT_EQ(
        RaceRow(result.stnRaceId),
        (std::vector<std::string>{"Millbrook 500", "nr3-millbrook-laptimes-lf.stn", "2.5", "200",
                                  "3:12:45.120", "155.6 mph", "1.2 sec", "2", "9", "NULL"}));

    // Prize money where the table has it, nothing beyond its last position.
    UseCustomPoints({{50, Value(10000)}, {40, Value(6000)}, {35, Value()}});
    EXPECT_EQ(Results(Stage(file, 1).stnRaceId),
              (std::vector<std::string>{
                  "1/2 Bram Okonkwo 200/150 60+10 q144 Running $10000",
                  "2/1 Inès Caldwell 200/48 45+5 q288 Running $6000",
                  "3/3 Wes Harlan 199/2 40+5 q0 Running",
                  "4/4 Pip Castellano 120/0 0+0 q138.4615 Overheating",
              }));

    // Read as speeds, a lap time is no number.
    ClearStaging(*league);
    ExpectRefused(Stage(file, 0), file,
                  "Line 6: the qualifying field is not a number (\"1:02.500\")");
}

TEST_F(RaceFinalTest, LegendsKeepsThePrintedPointsUnlessTheLeagueHasItsOwnSystem) {
    const std::string file = Fixture("legends-cedar-valley.stn");
    Open(1);
    StagingResult printed = Stage(file);
    ASSERT_TRUE(printed.Staged()) << printed.message;
    // No bonus in NASCAR Legends.
    EXPECT_EQ(Results(printed.stnRaceId),
              (std::vector<std::string>{"1/4 Amos Whitlock 250/180 43+0 q88.412 Running",
                                        "2/1 Juniper Hale 250/70 42+0 q89.005 Running",
                                        "3/2 Cyrus Pendleton 249/0 41+0 q88.95 Running",
                                        "4/3 Ottilie Brandt 101/0 40+0 q88.7 Ignition"}));
    UseCustomPoints({{10, Value(500)}, {8, Value(300)}});
    StagingResult custom = Stage(file);
    EXPECT_EQ(Results(custom.stnRaceId).at(1), "2/1 Juniper Hale 250/70 8+0 q89.005 Running $300");
    EXPECT_EQ(Results(custom.stnRaceId).at(3), "4/3 Ottilie Brandt 101/0 0+0 q88.7 Ignition");

    // In a NASCAR Racing 3 league the same file is scored from the preset system.
    Db().Execute("UPDATE Settings SET SettingValue='0' WHERE SettingsID=13");
    league->LoadWorkingSettings();
    league->Settings().simTitle = Simulation::NascarRacing3;
    StagingResult preset = Stage(file);
    EXPECT_EQ(Results(preset.stnRaceId).at(0), "1/4 Amos Whitlock 250/180 185+10 q88.412 Running");
}

TEST_F(RaceFinalTest, NascarRacing2HasItsOwnColumnsAndDegreeSign) {
    Open(2);
    StagingResult result = Stage(Fixture("nr2-gulf-coast.stn"));
    ASSERT_TRUE(result.Staged()) << result.message;
    EXPECT_EQ(Results(result.stnRaceId),
              (std::vector<std::string>{
                  "1/5 Marisol Teague 300/210 185+10 q156.2 Running",
                  "2/1 Hugo Lindqvist 300/90 175+5 q158.01 Running",
                  "3/3 Cosmo Ferreira-Blackwood 298/0 165+0 q157.33 Running",
                  "4/2 Wendell Ashby 57/0 160+0 q157.9 Transmission",
              }));
    EXPECT_EQ(RaceRow(result.stnRaceId).back(), "Partly cloudy, 71°F");

    // "^" is a degree sign only for the others, "©" only for NASCAR Racing 2.
    RaceFinalRace race = SampleRace();
    race.simType = Simulation::NascarRacing2;
    race.weather = "Hazy^ 80°F";
    EXPECT_EQ(RaceRow(StageText(RaceFinalText(race)).stnRaceId).back(), "Hazy^ 80°F");
    race.simType = Simulation::NascarRacing3;
    race.weather = "Hazy© 80°F";
    league->Settings().simTitle = Simulation::NascarRacing3;
    EXPECT_EQ(RaceRow(StageText(RaceFinalText(race)).stnRaceId).back(), "Hazy© 80°F");
}

TEST_F(RaceFinalTest, RefusedFilesSayWhyAndLeaveNothingStagedEvenInsideATransaction) {
    Open(0);
    const std::string header = Fixture("refused-header.stn");
    const std::pair<std::string, std::string> refused[] = {
        {header, "\"" + header + "\" does not seem to be a race final!"},
        {Fixture("refused-one-hyphen-line.stn"), "The file ends before the second line of hyphens"},
        {Fixture("refused-unclosed-table.stn"), "The file ends inside the driver table (line 7)"},
        {Fixture("refused-blank-laps.stn"), "Line 8: the laps run field is blank"},
        {dir.File("missing.stn"), "The file cannot be opened (No such file or directory)"},
    };
    for (const auto& [file, message] : refused) {
        ExpectRefused(Stage(file), file, message);
    }
    ExpectRefused(StageText(""), dir.File("race.stn"), "The file is empty");
    ExpectRefused(StageText("Race Final  Short\r\n"), dir.File("race.stn"),
                  "The file ends before the track line");

    // A refused file inside a caller's transaction keeps the others.
    Transaction t(Db());
    EXPECT_TRUE(Stage(Fixture("nr3-harbor-point.stn")).Staged());
    EXPECT_FALSE(Stage(Fixture("refused-blank-laps.stn")).Staged());
    t.Commit();
    EXPECT_EQ(Count("STNRace"), 1);
    EXPECT_EQ(Count("STNStats"), 6);
}

TEST_F(RaceFinalTest, FieldsTheLeagueFileWouldRefuseAreRefusedWithLineAndField) {
    Open(1); // NASCAR Legends reads the points field
    const std::string sample = RaceFinalText(SampleRace());
    ASSERT_EQ(StageText(sample).drivers, 3);
    ClearStaging(*league);
    // The writer's lines: 5 header, 6 track line, 11 to 13 the table, 15 to 18 statistics.
    const DriverLineLayout& columns = DriverLineLayoutFor(Simulation::NascarRacing3);
    const std::string longText(51, 'x');
    const std::pair<std::string, std::string> edits[] = {
        {Edit(sample, 12, columns.start, ""), "Line 12: the start field is blank"},
        {Edit(sample, 12, columns.lapsLed, ""), "Line 12: the laps led field is blank"},
        {Edit(sample, 12, columns.points, ""), "Line 12: the points field is blank"},
        {Edit(sample, 12, columns.lapsLed, "5x"),
         "Line 12: the laps led field is not a number (\"5x\")"},
        // A "*" line inside the table is a driver line.
        {Edit(sample, 13, {1, 79}, std::string(79, '*')),
         "Line 13: the start field is not a number (\"**\")"},
        {Edit(sample, 6, kTrackLapsPlace, " 20"), "Line 6: the laps field is blank"},
        {Edit(sample, 6, kTrackLengthPlace, "2,500"),
         "Line 6: the track length field is not a number (\"2,500\")"},
        {Replaced(sample, "Sample 200", longText),
         "Line 5: the race name is longer than 50 characters (\"" + longText + "\")"},
        // A name of a megabyte is named by its start only.
        {Replaced(sample, "Sample 200", std::string(1'000'000, 'x')),
         "Line 5: the race name is longer than 50 characters (\"" + std::string(60, 'x') +
             "...\")"},
        {Replaced(sample, "99.000 mph", "145.512 mph"),
         "Line 16: the average speed is longer than 10 characters (\"145.512 mph\")"},
        {Replaced(sample, "Caution flags - 1", "Caution flags - one"),
         "Line 17: the caution flags value is not a number (\"one\")"},
    };
    for (const auto& [text, message] : edits) {
        ExpectRefused(StageText(text), dir.File("race.stn"), message);
    }
    league->Settings().simTitle = Simulation::NascarRacing3;
    const std::string longName = dir.File(std::string(47, 'n') + ".stn");
    test::WriteFileBytes(longName, sample);
    ExpectRefused(Stage(longName), longName,
                  "The file name \"" + std::string(47, 'n') +
                      ".stn\" has 51 characters; the league keeps at most 50 of a race's file "
                      "name. Rename the file to at most 50 characters and try again.");
}

TEST_F(RaceFinalTest, RacesTheLeagueCannotKeepWholeAreRefusedWithTheirLines) {
    Open(0);
    // One driver twice, in another letter case: he would have two results in one race.
    RaceFinalRace race = SampleRace();
    race.cars[1].driver = "Zoë Ødegård";
    race.cars.push_back({4, "4", "Dale Ames", 200, 0, 0, "149.000", "Running"});
    race.cars.push_back({5, "5", "ZOË ØDEGÅRD", 199, 0, 0, "148.000", "Running"});
    ExpectRefused(StageText(RaceFinalText(race)), dir.File("race.stn"),
                  "Line 15: the driver \"ZOË ØDEGÅRD\" is listed twice in the race results "
                  "(also on line 12)");
    // A computer car of that name takes no place, so it is no second listing.
    race.cars.back().driver = "Zoe Odegard";
    std::string text = Replaced(RaceFinalText(race), "\r\n 5 ", "\r\nAI :");
    EXPECT_TRUE(StageText(text).Staged());
    ClearStaging(*league);

    // More drivers than a position can count.
    text = RaceFinalText(SampleRace());
    const std::size_t hyphens = text.find("\r\n", text.find("Status")) + 2;
    const std::size_t first = text.find("\r\n", hyphens) + 2;
    const std::size_t end = text.find("\r\n\r\n", first) + 2;
    const std::string line = text.substr(first, text.find("\r\n", first) + 2 - first);
    std::string table;
    for (int i = 1; i <= 32768; ++i) {
        std::string name = "Driver " + std::to_string(i);
        name.resize(27, ' ');
        table += std::string(line).replace(13, 27, name);
    }
    ExpectRefused(StageText(text.replace(first, end - first, table)), dir.File("race.stn"),
                  "Line 32778: the race has more than 32767 drivers, more than a race of the "
                  "league can hold");
}

TEST_F(RaceFinalTest, HeaderTrackLineAndStatisticsReadAsTheirRulesSay) {
    Open(0);
    RaceFinalRace race = SampleRace();
    race.laps = 74;
    std::string text = RaceFinalText(race);
    // A header whose first ten characters are blank is a header too.
    text.replace(text.find("Race Final   Sample 200"), 23, "             Sample 200");
    // Only six statistic lines are looked at; one without "-" counts among them.
    text.replace(text.find("Race time"), 0,
                 "Statistics\r\nBest lap - 40.1\r\n* skipped\r\nSummary\r\n");
    StagingResult result = StageText(text);
    ASSERT_TRUE(result.Staged()) << result.message;
    EXPECT_EQ(RaceRow(result.stnRaceId),
              (std::vector<std::string>{"Sample 200", "race.stn", "2.5", "74", "1:40:00.000",
                                        "99.000 mph", "NULL", "1", "NULL", "NULL"}));
    EXPECT_EQ(Results(result.stnRaceId).at(2), "3/3 Cleo Marsh 12/0 165+0 q0 Crash");

    // A table closed by the file's last line leaves the statistics empty.
    text = RaceFinalText(race);
    text.erase(text.find("Race time"));
    result = StageText(text);
    ASSERT_TRUE(result.Staged()) << result.message;
    EXPECT_EQ(RaceRow(result.stnRaceId).at(4), "NULL");
}

} // namespace
} // namespace scorewell
