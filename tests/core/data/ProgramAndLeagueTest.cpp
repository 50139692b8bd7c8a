#include <gtest/gtest.h>

#include <filesystem>

#include "common/Paths.h"
#include "common/Text.h"
#include "core/LeagueFixture.h"
#include "data/ProgramOptions.h"
#include "data/RecentFiles.h"
#include "data/Settings.h"
#include "scoring/Scoring.h"
#include "support/Checks.h"
#include "support/Golden.h"

namespace scorewell {
namespace {

TEST(Program, IsCreatedFromTheDefaultsAndAForeignFileIsKeptUntilTheUserAgrees) {
    test::TempDir dir;
    {
        Program program(dir.File("sub/folder"));
        EXPECT_TRUE(program.NoSimulationFolder());
        WriteSetting(program.Db(), 12, "/games/nr4/");
        program.LoadSimPaths();
        EXPECT_EQ(program.SimPath()[2], "/games/nr4/");
        EXPECT_FALSE(program.NoSimulationFolder());
    }
    const std::string file = dir.File("Tabulon.dat");
    test::WriteFileBytes(file, "hello, I am a text file\n");
    EXPECT_TRUE(test::Has(test::ErrorOf([&] { Program{dir.Path()}; }), file));
    EXPECT_EQ(test::ReadFileBytes(file), "hello, I am a text file\n");
    // Some other database is refused too.
    std::filesystem::remove(file);
    { Database::Create(file).Execute("CREATE TABLE Settings (x)"); }
    EXPECT_THROW(Program{dir.Path()}, ProgramDatabaseError);
    EXPECT_TRUE(FileExists(Program::ReplaceFromDefaults(dir.Path())));
    EXPECT_EQ(Program(dir.Path()).Db().Scalar("SELECT Count(*) FROM Bonus").AsInteger(), 5);
}

using LeagueTest = test::LeagueFixture;

TEST_F(LeagueTest, OpeningAddsPageSettingsAndMissingOnesAndLoadsTheWorkingSettings) {
    CreateLeagueFile(path, 1, 1, program->Db(), 2, 1);
    // Missing and blank settings take their defaults; what the program itself writes ("True")
    // and numbers followed by text are read as ever.
    {
        Database db = Database::Open(path);
        db.Execute("DELETE FROM Settings WHERE SettingsID = 17");
        db.Execute("UPDATE Settings SET SettingValue=NULL WHERE SettingsID=12");
        db.Execute("UPDATE Settings SET SettingValue='True' WHERE SettingsID=13");
        db.Execute("UPDATE Settings SET SettingValue='3 races' WHERE SettingsID=6");
    }
    test::WriteFileBytes(dir.File("TmpPoints.mdb"), "a stale compaction copy");
    league = std::make_unique<League>(*program, path);
    EXPECT_FALSE(FileExists(dir.File("TmpPoints.mdb")));
    EXPECT_EQ(Db().DeclaredSize("Race", "Weather"), 50);
    Db().Execute("ATTACH DATABASE ? AS prog", {Value(program->DatabasePath())});
    EXPECT_EQ(Rows("SELECT * FROM Settings WHERE SettingsID BETWEEN 100 AND 109"),
              Rows("SELECT * FROM prog.Settings WHERE SettingsID BETWEEN 100 AND 109"));
    Db().Execute("DETACH DATABASE prog");
    const WorkingSettings& s = league->Settings();
    EXPECT_EQ(s.simTitle, Simulation::NascarLegends);
    EXPECT_EQ(s.lapReportingMethod, LapReportingMethod::Speed);
    EXPECT_EQ(s.leagueType, LeagueType::Online);
    EXPECT_TRUE(s.useCustomPointSystem);
    EXPECT_EQ(s.droppedRaces, 3);

    league.reset();
    { Database::Open(path).Execute("DELETE FROM Settings WHERE SettingsID = 6"); }
    league = std::make_unique<League>(*program, path);
    EXPECT_EQ(ReadSetting(Db(), 6), "0");
    EXPECT_EQ(league->Settings().droppedRaces, 0);
}

TEST_F(LeagueTest, WorkingSettingsOutOfTheirRangeAreRefusedNamingTheSettingAndNotWritten) {
    CreateLeagueFile(path, 0, 0, program->Db(), 0, 0);
    league = std::make_unique<League>(*program, path);
    league.reset();
    const std::string sound = test::ReadFileBytes(path);
    // Each refusal's message in the golden file, the league's path written as cup.slf.
    const std::pair<int, const char*> cases[] = {
        {6, "99999999999"}, {6, "-1"},   {5, "4"},   {5, "1.5"},
        {12, "online"},     {13, "yes"}, {14, "1e"}, {17, "1e300"},
    };
    std::string messages;
    for (const auto& [id, value] : cases) {
        test::WriteFileBytes(path, sound);
        // The rows a league lacks would be added on opening: the refusal must come first.
        {
            Database db = Database::Open(path);
            db.Execute("UPDATE Settings SET SettingValue=? WHERE SettingsID=?",
                       {Value(value), Value(id)});
            db.Execute("DELETE FROM Settings WHERE SettingsID=100");
        }
        const std::string before = test::ReadFileBytes(path);
        try {
            League opened(*program, path);
            ADD_FAILURE() << "opened with " << value;
        } catch (const LeagueOpenError& e) {
            EXPECT_EQ(e.GetKind(), LeagueOpenError::Kind::Damaged);
            messages += ReplaceAll(e.what(), path, "cup.slf") + "\n";
        }
        EXPECT_EQ(test::ReadFileBytes(path), before);
    }
    test::ExpectGolden("league-setting-refusals.txt", messages);
}

TEST_F(LeagueTest, NamesThatClashAreNamedAndKeepAPlainIndexUntilTheClashIsGone) {
    // A league of a version that compared names for A to Z only: the key is new to it.
    CreateLeagueFile(path, 0, 0, program->Db(), 0, 0);
    {
        Database db = Database::Open(path);
        db.Execute("DROP INDEX NameKey");
        db.Execute("ALTER TABLE Driver DROP COLUMN NameKey");
        db.Execute("INSERT INTO Driver (Name) VALUES ('Zoë Ødegård'), ('Ann Able'), "
                   "('ZOË ØDEGÅRD'), ('zoë ødegård')");
    }
    // The warnings on opening, the name keys, and whether their index is unique.
    std::string opened;
    auto open = [&] {
        league = std::make_unique<League>(*program, path);
        for (const std::string& warning : league->Warnings()) {
            opened += warning + "\n";
        }
        opened +=
            Lines({"SELECT NameKey FROM Driver ORDER BY DriverID",
                   "SELECT \"unique\" FROM pragma_index_list('Driver') WHERE name='NameKey'"});
    };
    open();
    EXPECT_EQ(GetDriverID(Db(), "ZOË ØDEGÅRD"), 1);
    league.reset();

    // Renamed by another program (the keys left behind), the clash is gone on the next open.
    {
        Database db = Database::Open(path);
        db.Execute("UPDATE Driver SET Name='Zoe Odegard' WHERE DriverID=3");
        db.Execute("UPDATE Driver SET Name='ZOEY' WHERE DriverID=4");
    }
    opened += "-- renamed\n";
    open();
    league.reset();
    test::ExpectGolden("league-name-clash.txt", opened);

    // Once in step, opening it writes nothing.
    const std::string before = test::ReadFileBytes(path);
    league = std::make_unique<League>(*program, path);
    league.reset();
    EXPECT_EQ(test::ReadFileBytes(path), before);
}

TEST_F(LeagueTest, ClosingCompactsInPlaceAndKeepsTheContent) {
    Open();
    {
        Transaction t(Db());
        Db().Execute("INSERT INTO Driver (Name) VALUES ('Ann Able')");
        for (int i = 0; i < 2000; ++i) {
            Db().Execute("INSERT INTO Race (Name) VALUES (?)", {Value("Race")});
        }
        Db().Execute("DELETE FROM Race");
        t.Commit();
    }
    league->Close();
    EXPECT_FALSE(FileExists(dir.File("TmpPoints.mdb")));
    Database db = Database::Open(path);
    EXPECT_EQ(db.Scalar("SELECT Name FROM Driver").AsText(), "Ann Able");
    EXPECT_EQ(db.Scalar("PRAGMA freelist_count").AsInteger(), 0);
}

TEST_F(LeagueTest, FilesThatAreNoLeagueAreRefusedAndLeftUntouched) {
    using Kind = LeagueOpenError::Kind;
    auto kindOf = [&](const std::string& file) {
        const std::string before = FileExists(file) ? test::ReadFileBytes(file) : "";
        Kind kind = Kind::Other;
        try {
            League opened(*program, file);
        } catch (const LeagueOpenError& e) {
            EXPECT_TRUE(test::Has(std::string(e.what()), file)) << e.what();
            kind = e.GetKind();
        }
        EXPECT_EQ(FileExists(file) ? test::ReadFileBytes(file) : "", before) << file;
        return kind;
    };
    EXPECT_EQ(kindOf(dir.File("missing.slf")), Kind::Missing);
    for (const std::string& bytes : {std::string(8192, '\x5a'), std::string(),
                                     std::string("Race Final\r\nnot a league\r\n")}) {
        test::WriteFileBytes(dir.File("other.slf"), bytes);
        EXPECT_EQ(kindOf(dir.File("other.slf")), Kind::NotALeague) << bytes.size();
    }
    // The program database is a database, but not a league.
    std::filesystem::copy_file(program->DatabasePath(), dir.File("prog.slf"));
    EXPECT_EQ(kindOf(dir.File("prog.slf")), Kind::NotALeague);
    // Damaged, read-only and busy leagues are the reliability tests' business.
}

class SettingsTest : public test::LeagueFixture {
protected:
    void SetUp() override { Open(); }
};

TEST_F(SettingsTest, EachKindIsReadItsWayMissingApartFromEmptyAndBlankWrittenAsNull) {
    EXPECT_EQ(ReadSetting(Db(), 999), std::string(1, '\0'));
    Db().Execute("INSERT INTO Settings VALUES (20, 'N', NULL), (22, NULL, '  padded  ')");
    EXPECT_EQ(ReadSetting(Db(), 20), "");
    std::string name = "untouched";
    EXPECT_EQ(ReadSetting(Db(), 22, &name), "padded");
    EXPECT_EQ(name, "");

    EXPECT_TRUE(WriteSetting(Db(), 110, "&H00FFFFFF"));
    EXPECT_TRUE(WriteSetting(Db(), 110, "O'Brien's"));
    EXPECT_EQ(Rows("SELECT * FROM Settings WHERE SettingsID=110"),
              std::vector<std::string>{"110|NULL|O'Brien's"});
    EXPECT_TRUE(WriteSetting(Db(), 2, "   "));
    EXPECT_TRUE(Db().Scalar("SELECT SettingValue FROM Settings WHERE SettingsID=2").IsNull());
    // Flags, switches, numbers and colours, and bonus points that must fit their field.
    WriteSetting(Db(), 100, "True");
    WriteSetting(Db(), 101, "true");
    EXPECT_TRUE(ReadSettingFlag(Db(), 100));
    EXPECT_FALSE(ReadSettingFlag(Db(), 101));
    WriteSetting(Db(), 14, "True");
    EXPECT_TRUE(ReadSettingSwitch(Db(), 14));
    EXPECT_FALSE(ReadSettingSwitch(Db(), 13));
    WriteSetting(Db(), 300, "12abc");
    EXPECT_EQ(ReadSettingNumber(Db(), 300), 12);
    EXPECT_EQ(ReadSettingInteger(Db(), 300), std::nullopt);
    WriteSetting(Db(), 103, "&H8000000E");
    EXPECT_EQ(ReadSettingColor(Db(), 103), static_cast<std::int32_t>(0x8000000E));
    EXPECT_EQ(ReadSettingColor(Db(), 999), std::nullopt);
    EXPECT_TRUE(SetBonusPoints(Db(), 3, 10));
    EXPECT_EQ(Db().Scalar("SELECT Points FROM Bonus WHERE BonusID=3").AsInteger(), 10);
    EXPECT_FALSE(SetBonusPoints(Db(), 3, 100000));
    Db().Execute("DROP TABLE Settings");
    EXPECT_FALSE(WriteSetting(Db(), 2, "x"));
    EXPECT_EQ(ReadSetting(Db(), 2), kMissingSetting);
}

TEST_F(SettingsTest, PointTableInPresetAndCustomModes) {
    PointTable preset = LoadPointSystem(program->Db(), Db(), false, true);
    EXPECT_EQ(preset.Columns(), 4);
    EXPECT_EQ(preset.At(11, 0).AsInteger(), 130);
    EXPECT_EQ(preset.At(43, 3).AsInteger(), 3);
    EXPECT_TRUE(preset.At(44, 0).IsNull());

    // More rows than 43 are not loaded; fewer leave the rest empty.
    program->Db().Execute("INSERT INTO PointSystem VALUES (44, 1, 0, 0, 0)");
    EXPECT_EQ(LoadPointSystem(program->Db(), Db(), false, false).Positions(), 43);
    program->Db().Execute("DELETE FROM PointSystem WHERE Position > 40");
    EXPECT_TRUE(LoadPointSystem(program->Db(), Db(), false, false).At(41, 0).IsNull());

    Db().Execute("DELETE FROM PointSystem");
    Db().Execute("INSERT INTO PointSystem VALUES (1, 10, 1000), (2, 8, NULL), (3, 6, 300)");
    PointTable custom = LoadPointSystem(program->Db(), Db(), true, false);
    EXPECT_EQ(custom.Positions(), 3);
    EXPECT_EQ(custom.Columns(), 2);
    EXPECT_EQ(custom.At(1, 1).AsInteger(), 1000);
    EXPECT_TRUE(custom.At(2, 1).IsNull());
}

TEST(ProgramOptionsTest, ColoursAreStoredAsTheirTextsAndUnreadableOnesTakeTheDefaults) {
    test::TempDir dir;
    Program program(dir.File("prog"));
    ProgramOptions options = LoadProgramOptions(program);
    EXPECT_EQ(options.colors, kDefaultPageColors);
    options.simPath = {"/games/nr3/", "", ""};
    options.colors[1] = 0x00000001;
    options.colors[4] = static_cast<std::int32_t>(0x8000000F); // a desktop colour
    StoreProgramOptions(program, options);
    EXPECT_EQ(ReadSetting(program.Db(), 103), "&H00000001");
    EXPECT_EQ(ReadSetting(program.Db(), 106), "&H8000000F");
    EXPECT_EQ(program.SimPath()[0], "/games/nr3/");
    EXPECT_EQ(LoadProgramOptions(program).colors, options.colors);

    program.Db().Execute("DELETE FROM Settings WHERE SettingsID IN (102, 11)");
    WriteSetting(program.Db(), 104, "blue");
    options = LoadProgramOptions(program);
    EXPECT_EQ(options.colors[0], kDefaultPageColors[0]);
    EXPECT_EQ(options.colors[2], kDefaultPageColors[2]);
    EXPECT_FALSE(options.openLastFile);
}

// Which message wins and the letter case of the executable are run through the options window.
// The fixture folders nr3 and nr4 hold a stand-in for their simulation's executable, named in
// other letter case.
TEST(ProgramOptionsTest, AFolderCountsOnlyWithItsOwnSimulationsExecutable) {
    const std::string nr3 = SCOREWELL_FIXTURES_DIR "/nr3/";
    EXPECT_EQ(CheckSimulationFolders({nr3, "  ", SCOREWELL_FIXTURES_DIR "/nr4/"}), "");
    EXPECT_EQ(CheckSimulationFolders({"", nr3, ""}),
              "\"" + nr3 + "\" does not seem to refer to a valid NASCAR Legends path.");
}

std::vector<std::string> Entries(const RecentFiles& recent) {
    std::vector<std::string> entries;
    for (int i = 0; i < RecentFiles::kCount; ++i) {
        entries.push_back(recent.Entry(i));
    }
    return entries;
}

// Loading, and leaving out deleted files, is run through the main window's start-up.
TEST(RecentFilesTest, TheNewestComesFirstAndAListedFileMovesUpWithItsNewSpelling) {
    RecentFiles recent;
    for (const char* name : {"1", "2", "3", "4", "5"}) {
        recent.Add(name);
    }
    EXPECT_EQ(Entries(recent), (std::vector<std::string>{"5", "4", "3", "2"}));
    recent.Add("3");
    EXPECT_EQ(Entries(recent), (std::vector<std::string>{"3", "5", "4", "2"}));
    recent.Add("a.slf");
    recent.Add("4");
    recent.Add("A.SLF");
    EXPECT_EQ(Entries(recent), (std::vector<std::string>{"A.SLF", "4", "3", "5"}));
}

} // namespace
} // namespace scorewell
