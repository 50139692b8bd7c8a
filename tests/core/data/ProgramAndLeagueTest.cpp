#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "common/Files.h"
#include "common/Paths.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "data/SimulationFolders.h"
#include "support/TempDir.h"

namespace scorewell {
namespace {

TEST(Program, CreatesTheProgramDatabaseFromTheSeedWhenMissing) {
    test::TempDir dir;
    std::string folder = dir.File("sub/folder");
    Program program(folder);
    EXPECT_TRUE(FileExists(folder + "/Tabulon.dat"));
    Database& db = program.Db();
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM PointSystem").AsInteger(), 43);
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM Bonus").AsInteger(), 5);
    EXPECT_EQ(db.Scalar("SELECT Count(*) FROM RankCriteria").AsInteger(), 4);
    EXPECT_EQ(ReadSetting(db, 11), "False");
    EXPECT_EQ(ReadSetting(db, 0), "");
    EXPECT_TRUE(program.NoSimulationFolder());
    for (int id = 100; id <= 109; ++id) {
        std::string name;
        EXPECT_NE(ReadSetting(db, id, &name), kMissingSetting) << id;
        EXPECT_FALSE(name.empty()) << id;
    }
    WriteSetting(db, 12, "/games/nr4/");
    program.LoadSimPaths();
    EXPECT_EQ(program.SimPath()[2], "/games/nr4/");
    EXPECT_FALSE(program.NoSimulationFolder());
}

TEST(Program, AFileThatIsNoProgramDatabaseIsReportedAndKept) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("Tabulon.dat"), "hello, I am a text file\n");
    try {
        Program program(dir.Path());
        FAIL();
    } catch (const ProgramDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.File("Tabulon.dat")), std::string::npos);
    }
    EXPECT_EQ(test::ReadFileBytes(dir.File("Tabulon.dat")), "hello, I am a text file\n");
    // Some other database is refused too, naming what it lacks.
    std::filesystem::remove(dir.File("Tabulon.dat"));
    { Database::Create(dir.File("Tabulon.dat")).Execute("CREATE TABLE Settings (x)"); }
    EXPECT_THROW(Program{dir.Path()}, ProgramDatabaseError);
    // When the user agrees, it is kept aside and replaced.
    std::string kept = Program::ReplaceFromSeed(dir.Path());
    EXPECT_TRUE(FileExists(kept));
    Program program(dir.Path());
    EXPECT_EQ(program.Db().Scalar("SELECT Count(*) FROM Bonus").AsInteger(), 5);
}

class LeagueTest : public ::testing::Test {
protected:
    test::TempDir dir;
    Program program{dir.File("prog")};
    std::string path = dir.File("cup.slf");

    void Create(int sim = 0, int drop = 2, int lap = 1) {
        CreateLeagueFile(path, sim, 0, program.Db(), drop, lap);
    }
};

TEST_F(LeagueTest, OpeningAddsPageSettingsAndLoadsTheWorkingSettings) {
    Create(1, 2, 1);
    League league(program, path);
    Database& db = league.Db();
    EXPECT_EQ(db.DeclaredSize("Race", "Weather"), 50);
    for (int id = 100; id <= 109; ++id) {
        std::string leagueName, programName;
        EXPECT_EQ(ReadSetting(db, id, &leagueName), ReadSetting(program.Db(), id, &programName));
        EXPECT_EQ(leagueName, programName);
    }
    const WorkingSettings& s = league.Settings();
    EXPECT_EQ(s.simTitle, 1);
    EXPECT_EQ(s.leagueType, 0);
    EXPECT_EQ(s.droppedRaces, 2);
    EXPECT_EQ(s.lapReportingMethod, 1);
    EXPECT_FALSE(s.useCustomPointSystem);
    EXPECT_FALSE(s.useCustomBonusSystem);
}

TEST_F(LeagueTest, AMissingDroppedRacesSettingIsAddedAsZero) {
    Create();
    {
        Database db = Database::Open(path);
        db.Execute("DELETE FROM Settings WHERE SettingsID IN (6, 17)");
    }
    League league(program, path);
    EXPECT_EQ(ReadSetting(league.Db(), 6), "0");
    EXPECT_EQ(league.Settings().droppedRaces, 0);
    EXPECT_EQ(league.Settings().lapReportingMethod, 0);
}

TEST_F(LeagueTest, ClosingCompactsInPlaceAndKeepsTheContent) {
    Create();
    {
        League league(program, path);
        Transaction t(league.Db());
        league.Db().Execute("INSERT INTO Driver (Name) VALUES ('Ann Able')");
        for (int i = 0; i < 2000; ++i) {
            league.Db().Execute("INSERT INTO Race (Name) VALUES (?)", {Value("Race")});
        }
        league.Db().Execute("DELETE FROM Race");
        t.Commit();
        league.Close();
        EXPECT_FALSE(league.IsOpen());
    }
    EXPECT_FALSE(FileExists(dir.File("TmpPoints.mdb")));
    Database db = Database::Open(path);
    EXPECT_EQ(db.Scalar("SELECT Name FROM Driver").AsText(), "Ann Able");
    EXPECT_EQ(db.Scalar("PRAGMA freelist_count").AsInteger(), 0);
    EXPECT_EQ(db.Scalar("PRAGMA integrity_check").AsText(), "ok");
}

TEST_F(LeagueTest, AStaleCompactionCopyIsRemovedOnOpen) {
    Create();
    test::WriteFileBytes(dir.File("TmpPoints.mdb"), "half a copy");
    test::WriteFileBytes(dir.File("TmpPoints.mdb-journal"), "junk");
    League league(program, path);
    EXPECT_FALSE(FileExists(dir.File("TmpPoints.mdb")));
    EXPECT_FALSE(FileExists(dir.File("TmpPoints.mdb-journal")));
}

TEST_F(LeagueTest, FilesThatAreNoLeagueAreRefusedAndLeftUntouched) {
    using Kind = LeagueOpenError::Kind;
    auto kindOf = [&](const std::string& file) {
        try {
            League league(program, file);
        } catch (const LeagueOpenError& e) {
            EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
            return e.GetKind();
        }
        return Kind::Other;
    };
    EXPECT_EQ(kindOf(dir.File("missing.slf")), Kind::Missing);

    const std::string random(8192, '\x5a');
    test::WriteFileBytes(dir.File("random.slf"), random);
    EXPECT_EQ(kindOf(dir.File("random.slf")), Kind::NotALeague);
    EXPECT_EQ(test::ReadFileBytes(dir.File("random.slf")), random);

    test::WriteFileBytes(dir.File("empty.slf"), "");
    EXPECT_EQ(kindOf(dir.File("empty.slf")), Kind::NotALeague);
    EXPECT_EQ(test::ReadFileBytes(dir.File("empty.slf")), "");

    test::WriteFileBytes(dir.File("text.slf"), "Race Final\r\nnot a league\r\n");
    EXPECT_EQ(kindOf(dir.File("text.slf")), Kind::NotALeague);

    // The program database is a database, but not a league.
    std::filesystem::copy_file(program.DatabasePath(), dir.File("prog.slf"));
    std::string before = test::ReadFileBytes(dir.File("prog.slf"));
    EXPECT_EQ(kindOf(dir.File("prog.slf")), Kind::NotALeague);
    EXPECT_EQ(test::ReadFileBytes(dir.File("prog.slf")), before);

    // A league whose pages were overwritten in the middle is damaged.
    Create();
    std::string bytes = test::ReadFileBytes(path);
    ASSERT_GT(bytes.size(), 8192u);
    for (std::size_t i = 4096; i < 8192; ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    test::WriteFileBytes(path, bytes);
    Kind damaged = kindOf(path);
    EXPECT_TRUE(damaged == Kind::Damaged || damaged == Kind::NotALeague);
    EXPECT_EQ(test::ReadFileBytes(path), bytes);
}

TEST_F(LeagueTest, AReadOnlyLeagueIsRefusedWithoutWriting) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "file permissions do not bind the superuser";
    }
    Create();
    chmod(path.c_str(), 0444);
    try {
        League league(program, path);
        FAIL();
    } catch (const LeagueOpenError& e) {
        EXPECT_EQ(e.GetKind(), LeagueOpenError::Kind::ReadOnly);
    }
    chmod(path.c_str(), 0644);
}

} // namespace
} // namespace scorewell

namespace scorewell {
namespace {

TEST(SimulationFolders, TheExecutableIsFoundWithoutRegardToLetterCase) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.File("nr3"));
    test::WriteFileBytes(dir.File("nr3/nascar racing 3.EXE"), "");
    EXPECT_EQ(CheckSimulationFolder(0, dir.File("nr3") + "/"), std::nullopt);
    EXPECT_EQ(CheckSimulationFolder(0, "  "), std::nullopt);
    EXPECT_EQ(CheckSimulationFolder(2, dir.File("nr3") + "/"),
              "\"" + dir.File("nr3") +
                  "/\" does not seem to refer to a valid NASCAR Racing 4 "
                  "path.");
    EXPECT_NE(CheckSimulationFolder(1, dir.File("nr3") + "/"), std::nullopt);
}

} // namespace
} // namespace scorewell
