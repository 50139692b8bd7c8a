#include <filesystem>

#include "GuiHarness.h"
#include "app/OptionsDialog.h"
#include "common/Paths.h"
#include "data/LeagueFileActions.h"
#include "data/Program.h"

namespace scorewell::gui::test {
namespace {

class StartupTest : public GuiTest {
protected:
    // Each test prepares and starts the program itself.
    void SetUp() override {}
};

const QString kLocate = "Please locate where a supported version of NASCAR Racing is installed.";

TEST_F(StartupTest, AFreshProgramFolderAsksForTheSimulationEveryStartUntilOneIsSet) {
    const std::string nr4 = SimulationFolder("nr4", "NASCAR Racing 4.exe");
    // Cancel, then OK with every folder empty, are accepted; the next start asks again.
    const std::vector<std::function<void(OptionsDialog*)>> answers = {
        [](OptionsDialog* d) { Click(d, "CancelButton"); },
        [](OptionsDialog* d) { Click(d, "OKButton"); },
        [&](OptionsDialog* d) {
            Child<QLineEdit>(d, "txtN3Path_2")->setText(Q(nr4));
            Click(d, "OKButton");
        }};
    for (const auto& answer : answers) {
        window.reset();
        desktop.ExpectMessage("Notice", MessageAnswer::OK, kLocate);
        desktop.OnModal<OptionsDialog>(answer);
        ASSERT_TRUE(Start());
        EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::Information);
        EXPECT_EQ(window->GetLeague(), nullptr);
    }
    EXPECT_TRUE(FileExists(programFolder + "/Tabulon.dat"));
    EXPECT_EQ(window->GetProgram()->SimPath()[2], nr4);

    // Now a folder is known: nothing is asked.
    window.reset();
    ASSERT_TRUE(Start());
    EXPECT_EQ(desktop.ModalCount<OptionsDialog>(), 3);
}

TEST_F(StartupTest, ADamagedProgramDatabaseIsReplacedOnlyWhenTheUserAgrees) {
    std::filesystem::create_directories(programFolder);
    const std::string damaged = programFolder + "/Tabulon.dat";
    scorewell::test::WriteFileBytes(damaged, "this is not a database");

    // The file kept or moved aside as Program.IsCreatedFromTheSeedAndAForeignFileIsKept...
    // checks; here the user is asked, and told where the old file went.
    desktop.ExpectMessage("Error", MessageAnswer::No, "Tabulon.dat");
    EXPECT_FALSE(Start());
    EXPECT_EQ(desktop.Messages().back().buttons, MessageButtons::YesNo);

    desktop.ExpectMessage("Error", MessageAnswer::Yes, "Tabulon.dat");
    desktop.ExpectMessage("Notice", MessageAnswer::OK, "Tabulon.dat.damaged");
    desktop.ExpectMessage("Notice", MessageAnswer::OK, kLocate);
    desktop.OnModal<OptionsDialog>([](OptionsDialog* d) { Click(d, "CancelButton"); });
    ASSERT_TRUE(Start());
    EXPECT_NE(window->GetProgram(), nullptr);
}

TEST_F(StartupTest, TheCommandLineOpensALeagueAsGivenOrFromTheProgramFolder) {
    PrepareProgram();
    const std::string beside = programFolder + "/cup.slf";
    std::filesystem::rename(MakeLeague("cup.slf", {{"Daytona", 200, 2.5f}}), beside);
    const std::string spaced = dir.File("my cup.slf");
    std::filesystem::copy_file(beside, spaced);

    // A relative name is found beside the program, and what follows a blank is not the name;
    // a file whose name has blanks, passed whole, is opened as it is.
    for (auto [commandLine, opened, caption] :
         {std::tuple{Q("cup.slf and more words"), beside, "Scorewell - cup"},
          {Q(beside), beside, "Scorewell - cup"},
          {Q(spaced), spaced, "Scorewell - my cup"}}) {
        SCOPED_TRACE(commandLine.toStdString());
        window.reset();
        ASSERT_TRUE(Start(commandLine));
        ASSERT_NE(window->GetLeague(), nullptr);
        EXPECT_TRUE(IsSameFile(window->GetLeague()->Path(), opened));
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_EQ(GridNames(), QStringList{"Daytona"});
    }

    window.reset();
    desktop.ExpectMessage("File Not Found", MessageAnswer::OK, "\"nothing.slf\" does not exist!");
    ASSERT_TRUE(Start("nothing.slf"));
    EXPECT_EQ(window->GetLeague(), nullptr);
}

TEST_F(StartupTest, TheMostRecentLeagueOpensOnlyWhenTheOptionSaysSo) {
    PrepareProgram();
    const std::string cup = MakeLeague("cup.slf");
    WriteProgramSetting(7, cup);
    // The flag must be exactly "True".
    for (auto [flag, opens] : {std::pair{"False", false}, {"True", true}, {"true", false}}) {
        SCOPED_TRACE(flag);
        window.reset();
        WriteProgramSetting(11, flag);
        ASSERT_TRUE(Start());
        EXPECT_EQ(window->GetLeague() != nullptr, opens);
    }

    // A most recent file that was deleted meanwhile is reported as it is opened.
    window.reset();
    WriteProgramSetting(11, "True");
    std::filesystem::remove(cup);
    desktop.ExpectMessage("Open File Error", MessageAnswer::OK, "cup.slf\" does not exist!");
    ASSERT_TRUE(Start());
    EXPECT_EQ(window->GetLeague(), nullptr);
}

TEST_F(StartupTest, RecentFilesThatWereDeletedDisappearAndTheOthersCloseRanks) {
    PrepareProgram();
    const std::string a = MakeLeague("a.slf"), b = MakeLeague("b.slf"),
                      c = MakeLeague("c.slf", {{"Daytona", 200, 2.5f}});
    WriteProgramSetting(7, a);
    WriteProgramSetting(8, b);
    WriteProgramSetting(9, c);
    std::filesystem::remove(b);
    // The title, the recent files and the separator after them after each step (golden
    // recent-files): an entry opens its league, which moves to the top; without entries the
    // separator goes too.
    Steps steps({"windowTitle", "mnuFile_12", "mnuFile_13", "mnuFile_14", "mnuFile_16"},
                {{dir.File(""), "<folder>/"}});
    ASSERT_TRUE(Start());
    steps.Note("started with a, c and the deleted b listed", window.get());
    Menu("mnuFile_13")->trigger();
    steps.Note("the second entry chosen", window.get());
    // Exit closes the league (compacting it, as LeagueTest.ClosingCompactsInPlaceAndKeepsThe-
    // Content checks) and writes the list back.
    Menu("mnuFile_17")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->GetLeague(), nullptr);
    EXPECT_EQ(ReadProgramSetting(7), c);
    EXPECT_EQ(ReadProgramSetting(8), a);
    EXPECT_EQ(ReadProgramSetting(9), "");

    window.reset();
    std::filesystem::remove(a);
    std::filesystem::remove(c);
    ASSERT_TRUE(Start());
    steps.Note("started with every listed file deleted", window.get());
    steps.Expect("recent-files");
}

} // namespace
} // namespace scorewell::gui::test
