#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "GuiTest.h"
#include "common/Paths.h"
#include "data/Database.h"
#include "data/League.h"
#include "data/LeagueFileActions.h"
#include "data/Settings.h"
#include "data/frmSLFProperties.h"

namespace scorewell::gui::test {
namespace {

class SLFPropertiesTest : public GuiTest {
protected:
    void SetUp() override {
        PrepareProgram();
        ASSERT_TRUE(Start());
    }

    static void Type(QDialog* d, const std::string& name) {
        QTest::keyClicks(Child<QLineEdit>(d, "txtFileName"), QString::fromStdString(name));
    }
    static void Click(QDialog* d, const char* button) {
        QTest::mouseClick(Child<QPushButton>(d, button), Qt::LeftButton);
    }
    // File > New with a handler that fills in the dialog.
    void New(std::function<void(QDialog*)> handler) {
        desktop.OnModal("frmSLFProperties", std::move(handler));
        Menu("mnuFile_0")->trigger();
    }
    std::string LeagueSetting(const std::string& path, int id) {
        Database db = Database::Open(path);
        return ReadSetting(db, id);
    }
};

TEST_F(SLFPropertiesTest, ANameWithoutFolderGoesToTheProgramFolderAndIsOpened) {
    QString caption;
    New([&](QDialog* d) {
        caption = d->windowTitle();
        auto* create = Child<QPushButton>(d, "cmdButton_0");
        EXPECT_EQ(create->text(), "Create");
        EXPECT_FALSE(create->isEnabled());
        Type(d, "   ");
        EXPECT_FALSE(create->isEnabled());
        Child<QLineEdit>(d, "txtFileName")->clear();
        Type(d, "league");
        EXPECT_TRUE(create->isEnabled());
        // NASCAR Racing 3 is the only simulation with a folder.
        EXPECT_EQ(Child<QComboBox>(d, "cboTitle")->currentText(), "NASCAR Racing 3");
        EXPECT_EQ(Child<QComboBox>(d, "cboDroppedRaces")->currentText(), "0");
        EXPECT_EQ(Child<QComboBox>(d, "cboLeagueType")->currentText(), "On-line");
        EXPECT_TRUE(Child<QRadioButton>(d, "optLapMethod_0")->isChecked());
        Child<QComboBox>(d, "cboTitle")->setCurrentIndex(1);
        Child<QComboBox>(d, "cboDroppedRaces")->setCurrentIndex(2);
        Child<QComboBox>(d, "cboLeagueType")->setCurrentIndex(1);
        QTest::mouseClick(Child<QRadioButton>(d, "optLapMethod_1"), Qt::LeftButton, Qt::NoModifier,
                          QPoint(6, 8));
        Click(d, "cmdButton_0");
    });
    EXPECT_EQ(caption, "New Scorewell File");
    const std::string path = programFolder + "/league.slf";
    ASSERT_NE(window->GetLeague(), nullptr);
    EXPECT_TRUE(IsSameFile(window->GetLeague()->Path(), path));
    EXPECT_EQ(window->windowTitle(), "Scorewell - league");
    const WorkingSettings& s = window->GetLeague()->Settings();
    EXPECT_EQ(s.simTitle, 1);
    EXPECT_EQ(s.droppedRaces, 2);
    EXPECT_EQ(s.leagueType, 1);
    EXPECT_EQ(s.lapReportingMethod, 1);
    EXPECT_EQ(LeagueSetting(path, 17), "1");
    EXPECT_EQ(LeagueSetting(path, 5), "1");
    EXPECT_TRUE(Menu("mnuTools_3")->isEnabled());
    EXPECT_EQ(desktop.BusyDepth(), 0);
}

TEST_F(SLFPropertiesTest, TheExtensionIsAddedUnlessItIsSlfInAnyCase) {
    New([&](QDialog* d) {
        Type(d, dir.File("Cup.SLF"));
        Click(d, "cmdButton_0");
    });
    EXPECT_TRUE(FileExists(dir.File("Cup.SLF")));
    EXPECT_EQ(window->GetLeague()->Path(), dir.File("Cup.SLF"));
    New([&](QDialog* d) {
        Type(d, dir.File("league.mdb"));
        Click(d, "cmdButton_0");
    });
    EXPECT_TRUE(FileExists(dir.File("league.mdb.slf")));
    EXPECT_EQ(window->windowTitle(), "Scorewell - league.mdb");
}

TEST_F(SLFPropertiesTest, CancelAndTheCloseBoxOpenNothing) {
    New([&](QDialog* d) {
        Type(d, "league");
        Click(d, "cmdButton_1");
        EXPECT_TRUE(static_cast<frmSLFProperties*>(d)->Cancelled());
    });
    New([&](QDialog* d) {
        Type(d, "league");
        d->close();
        EXPECT_FALSE(static_cast<frmSLFProperties*>(d)->Cancelled());
    });
    EXPECT_EQ(window->GetLeague(), nullptr);
    EXPECT_FALSE(FileExists(programFolder + "/league.slf"));
}

TEST_F(SLFPropertiesTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysYes) {
    const std::string path = MakeLeague("cup.slf", {{"Daytona", 200, 2.5f}});
    const std::string before = scorewell::test::ReadFileBytes(path);
    const QString question =
        QString::fromStdString("\"" + path + "\"") + " already exists!  Do you want to replace it?";

    desktop.ExpectMessage("File Exists", MessageAnswer::No);
    New([&](QDialog* d) {
        Type(d, path);
        Click(d, "cmdButton_0");
        // The dialog stays open for another name.
        EXPECT_TRUE(d->isVisible());
        Click(d, "cmdButton_1");
    });
    EXPECT_EQ(desktop.Messages().back().text, question);
    EXPECT_EQ(desktop.Messages().back().buttons, MessageButtons::YesNo);
    EXPECT_EQ(scorewell::test::ReadFileBytes(path), before);
    EXPECT_EQ(window->GetLeague(), nullptr);

    desktop.ExpectMessage("File Exists", MessageAnswer::Yes);
    New([&](QDialog* d) {
        Type(d, path);
        Click(d, "cmdButton_0");
    });
    ASSERT_NE(window->GetLeague(), nullptr);
    EXPECT_EQ(GridNames(), QStringList{""});
    EXPECT_EQ(CountRows(path, "Race"), 0);
}

TEST_F(SLFPropertiesTest, ReplacingTheOpenLeagueClosesItFirst) {
    const std::string path = MakeLeague("cup.slf", {{"Daytona", 200, 2.5f}});
    Open(path);
    ASSERT_EQ(GridNames(), QStringList{"Daytona"});
    desktop.ExpectMessage("File Exists", MessageAnswer::Yes);
    New([&](QDialog* d) {
        Type(d, path);
        Click(d, "cmdButton_0");
        EXPECT_EQ(static_cast<frmSLFProperties*>(d)->CurrentDB(), nullptr);
    });
    ASSERT_NE(window->GetLeague(), nullptr);
    EXPECT_EQ(GridNames(), QStringList{""});
    EXPECT_EQ(CountRows(path, "Race"), 0);
    EXPECT_EQ(window->windowTitle(), "Scorewell - cup");
}

TEST_F(SLFPropertiesTest, AFileInUseByAnotherProgramIsLeftAlone) {
    const std::string path = MakeLeague("cup.slf", {{"Daytona", 200, 2.5f}});
    Database other = Database::Open(path);
    other.Execute("BEGIN IMMEDIATE");

    desktop.ExpectMessage("File Exists", MessageAnswer::Yes);
    desktop.ExpectMessage("Error");
    New([&](QDialog* d) {
        Type(d, path);
        Click(d, "cmdButton_0");
        EXPECT_TRUE(d->isVisible());
        Click(d, "cmdButton_1");
    });
    EXPECT_EQ(desktop.Messages().back().text,
              "Error creating new SLF file: Existing file is already open by another program!");
    EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::Exclamation);

    // With some other league open, the message names the file instead.
    Open(MakeLeague("other.slf"));
    desktop.ExpectMessage("File Exists", MessageAnswer::Yes);
    desktop.ExpectMessage("Error");
    New([&](QDialog* d) {
        Type(d, path);
        Click(d, "cmdButton_0");
        Click(d, "cmdButton_1");
    });
    EXPECT_EQ(desktop.Messages().back().text,
              QString::fromStdString("Error creating new SLF file: \"" + path +
                                     "\" is in use by another program."));
    other.Execute("ROLLBACK");
    other.Close();
    EXPECT_EQ(CountRows(path, "Race"), 1);
    EXPECT_TRUE(IsSameFile(window->GetLeague()->Path(), dir.File("other.slf")));
}

TEST_F(SLFPropertiesTest, ACreationErrorIsReportedAndTheDialogStaysOpen) {
    desktop.ExpectMessage("Error", MessageAnswer::OK, "Error creating new SLF file: ");
    New([&](QDialog* d) {
        Type(d, dir.File("no/such/folder/cup"));
        Click(d, "cmdButton_0");
        EXPECT_TRUE(d->isVisible());
        Click(d, "cmdButton_1");
    });
    EXPECT_TRUE(desktop.Messages().back().text.contains("does not exist"));
    EXPECT_EQ(window->GetLeague(), nullptr);
}

TEST_F(SLFPropertiesTest, TheProposedSimulationFollowsTheConfiguredFolders) {
    auto proposed = [&] {
        QString sim;
        New([&](QDialog* d) {
            sim = Child<QComboBox>(d, "cboTitle")->currentText();
            Click(d, "cmdButton_1");
        });
        return sim;
    };
    EXPECT_EQ(proposed(), "NASCAR Racing 3");
    window->GetProgram()->SetSimPath(2, " ");
    EXPECT_EQ(proposed(), "NASCAR Racing 3");
    window->GetProgram()->SetSimPath(2, "/games/nr4/");
    EXPECT_EQ(proposed(), "NASCAR Racing 4");
    window->GetProgram()->SetSimPath(2, "");
    window->GetProgram()->SetSimPath(0, "");
    EXPECT_EQ(proposed(), "NASCAR Legends");
}

TEST_F(SLFPropertiesTest, PropertiesChangeOnlyDroppedRacesAndTheLapMethod) {
    const std::string path = MakeLeague("cup.slf", {{"Daytona", 200, 2.5f}}, 2, 1);
    Open(path);
    desktop.OnModal("frmSLFProperties", [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Properties - cup");
        EXPECT_EQ(Child<QLineEdit>(d, "txtFileName")->text().toStdString(), path);
        EXPECT_FALSE(Child<QLineEdit>(d, "txtFileName")->isEnabled());
        EXPECT_FALSE(Child<QComboBox>(d, "cboTitle")->isEnabled());
        EXPECT_FALSE(Child<QComboBox>(d, "cboLeagueType")->isEnabled());
        EXPECT_TRUE(Child<QComboBox>(d, "cboDroppedRaces")->isEnabled());
        EXPECT_EQ(Child<QComboBox>(d, "cboTitle")->currentText(), "NASCAR Racing 2 / 1999");
        EXPECT_EQ(Child<QComboBox>(d, "cboLeagueType")->currentText(), "Off-line");
        auto* ok = Child<QPushButton>(d, "cmdButton_0");
        EXPECT_EQ(ok->text(), "OK");
        EXPECT_TRUE(ok->isDefault());
        EXPECT_TRUE(ok->isEnabled());
        Child<QComboBox>(d, "cboDroppedRaces")->setCurrentIndex(3);
        QTest::mouseClick(Child<QRadioButton>(d, "optLapMethod_1"), Qt::LeftButton, Qt::NoModifier,
                          QPoint(6, 8));
        Click(d, "cmdButton_1");
    });
    Menu("mnuFile_8")->trigger();
    EXPECT_EQ(window->GetLeague()->Settings().droppedRaces, 0);
    EXPECT_EQ(LeagueSetting(path, 6), "0");

    desktop.OnModal("frmSLFProperties", [&](QDialog* d) {
        Child<QComboBox>(d, "cboDroppedRaces")->setCurrentIndex(3);
        QTest::mouseClick(Child<QRadioButton>(d, "optLapMethod_1"), Qt::LeftButton, Qt::NoModifier,
                          QPoint(6, 8));
        Click(d, "cmdButton_0");
    });
    Menu("mnuFile_8")->trigger();
    EXPECT_EQ(window->GetLeague()->Settings().droppedRaces, 3);
    EXPECT_EQ(window->GetLeague()->Settings().lapReportingMethod, 1);
    EXPECT_EQ(LeagueSetting(path, 6), "3");
    EXPECT_EQ(LeagueSetting(path, 17), "1");
    EXPECT_EQ(LeagueSetting(path, 5), "2");

    // The dialog shows the stored values next time; the close box keeps the edits.
    desktop.OnModal("frmSLFProperties", [&](QDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "cboDroppedRaces")->currentIndex(), 3);
        EXPECT_TRUE(Child<QRadioButton>(d, "optLapMethod_1")->isChecked());
        Child<QComboBox>(d, "cboDroppedRaces")->setCurrentIndex(10);
        d->close();
    });
    Menu("mnuFile_8")->trigger();
    EXPECT_EQ(LeagueSetting(path, 6), "10");
}

} // namespace
} // namespace scorewell::gui::test
