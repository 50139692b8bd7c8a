#include "import/RaceFinal.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/Text.h"
#include "core/LeagueFixture.h"
#include "scoring/Scoring.h"
#include "support/Golden.h"

namespace scorewell {
namespace {

std::string Fixture(const std::string& name) {
    return std::string(SCOREWELL_FIXTURES_DIR) + "/stn/" + name;
}

TEST(RaceFinalReadingTest, DataLinesSkipBlankAndStarLinesAndLapTimesBecomeSpeeds) {
    RaceFinalLines mixed(std::string("a\r\nb\nc\rd\r\n\r\ne"));
    std::vector<std::string> all;
    while (!mixed.AtEnd()) {
        all.emplace_back(mixed.Next());
    }
    EXPECT_EQ(all, (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));

    RaceFinalLines lines(std::string("\r\n   \r\n* note\r\n  *x\r\n  Race  \r\n\r\n*last"));
    EXPECT_EQ(ReadDataLine(lines), "  Race  "); // untrimmed
    EXPECT_EQ(lines.LineNumber(), 5);
    EXPECT_EQ(ReadDataLine(lines), "*last"); // the last line whatever it holds
    EXPECT_EQ(ReadDataLine(lines), std::nullopt);

    RaceFinalLines blankEnd(std::string("x\r\n\r\n"));
    ReadDataLine(blankEnd);
    EXPECT_EQ(ReadDataLine(blankEnd), "");

    // Qualifying: speeds stay, lap times become speeds.
    EXPECT_EQ(ConvertQualifying("", LapReportingMethod::Speed, 2.5f), 0.0f);
    EXPECT_EQ(ConvertQualifying("150.123", LapReportingMethod::Speed, 2.5f), 150.123f);
    EXPECT_EQ(ConvertQualifying("1:02.500", LapReportingMethod::Speed, 2.5f), std::nullopt);
    EXPECT_EQ(ConvertQualifying("1:02.500", LapReportingMethod::LapTime, 2.5f), 144.0f);
    EXPECT_EQ(ConvertQualifying("n/a", LapReportingMethod::LapTime, 2.5f), 0.0f);
}

class RaceFinalTest : public test::LeagueFixture {
protected:
    StagingResult Stage(const std::string& file, int lapReportingMethod = 0) {
        return ImportSTNFile(*league, league->LoadPointTable(), file, league->Settings().simTitle,
                             static_cast<LapReportingMethod>(lapReportingMethod));
    }
    // A league of its own file for each simulation and decimal separator.
    void Reopen(int sim, const std::string& separator = ".") {
        path = dir.File(std::to_string(sim) + separator + "slf");
        Open(sim, 0, 0, 0, separator);
    }
};

// Each fixture staged alone, the staged race and its results written as the golden file keeps
// them, headed by what the league was like.
TEST_F(RaceFinalTest, StagedRacesAreTheirGolden) {
    std::string dump;
    auto stage = [&](const std::string& what, const std::string& file, int lapMethod = 0) {
        ClearStaging(*league);
        const StagingResult result = Stage(Fixture(file), lapMethod);
        EXPECT_TRUE(result.Staged()) << file << ": " << result.message;
        dump += "== " + file + " in " + what + ": " + std::to_string(result.drivers) +
                " drivers\n" +
                Lines({"SELECT Name, FileName, Length, typeof(Length), Laps, RaceTime, AvgSpeed, "
                       "VictoryMargin, Cautions, LeadChanges, Weather FROM STNRace",
                       "SELECT Finish, Start, DriverName, LapsRun, LapsLed, Points, Bonus, "
                       "Qualifying, typeof(Qualifying), ReasonOut, PrizeMoney FROM STNStats "
                       "ORDER BY STNStatsID"});
    };
    Reopen(0);
    // The computer car, the line without a name and the excluded driver take no position.
    Db().Execute("UPDATE Driver SET Exclude=1 WHERE DriverID=?",
                 {Value(GetDriverID(Db(), "KIP VANDERMEER"))});
    stage("NR3, Kip Vandermeer excluded", "nr3-harbor-point.stn");
    Db().Execute("UPDATE Driver SET Exclude=0");
    stage("NR3", "nr3-harbor-point.stn");
    // Lap times, LF lines, and the weather on the file's last line, not read.
    stage("NR3, lap times", "nr3-millbrook-laptimes-lf.stn", 1);
    // A file of NASCAR Legends is scored by the league's preset system, with bonuses.
    stage("NR3", "legends-cedar-valley.stn");
    // "©" is a degree sign only for NASCAR Racing 2.
    stage("NR3", "nr3-copyright-in-weather.stn");
    // A header whose first ten characters are blank is a header too; only six statistic lines
    // are looked at, one without "-" among them.
    stage("NR3", "nr3-blank-header-extra-statistics.stn");
    // A table closed by the file's last line leaves the statistics empty.
    stage("NR3", "nr3-without-statistics.stn");
    // A computer car named like a driver takes no place, so it is no second listing.
    stage("NR3", "nr3-computer-car-named-like-a-driver.stn");
    // Prize money where the table has it, nothing beyond its last position.
    UseCustomPoints({{50, Value(10000)}, {40, Value(6000)}, {35, Value()}});
    stage("NR3, own points", "nr3-millbrook-laptimes-lf.stn", 1);

    // NASCAR Legends keeps the printed points, without bonus, unless the league has its own.
    Reopen(1);
    stage("Legends", "legends-cedar-valley.stn");
    UseCustomPoints({{10, Value(500)}, {8, Value(300)}});
    stage("Legends, own points", "legends-cedar-valley.stn");

    // NASCAR Racing 2 has its own columns, and "^" is no degree sign there.
    Reopen(2);
    stage("NR2", "nr2-gulf-coast.stn");
    stage("NR2", "nr2-caret-in-weather.stn");

    // The decimal separator shapes the statistic texts; length and qualifying stay numbers
    // (their types are in the golden file too).
    Reopen(0, ",");
    stage("NR3, decimal comma", "nr3-harbor-point.stn");
    test::ExpectGolden("import/staged-race-finals.txt", dump);
}

// Every refused-*.stn fixture, the lap times of a race final read as speeds, a missing file and
// two large files, with the messages in the golden file; nothing of them is staged.
TEST_F(RaceFinalTest, RefusedFilesSayWhyAndLeaveNothingStagedEvenInsideATransaction) {
    Reopen(1); // NASCAR Legends reads the points field
    // Beside the fixtures, two files too large to keep: a race name of a megabyte, named by its
    // start only, and more drivers than a position can count, refused on the line of the one
    // too many.
    const std::string sample = test::ReadFileBytes(Fixture("nr3-without-statistics.stn"));
    const std::size_t first = sample.find(" 1   2    1  Alma Reyes");
    const std::string line = sample.substr(first, sample.find("\r\n", first) + 2 - first);
    std::string table = sample.substr(0, first);
    for (int i = 1; i <= 32768; ++i) {
        std::string name = "Driver " + std::to_string(i);
        name.resize(27, ' ');
        table += std::string(line).replace(13, 27, name);
    }
    test::WriteFileBytes(dir.File("refused-32768-drivers.stn"), table);
    test::WriteFileBytes(dir.File("refused-race-name-of-a-megabyte.stn"),
                         ReplaceAll(sample, "Sample 200", std::string(1'000'000, 'x')));
    std::vector<std::string> files = {Fixture("nr3-millbrook-laptimes-lf.stn"),
                                      Fixture("missing.stn"), dir.File("refused-32768-drivers.stn"),
                                      dir.File("refused-race-name-of-a-megabyte.stn")};
    for (const auto& entry : std::filesystem::directory_iterator(Fixture(""))) {
        if (entry.path().filename().string().starts_with("refused-")) {
            files.push_back(Fixture(entry.path().filename().string()));
        }
    }
    std::sort(files.begin() + 4, files.end());
    std::string messages;
    for (const std::string& file : files) {
        const StagingResult result = Stage(file);
        const std::string name = std::filesystem::path(file).filename().string();
        EXPECT_FALSE(result.Staged()) << name;
        EXPECT_EQ(result.drivers, 0);
        EXPECT_EQ(result.title, "Error Reading '" + file + "'");
        messages += name + ": " + ReplaceAll(result.message, Fixture(""), "") + "\n";
        EXPECT_EQ(Count("STNRace") + Count("STNStats"), 0);
    }
    test::ExpectGolden("import/race-final-refusals.txt", messages);

    // A refused file inside a caller's transaction keeps the others.
    Transaction t(Db());
    EXPECT_TRUE(Stage(Fixture("nr3-harbor-point.stn")).Staged());
    EXPECT_FALSE(Stage(Fixture("refused-blank-laps.stn")).Staged());
    t.Commit();
    EXPECT_EQ(Count("STNRace"), 1);
    EXPECT_EQ(Count("STNStats"), 6);
}

} // namespace
} // namespace scorewell
