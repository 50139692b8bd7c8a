#include <QComboBox>
#include <QTest>

#include <filesystem>

#include "GuiTest.h"
#include "data/League.h"
#include "data/Settings.h"
#include "html/ExportDialog.h"
#include "html/PageExport.h"
#include "html/SeasonPublish.h"

namespace scorewell::gui::test {
namespace {

namespace fs = std::filesystem;

class SeasonPublishTest : public GuiTest {
protected:
    void SetUp() override {
        StartOnDemoLeague();
        SetLeagueCommand(LeagueCommand::PublishSeason, PublishSeasonSite);
        SetLeagueCommand(LeagueCommand::RaceHTML, ExportRaceResults);
    }
};

TEST_F(SeasonPublishTest, PublishSeasonWritesTheSiteAndOpensItsIndex) {
    const std::string site = dir.File("site");
    EXPECT_TRUE(Menu("mnuFile_9")->isEnabled());
    EXPECT_EQ(Menu("mnuFile_9")->text(), "Publish &Season...");
    // A folder not chosen publishes nothing.
    desktop.ExpectFolder("");
    Menu("mnuFile_9")->trigger();
    EXPECT_FALSE(fs::exists(site));

    desktop.ExpectFolder(Q(site));
    desktop.ExpectShellOpen(true);
    Menu("mnuFile_9")->trigger();
    EXPECT_EQ(desktop.OpenedDocuments().value(0), Q(site + "/index.htm"));
    EXPECT_TRUE(fs::exists(site + "/race-3-cedar-valley-250.htm"));

    // A folder that cannot be made is told, and nothing is opened.
    scorewell::test::WriteFileBytes(dir.File("plain"), "x");
    desktop.ExpectFolder(Q(dir.File("plain")));
    desktop.ExpectMessage("Error", MessageAnswer::OK, "The season could not be published.");
    Menu("mnuFile_9")->trigger();
    EXPECT_EQ(desktop.OpenedDocuments().size(), 1);
}

TEST_F(SeasonPublishTest, TheModernStyleChosenInTheExportDialogIsKept) {
    const QString page = Q(dir.File("race.htm"));
    auto exportRace = [&](bool chooseModern) {
        SelectRows(1, 1);
        desktop.OnModal<ExportDialog>([&](ExportDialog* d) {
            QComboBox* look = Child<QComboBox>(d, "cboPageStyle");
            EXPECT_EQ(look->currentText(), chooseModern ? "Classic" : "Modern");
            if (chooseModern) {
                look->setCurrentIndex(1);
            }
            desktop.ExpectSaveDialog(page);
            if (!chooseModern) {
                desktop.ExpectMessage("File Exists", MessageAnswer::Yes);
            }
            ClickButton(d, 0);
        });
        QTest::mouseClick(Button(4), Qt::LeftButton);
    };
    exportRace(true);
    EXPECT_EQ(ReadSetting(window->GetLeague()->Db(), 400), "1");
    const std::string written = scorewell::test::ReadFileBytes(S(page));
    EXPECT_EQ(written.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(written.find("<h2>Millbrook 500</h2>"), std::string::npos);
    exportRace(false);
}

} // namespace
} // namespace scorewell::gui::test
