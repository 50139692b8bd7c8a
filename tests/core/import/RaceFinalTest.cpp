#include "import/RaceFinal.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/Text.h"
#include "data/LeagueFile.h"
#include "import/RaceFinalWriter.h"
#include "scoring/Scoring.h"
#include "support/TempDir.h"

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

class RaceFinalTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::unique_ptr<Program> program;
    std::unique_ptr<League> league;

    void Open(int sim, const std::string& separator = ".") {
        program = std::make_unique<Program>(dir.File("prog"), separator);
        CreateLeagueFile(dir.File("l.slf"), sim, 0, program->Db(), 0, 0);
        league = std::make_unique<League>(*program, dir.File("l.slf"));
    }
    Database& Db() { return league->Db(); }

    StagingResult Stage(const std::string& path, int lapReportingMethod = 0) {
        return ImportSTNFile(*league, league->LoadPointTable(), path, league->Settings().simTitle,
                             lapReportingMethod);
    }
    // Writes bytes to a file of the test's folder and stages it.
    StagingResult StageText(const std::string& bytes, int lapReportingMethod = 0) {
        const std::string path = dir.File("race.stn");
        test::WriteFileBytes(path, bytes);
        return Stage(path, lapReportingMethod);
    }

    void Exclude(const std::string& name) {
        Db().Execute("UPDATE Driver SET Exclude=1 WHERE DriverID=?",
                     {Value(GetDriverID(Db(), name))});
    }
    void UseCustomPoints(const std::vector<std::pair<int, Value>>& rows) {
        Db().Execute("DELETE FROM PointSystem");
        int position = 0;
        for (const auto& [points, prize] : rows) {
            Db().Execute("INSERT INTO PointSystem (Position, Points, PrizeMoney) VALUES (?,?,?)",
                         {Value(++position), Value(points), prize});
        }
        Db().Execute("UPDATE Settings SET SettingValue='1' WHERE SettingsID=13");
        league->LoadWorkingSettings();
    }

    // "finish/start name run/led points+bonus qualifying reason [$prize]" per staged result.
    std::vector<std::string> Results(std::int32_t race) {
        std::vector<std::string> out;
        for (Cursor c = Db().Query("SELECT Finish, Start, DriverName, LapsRun, LapsLed, Points, "
                                   "Bonus, Qualifying, ReasonOut, PrizeMoney FROM STNStats "
                                   "WHERE STNRaceID=? ORDER BY STNStatsID",
                                   {Value(race)});
             !c.AtEnd(); c.MoveNext()) {
            out.push_back(
                c.Field(0).AsText() + "/" + c.Field(1).AsText() + " " + c.Field(2).AsText() + " " +
                c.Field(3).AsText() + "/" + c.Field(4).AsText() + " " + c.Field(5).AsText() + "+" +
                c.Field(6).AsText() + " q" + c.Field(7).AsText() + " " + c.Field(8).AsText() +
                (c.Field(9).IsNull() ? "" : " $" + c.Field(9).AsText()));
        }
        return out;
    }
    std::vector<std::string> RaceRow(std::int32_t race) {
        ResultSet rs = Db().QueryAll("SELECT Name, FileName, Length, Laps, RaceTime, AvgSpeed, "
                                     "VictoryMargin, Cautions, LeadChanges, Weather FROM STNRace "
                                     "WHERE STNRaceID=?",
                                     {Value(race)});
        std::vector<std::string> out;
        for (const Value& v : rs.rows.at(0)) {
            out.push_back(v.IsNull() ? "NULL" : v.AsText());
        }
        return out;
    }
    std::int64_t Count(const std::string& table) {
        return Db().Scalar("SELECT Count(*) FROM " + table).AsInteger();
    }
    void ExpectRefused(const StagingResult& result, const std::string& path,
                       const std::string& message) {
        EXPECT_FALSE(result.Staged());
        EXPECT_EQ(result.drivers, 0);
        EXPECT_EQ(result.title, "Error Reading '" + path + "'");
        EXPECT_EQ(result.message, message);
        EXPECT_EQ(Count("STNRace"), 0);
        EXPECT_EQ(Count("STNStats"), 0);
    }
};

TEST(RaceFinalLinesTest, DataLinesSkipBlankAndStarLinesButNotTheLastLine) {
    RaceFinalLines mixed(std::string("a\r\nb\nc\rd\r\n\r\ne"));
    EXPECT_EQ(AllLines(mixed), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
    RaceFinalLines ending(std::string("a\r\n"));
    EXPECT_EQ(AllLines(ending), (std::vector<std::string>{"a"}));

    RaceFinalLines lines(std::string("\r\n   \r\n* note\r\n  *x\r\n  Race  \r\n\r\n*last"));
    EXPECT_EQ(ReadDataLine(lines), "  Race  "); // untrimmed
    EXPECT_EQ(lines.LineNumber(), 5);
    EXPECT_EQ(ReadDataLine(lines), "*last"); // the last line whatever it holds
    EXPECT_EQ(ReadDataLine(lines), std::nullopt);

    RaceFinalLines blankEnd(std::string("x\r\n\r\n"));
    ReadDataLine(blankEnd);
    EXPECT_EQ(ReadDataLine(blankEnd), "");
    RaceFinalLines empty(std::string{});
    EXPECT_EQ(ReadDataLine(empty), std::nullopt);
}

TEST(RaceFinalQualifyingTest, SpeedsStayAndLapTimesBecomeSpeeds) {
    EXPECT_EQ(ConvertQualifying("", 0, 2.5f), 0.0f);
    EXPECT_EQ(ConvertQualifying("", 1, 2.5f), 0.0f);
    EXPECT_EQ(ConvertQualifying("150.123", 0, 2.5f), 150.123f);
    EXPECT_EQ(ConvertQualifying("1:02.500", 0, 2.5f), std::nullopt);
    EXPECT_EQ(ConvertQualifying("--", 0, 2.5f), std::nullopt);
    EXPECT_EQ(ConvertQualifying("1:02.500", 1, 2.5f), 144.0f);
    EXPECT_EQ(ConvertQualifying("62.5", 1, 2.5f), 144.0f);
    EXPECT_EQ(ConvertQualifying("1:05.000", 7, 2.5f), 138.4615f); // any method but 0 is a time
    EXPECT_EQ(ConvertQualifying("0:00", 1, 2.5f), 0.0f);
    EXPECT_EQ(ConvertQualifying("n/a", 1, 2.5f), 0.0f);
}

TEST_F(RaceFinalTest, StagesARaceFinalWithEveryCornerOutsideTheTable) {
    Open(0);
    Exclude("KIP VANDERMEER");
    const std::string path = Fixture("nr3-harbor-point.stn");
    StagingResult result = Stage(path);
    ASSERT_TRUE(result.Staged()) << result.message;
    EXPECT_EQ(result.drivers, 5);
    EXPECT_TRUE(result.title.empty() && result.message.empty());
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
    StagingResult again = Stage(path);
    EXPECT_EQ(again.drivers, 6);
    EXPECT_EQ(Results(again.stnRaceId).at(2), "3/5 Kip Vandermeer 266/0 165+0 q97.45 Running");
}

TEST_F(RaceFinalTest, TheDecimalSeparatorShapesOnlyTheStatisticTexts) {
    Open(0, ",");
    StagingResult result = Stage(Fixture("nr3-harbor-point.stn"));
    ASSERT_TRUE(result.Staged()) << result.message;
    std::vector<std::string> race = RaceRow(result.stnRaceId);
    EXPECT_EQ(race[2], "1.5"); // a number, whatever the separator
    EXPECT_EQ(race[4], "4:05:31,870");
    EXPECT_EQ(race[5], "97,873 mph");
    EXPECT_EQ(race[6], "0,441 sec");
    EXPECT_DOUBLE_EQ(Db().Scalar("SELECT Qualifying FROM STNStats WHERE Finish=1").AsDouble(),
                     98.123);
}

TEST_F(RaceFinalTest, LapTimesWithLfLinesAndAStatisticOnTheLastLine) {
    Open(0);
    const std::string path = Fixture("nr3-millbrook-laptimes-lf.stn");
    StagingResult result = Stage(path, 1);
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

    // Read as speeds, a lap time is no number.
    ClearStaging(*league);
    ExpectRefused(Stage(path, 0), path,
                  "line 6: the qualifying field is not a number (\"1:02.500\")");
}

TEST_F(RaceFinalTest, CustomPointSystemGivesPrizeMoneyAndNothingBeyondItsLastPosition) {
    Open(0);
    UseCustomPoints({{50, Value(10000)}, {40, Value(6000)}, {35, Value()}});
    StagingResult result = Stage(Fixture("nr3-millbrook-laptimes-lf.stn"), 1);
    ASSERT_TRUE(result.Staged()) << result.message;
    EXPECT_EQ(Results(result.stnRaceId), (std::vector<std::string>{
                                             "1/2 Bram Okonkwo 200/150 60+10 q144 Running $10000",
                                             "2/1 Inès Caldwell 200/48 45+5 q288 Running $6000",
                                             "3/3 Wes Harlan 199/2 40+5 q0 Running",
                                             "4/4 Pip Castellano 120/0 0+0 q138.4615 Overheating",
                                         }));
}

TEST_F(RaceFinalTest, LegendsKeepsThePrintedPointsUnlessTheLeagueHasItsOwnSystem) {
    const std::string path = Fixture("legends-cedar-valley.stn");
    Open(1);
    StagingResult printed = Stage(path);
    ASSERT_TRUE(printed.Staged()) << printed.message;
    // No bonus in NASCAR Legends.
    EXPECT_EQ(Results(printed.stnRaceId),
              (std::vector<std::string>{"1/4 Amos Whitlock 250/180 43+0 q88.412 Running",
                                        "2/1 Juniper Hale 250/70 42+0 q89.005 Running",
                                        "3/2 Cyrus Pendleton 249/0 41+0 q88.95 Running",
                                        "4/3 Ottilie Brandt 101/0 40+0 q88.7 Ignition"}));
    UseCustomPoints({{10, Value(500)}, {8, Value(300)}});
    StagingResult custom = Stage(path);
    EXPECT_EQ(Results(custom.stnRaceId).at(1), "2/1 Juniper Hale 250/70 8+0 q89.005 Running $300");
    EXPECT_EQ(Results(custom.stnRaceId).at(3), "4/3 Ottilie Brandt 101/0 0+0 q88.7 Ignition");

    // In a NASCAR Racing 3 league the same file is scored from the preset system.
    league.reset();
    program.reset();
    std::remove(dir.File("l.slf").c_str());
    Open(0);
    StagingResult preset = Stage(path);
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
    race.simType = 2;
    race.weather = "Hazy^ 80°F";
    EXPECT_EQ(RaceRow(StageText(RaceFinalText(race)).stnRaceId).back(), "Hazy^ 80°F");
    race.simType = 0;
    race.weather = "Hazy© 80°F";
    league->Settings().simTitle = 0;
    EXPECT_EQ(RaceRow(StageText(RaceFinalText(race)).stnRaceId).back(), "Hazy© 80°F");
}

TEST_F(RaceFinalTest, RefusedFixturesSayWhyAndLeaveNothingStaged) {
    Open(0);
    std::string path = Fixture("refused-header.stn");
    ExpectRefused(Stage(path), path, "\"" + path + "\" does not seem to be a race final!");
    path = Fixture("refused-one-hyphen-line.stn");
    ExpectRefused(Stage(path), path, "the file ends before the second line of hyphens");
    path = Fixture("refused-unclosed-table.stn");
    ExpectRefused(Stage(path), path, "the file ends inside the driver table (line 7)");
    path = Fixture("refused-blank-laps.stn");
    ExpectRefused(Stage(path), path, "line 8: the laps run field is blank");
    path = dir.File("missing.stn");
    ExpectRefused(Stage(path), path, "the file cannot be opened (No such file or directory)");
    ExpectRefused(StageText(""), dir.File("race.stn"), "the file is empty");
    ExpectRefused(StageText("Race Final  Short\r\n"), dir.File("race.stn"),
                  "the file ends before the track line");
}

TEST_F(RaceFinalTest, ARefusedFileInsideACallersTransactionKeepsTheOthers) {
    Open(0);
    Transaction t(Db());
    EXPECT_TRUE(Stage(Fixture("nr3-harbor-point.stn")).Staged());
    EXPECT_FALSE(Stage(Fixture("refused-blank-laps.stn")).Staged());
    t.Commit();
    EXPECT_EQ(Count("STNRace"), 1);
    EXPECT_EQ(Count("STNStats"), 6);
}

TEST_F(RaceFinalTest, FieldsTheOriginalStatementsRefusedAreRefusedWithLineAndField) {
    Open(1); // NASCAR Legends reads the points field
    const std::string sample = RaceFinalText(SampleRace());
    const std::string path = dir.File("race.stn");
    ASSERT_EQ(StageText(sample).drivers, 3);
    ClearStaging(*league);
    // The writer's lines: 5 header, 6 track line, 11 to 13 the table, 15 to 18 statistics.
    const DriverLineLayout& columns = DriverLineLayoutFor(0);
    ExpectRefused(StageText(Edit(sample, 12, columns.start, "")), path,
                  "line 12: the start field is blank");
    ExpectRefused(StageText(Edit(sample, 12, columns.lapsLed, "")), path,
                  "line 12: the laps led field is blank");
    ExpectRefused(StageText(Edit(sample, 12, columns.points, "")), path,
                  "line 12: the points field is blank");
    ExpectRefused(StageText(Edit(sample, 12, columns.lapsLed, "5x")), path,
                  "line 12: the laps led field is not a number (\"5x\")");
    // A "*" line inside the table is a driver line.
    ExpectRefused(StageText(Edit(sample, 13, {1, 79}, std::string(79, '*'))), path,
                  "line 13: the start field is not a number (\"**\")");
    ExpectRefused(StageText(Edit(sample, 6, kTrackLapsPlace, " 20")), path,
                  "line 6: the laps field is blank");
    ExpectRefused(StageText(Edit(sample, 6, kTrackLengthPlace, "2,500")), path,
                  "line 6: the track length field is not a number (\"2,500\")");
    const std::string longText(51, 'x');
    ExpectRefused(StageText(Replaced(sample, "Sample 200", longText)), path,
                  "line 5: the race name is longer than 50 characters (\"" + longText + "\")");
    ExpectRefused(StageText(Replaced(sample, "99.000 mph", "145.512 mph")), path,
                  "line 16: the average speed is longer than 10 characters (\"145.512 mph\")");
    ExpectRefused(StageText(Replaced(sample, "Caution flags - 1", "Caution flags - one")), path,
                  "line 17: the caution flags value is not a number (\"one\")");
    league->Settings().simTitle = 0;
    const std::string longName = dir.File(std::string(47, 'n') + ".stn");
    test::WriteFileBytes(longName, sample);
    ExpectRefused(Stage(longName), longName,
                  "the file name is longer than 50 characters (\"" + std::string(47, 'n') +
                      ".stn\")");
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
