#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "GuiTest.h"
#include "app/frmOptions.h"
#include "common/Paths.h"
#include "data/League.h"
#include "data/LeagueFileActions.h"
#include "data/Program.h"

namespace scorewell::gui::test {
namespace {

using StartupTest = GuiTest;

void PressCancel(QDialog* dialog) {
    QTest::mouseClick(Child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
}
void PressOK(QDialog* dialog) {
    QTest::mouseClick(Child<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
}

TEST_F(StartupTest, AFreshProgramFolderAsksForTheSimulationEveryStartUntilOneIsSet) {
    desktop.ExpectMessage("Notice");
    desktop.OnModal("frmOptions", PressCancel);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(FileExists(programFolder + "/Tabulon.dat"));
    EXPECT_EQ(desktop.Messages().at(0).text,
              "Please locate where a supported version of NASCAR Racing is installed.");
    EXPECT_EQ(desktop.Messages().at(0).icon, MessageIcon::Information);
    EXPECT_EQ(desktop.ModalCount("frmOptions"), 1);
    EXPECT_EQ(window->windowTitle(), "Scorewell");
    EXPECT_EQ(window->GetLeague(), nullptr);

    // OK with every folder empty is accepted, and the next start asks again.
    window.reset();
    desktop.ExpectMessage("Notice");
    desktop.OnModal("frmOptions", PressOK);
    ASSERT_TRUE(Start());
    EXPECT_EQ(ReadProgramSetting(0), "");
    window.reset();
    desktop.ExpectMessage("Notice");
    const std::string nr4 = SimulationFolder("nr4", "NASCAR Racing 4.exe");
    desktop.OnModal("frmOptions", [&](QDialog* dialog) {
        Child<QLineEdit>(dialog, "txtN3Path_2")->setText(QString::fromStdString(nr4));
        PressOK(dialog);
    });
    ASSERT_TRUE(Start());
    EXPECT_EQ(window->GetProgram()->SimPath()[2], nr4);

    // Now a folder is known: nothing is asked.
    window.reset();
    ASSERT_TRUE(Start());
    EXPECT_EQ(desktop.ModalCount("frmOptions"), 3);
}

TEST_F(StartupTest, ADamagedProgramDatabaseIsReplacedOnlyWhenTheUserAgrees) {
    std::filesystem::create_directories(programFolder);
    const std::string damaged = programFolder + "/Tabulon.dat";
    scorewell::test::WriteFileBytes(damaged, "this is not a database");

    desktop.ExpectMessage("Error", MessageAnswer::No, "Tabulon.dat");
    EXPECT_FALSE(Start());
    EXPECT_EQ(scorewell::test::ReadFileBytes(damaged), "this is not a database");
    EXPECT_EQ(desktop.Messages().back().buttons, MessageButtons::YesNo);

    desktop.ExpectMessage("Error", MessageAnswer::Yes, "Tabulon.dat");
    desktop.ExpectMessage("Notice", MessageAnswer::OK, "Tabulon.dat.damaged");
    desktop.ExpectMessage("Notice", MessageAnswer::OK, "Please locate");
    desktop.OnModal("frmOptions", PressCancel);
    ASSERT_TRUE(Start());
    EXPECT_EQ(scorewell::test::ReadFileBytes(damaged + ".damaged"), "this is not a database");
    EXPECT_NE(window->GetProgram(), nullptr);
}

TEST_F(StartupTest, TheCommandLineOpensALeagueAsGivenOrFromTheProgramFolder) {
    PrepareProgram();
    const std::string beside = programFolder + "/cup.slf";
    std::filesystem::rename(MakeLeague("cup.slf", {{"Daytona", 200, 2.5f}}), beside);

    // A relative name found only beside the program; what follows a blank is not the name.
    ASSERT_TRUE(Start("cup.slf and more words"));
    ASSERT_NE(window->GetLeague(), nullptr);
    EXPECT_TRUE(IsSameFile(window->GetLeague()->Path(), beside));
    EXPECT_EQ(window->windowTitle(), "Scorewell - cup");
    EXPECT_EQ(GridNames(), QStringList{"Daytona"});

    window.reset();
    ASSERT_TRUE(Start(QString::fromStdString(beside)));
    EXPECT_NE(window->GetLeague(), nullptr);

    // A file whose name has blanks, passed whole, is opened as it is.
    window.reset();
    const std::string spaced = dir.File("my cup.slf");
    std::filesystem::copy_file(beside, spaced);
    ASSERT_TRUE(Start(QString::fromStdString(spaced)));
    ASSERT_NE(window->GetLeague(), nullptr);
    EXPECT_EQ(window->windowTitle(), "Scorewell - my cup");

    window.reset();
    desktop.ExpectMessage("File Not Found");
    ASSERT_TRUE(Start("nothing.slf"));
    EXPECT_EQ(desktop.Messages().back().text, "\"nothing.slf\" does not exist!");
    EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::Exclamation);
    EXPECT_EQ(window->GetLeague(), nullptr);
}

TEST_F(StartupTest, TheMostRecentLeagueOpensOnlyWhenTheOptionSaysSo) {
    PrepareProgram();
    const std::string cup = MakeLeague("cup.slf");
    WriteProgramSetting(7, cup);
    ASSERT_TRUE(Start());
    EXPECT_EQ(window->GetLeague(), nullptr);

    window.reset();
    WriteProgramSetting(11, "True");
    ASSERT_TRUE(Start());
    ASSERT_NE(window->GetLeague(), nullptr);
    EXPECT_EQ(window->GetLeague()->Path(), cup);

    // The flag must be exactly "True".
    window.reset();
    WriteProgramSetting(11, "true");
    ASSERT_TRUE(Start());
    EXPECT_EQ(window->GetLeague(), nullptr);

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
    const std::string a = MakeLeague("a.slf"), b = MakeLeague("b.slf"), c = MakeLeague("c.slf");
    WriteProgramSetting(7, a);
    WriteProgramSetting(8, b);
    WriteProgramSetting(9, c);
    WriteProgramSetting(10, "");
    std::filesystem::remove(b);
    ASSERT_TRUE(Start());
    EXPECT_EQ(Menu("mnuFile_12")->text(), QString::fromStdString("&1 " + a));
    EXPECT_EQ(Menu("mnuFile_13")->text(), QString::fromStdString("&2 " + c));
    EXPECT_TRUE(Menu("mnuFile_12")->isVisible());
    EXPECT_TRUE(Menu("mnuFile_13")->isVisible());
    EXPECT_FALSE(Menu("mnuFile_14")->isVisible());
    EXPECT_FALSE(Menu("mnuFile_15")->isVisible());
    EXPECT_TRUE(Menu("mnuFile_16")->isVisible());

    // Exit writes the list back as it now stands.
    window->close();
    EXPECT_EQ(ReadProgramSetting(7), a);
    EXPECT_EQ(ReadProgramSetting(8), c);
    EXPECT_EQ(ReadProgramSetting(9), "");

    window.reset();
    std::filesystem::remove(a);
    std::filesystem::remove(c);
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Menu("mnuFile_12")->isVisible());
    EXPECT_FALSE(Menu("mnuFile_16")->isVisible());
}

} // namespace
} // namespace scorewell::gui::test
