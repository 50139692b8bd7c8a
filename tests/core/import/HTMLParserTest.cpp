#include "import/HTMLParser.h"

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/Text.h"
#include "core/LeagueFixture.h"
#include "data/Settings.h"
#include "import/ExportedStandings.h"
#include "support/Checks.h"
#include "support/Golden.h"
#include <stdexcept>

namespace scorewell {
namespace {

using test::ReadFileBytes;

// The fixture page: Windows-1252 bytes, CR LF lines, practice, qualifying, warm-up and race.
const std::string kPage = std::string(SCOREWELL_FIXTURES_DIR) + "/nr4/millbrook-standings.html";

// The parser reads a page's bytes as those of "Millbrook Race.html"; reading the file is the
// import's business, and a missing one the refusals'.
class HTMLParserTest : public ::testing::Test {
protected:
    HTMLParserTest() {
        tracks.Add("Millbrook Speedway", 2.5f, "Millbrook Speedway");
        parser.InputFile = "Millbrook Race.html";
        parser.TrackList = &tracks;
    }

    CTracks tracks;
    CHTMLParser parser;
};

// Each page parsed, what was read in the golden file: the fixture page (the excluded driver's lap
// time read as a speed, the tables other than race and qualifying passed over); the page written
// loosely (tags in other letter case, rows without closing tag, LF line ends, tabs, a runner-up
// laps down), read with a decimal comma; 500 laps of half a mile at 95.5 mph, whose race time of
// 9424.0838 s is rounded once; and cells missing from rows, which keep the previous row's values.
TEST_F(HTMLParserTest, ReadsTheRaceAndQualifyingTablesOfEachPage) {
    tracks.Add("Short Oval", 0.5f, "Short Oval");
    std::string dump;
    for (const auto& [page, separator] :
         std::vector<std::pair<std::string, std::string>>{{"millbrook-standings.html", "."},
                                                          {"loose-standings.html", ","},
                                                          {"short-oval-standings.html", "."},
                                                          {"missing-cells-standings.html", "."}}) {
        parser.DecimalSeparator = separator;
        ASSERT_TRUE(parser.ExecuteBytes(ReadFileBytes(SCOREWELL_FIXTURES_DIR "/nr4/" + page)))
            << page;
        const CRaceInfo& r = parser.Race();
        dump += "== " + page + "\n" + r.Name + "|" + std::to_string(r.Laps) + "|" + r.FileName +
                "|" + std::to_string(r.Length) + "|" + r.RaceTime + "|" + r.AvgSpeed + "|" +
                r.VictoryMargin + "|" + r.Cautions + "|" + r.Weather + "\n";
        for (const CDriverInfo& d : parser.Drivers()) {
            dump += d.Name + "|" + std::to_string(d.Start) + "|" + std::to_string(d.Finish) + "|" +
                    std::to_string(d.LapsRun) + "|" + std::to_string(d.LapsLed) + "|" +
                    std::to_string(d.Points) + "|" + std::to_string(d.Qualifying) + "|" +
                    d.ReasonOut + "\n";
        }
    }
    test::ExpectGolden("import/nr4-pages.txt", dump);
}

// Each damage of tests/fixtures/nr4/damaged-pages.txt made to the page, and a missing file: the
// error number and message of each in the golden file.
TEST_F(HTMLParserTest, RefusesDamagedPagesWithAPlainReason) {
    std::string table = ReadFileBytes(SCOREWELL_FIXTURES_DIR "/nr4/damaged-pages.txt");
    std::erase(table, '\r');
    std::string refusals;
    const std::string page = ReadFileBytes(kPage);
    parser.TracksFolder = "/games/nr4";
    for (const std::string& line : Split(table, '\n')) {
        const std::vector<std::string> damage = Split(line, '\t');
        if (damage.size() == 3) {
            EXPECT_TRUE(test::Has(page, damage[1]));
            EXPECT_FALSE(parser.ExecuteBytes(ReplaceAll(page, damage[1], damage[2]))) << damage[0];
            refusals +=
                damage[0] + ": " + std::to_string(parser.ErrNum()) + " " + parser.ErrMsg() + "\n";
        }
    }
    parser.InputFile = SCOREWELL_FIXTURES_DIR "/nr4/missing.html";
    EXPECT_FALSE(parser.Execute());
    refusals += "missing file: " + std::to_string(parser.ErrNum()) + " " + parser.ErrMsg() + "\n";
    test::ExpectGolden("import/nr4-page-refusals.txt", refusals);
}

TEST_F(HTMLParserTest, ReadsAPageOfSeveralMegabytesQuickly) {
    std::string page = "<H1>NASCAR RACING 4 EXPORTED STANDINGS</H1><H3>Track: Millbrook "
                       "Speedway</H3><H3>Session: Practice</H3><table>";
    std::string race = "</table><H3>Session: Race</H3><table>";
    for (int i = 1; i <= 30000; ++i) {
        page += "<tr><td>1</td><td>9</td><td>Someone</td><td>48.000</td>\r\n";
        race += "<tr><td>" + std::to_string(i) + "</td><td>" + std::to_string(i % 43 + 1) +
                "</td><td>9</td><td>Driver " + std::to_string(i) +
                "</td><td>-1L</td><td>200</td><td>0</td><td>3</td><td>Running</td>\r\n";
    }
    page += race + "</table>";
    ASSERT_GT(page.size(), 5'000'000u);

    // Processor time, not wall time: a busy machine (two tests at once, other builds) must not
    // fail it, while a parse that turns quadratic still does.
    const std::clock_t start = std::clock();
    ASSERT_TRUE(parser.ExecuteBytes(page)) << parser.ErrMsg();
    [[maybe_unused]] const auto elapsed =
        std::chrono::milliseconds((std::clock() - start) * 1000 / CLOCKS_PER_SEC);

    EXPECT_EQ(parser.Drivers().Count(), 30000u);
    EXPECT_EQ(parser.Drivers().Item(29999).Name, "Driver 30000");
    // Only an optimised build without sanitizers says anything about speed.
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(elapsed, std::chrono::seconds(1));
#endif
}

std::vector<std::string> Names(const CTracks& tracks) {
    std::vector<std::string> names;
    for (const CTrackInfo& track : tracks) {
        names.push_back(track.TrackName);
    }
    return names;
}

// The folders of tests/fixtures/nr4/Tracks in name order, each read by its track.ini: a
// Windows-1252 "®", CR LF lines, blanks around "=" and a second heading that ends the section
// (millbrook), reading stopped once both keys are known (harlan), a second track of a known name
// in capitals (millbrook2), a folder without track.ini (notes), a heading in capitals (other), no
// track section (unnamed), and a file that is no folder (readme.txt). Keys ignore letter case,
// the first of a name wins, and tracks without a name are kept but not keyed.
TEST(TracksTest, CatalogueReadsTheTrackIniOfEveryTrackFolderInNameOrder) {
    CTracks catalogue = LoadTrackCatalogue(SCOREWELL_FIXTURES_DIR "\\nr4\\");
    EXPECT_EQ(Names(catalogue), (std::vector<std::string>{"Harlan Raceway", "Millbrook Speedway",
                                                          "", "", "Zephyr Oval"}));
    EXPECT_FLOAT_EQ(catalogue.Item("millbrook speedway").Length, 2.5f);
    EXPECT_EQ(&catalogue.Add("HARLAN RACEWAY", 9.0f, "HARLAN RACEWAY"),
              &catalogue.Item("Harlan Raceway"));
    EXPECT_FLOAT_EQ(catalogue.Item("Harlan Raceway").Length, 0.75f);
    EXPECT_EQ(catalogue.Find(""), nullptr);
    EXPECT_THROW(catalogue.Item("Harlan"), std::out_of_range);

    catalogue.Remove("MILLBROOK SPEEDWAY");
    catalogue.Remove(0);
    EXPECT_EQ(Names(catalogue), (std::vector<std::string>{"", "", "Zephyr Oval"}));
    EXPECT_EQ(catalogue.Find("Millbrook Speedway"), nullptr);

    CTracks tracks;
    EXPECT_FALSE(ReadTrackIni(tracks, SCOREWELL_FIXTURES_DIR "/nr4/missing.ini"));
    EXPECT_EQ(LoadTrackCatalogue(SCOREWELL_FIXTURES_DIR "/stn").Count(), 0u);
}

class ExportedStandingsTest : public test::LeagueFixture {
protected:
    // A league of NASCAR Racing 4 whose folder is tests/fixtures/nr4.
    void OpenNr4(const std::string& separator = ".") {
        WriteSetting(program->Db(), 12, SCOREWELL_FIXTURES_DIR "/nr4/");
        program->LoadSimPaths();
        path = dir.File("nr4" + separator + ".slf");
        Open(3, 0, 0, 0, separator);
    }
    StagingResult Import(const std::string& page = kPage) {
        return ImportExportedStandings(*league, league->LoadPointTable(), page);
    }
};

// The staged race and results of the page, with a driver excluded, and with a decimal comma and
// the league's own point system; in the golden file.
TEST_F(ExportedStandingsTest, StagesTheRaceScoredWithExcludedDriversLeftOut) {
    std::string dump;
    auto stage = [&](const std::string& what) {
        const StagingResult result = Import();
        ASSERT_TRUE(result.Staged()) << result.message;
        dump += "== " + what + ": " + std::to_string(result.drivers) + " drivers\n" +
                Lines({"SELECT Name, FileName, Length, typeof(Length), Laps, RaceTime, AvgSpeed, "
                       "VictoryMargin, Cautions, LeadChanges, Weather FROM STNRace",
                       "SELECT Finish, Start, DriverName, LapsRun, LapsLed, Points, Bonus, "
                       "round(Qualifying, 2), ReasonOut, PrizeMoney FROM STNStats ORDER BY "
                       "Finish"});
    };
    OpenNr4();
    Db().Execute(
        "INSERT INTO Driver (Name, NameKey, Exclude) VALUES ('CODY MARSH', 'cody marsh', 1)");
    stage("Cody Marsh excluded");
    OpenNr4(",");
    UseCustomPoints({{20, Value(5000)}, {15, Value(2500)}});
    stage("decimal comma, own points");
    test::ExpectGolden("import/nr4-staged.txt", dump);
}

// The parser's own tests run its refusals; here one comes with the file's name, and a page that
// the league's rules cannot score is refused whole.
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
    EXPECT_TRUE(test::Has(Import(SCOREWELL_FIXTURES_DIR "/nr4/short-oval-standings.html").message,
                          "folder " SCOREWELL_FIXTURES_DIR "/nr4"));

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
