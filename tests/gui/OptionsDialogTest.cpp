#include <QTabWidget>

#include "GuiHarness.h"
#include "app/OptionsDialog.h"
#include "data/Program.h"

namespace scorewell::gui::test {
namespace {

// File > Options is mnuFile_10.

class OptionsDialogTest : public GuiTest {
protected:
    // The folder PrepareProgram sets.
    std::string nr3 = dir.File("nr3") + "/";

    static QLineEdit* Folder(QDialog* d, int i) { return Line(d, QString("txtN3Path_%1").arg(i)); }
    void ExpectStored(const std::vector<std::pair<int, std::string>>& settings) {
        for (const auto& [id, value] : settings) {
            EXPECT_EQ(ReadProgramSetting(id), value) << id;
        }
    }
};

TEST_F(OptionsDialogTest, TheDialogShowsTheSettingsAndStoresThemAsMapped) {
    WriteProgramSetting(101, "/pics/old.gif");
    Modal<OptionsDialog>("mnuFile_10", [&](OptionsDialog* d) {
        // The NASCAR Racing 3 folder (its temporary path made "nr3"), the image greyed.
        EXPECT_EQ(Folder(d, 0)->text().toStdString(), nr3);
        Folder(d, 0)->setText("nr3");
        ExpectLooks(d, "options-dialog");
        Folder(d, 0)->setText(Q(nr3));

        Child<QTabWidget>(d, "ts")->setCurrentIndex(1);
        Tick(Child<QCheckBox>(d, "chkBGImage"));
        EXPECT_EQ(Enabled(d, {"txtBGImage", "cmdBGImage"}), "11");

        // A blank answer of the file dialog keeps the image chosen before.
        desktop.ExpectOpenFile("/pics/flag.jpg");
        Click(d, "cmdBGImage");
        desktop.ExpectOpenFile("   ");
        Click(d, "cmdBGImage");
        // The swatch takes the chosen colour; cancelling leaves it as it was.
        desktop.ExpectColor(0x00FFFFFF);
        QTest::mouseClick(Child<QLabel>(d, "lblColor_1"), Qt::LeftButton);
        desktop.ExpectColor(std::nullopt);
        QTest::mouseClick(Child<QLabel>(d, "lblColor_2"), Qt::LeftButton);
        Tick(Child<QCheckBox>(d, "chkLastFileFlag"));
        // The close box stores everything, the folders unchecked.
        Folder(d, 0)->setText("/not/checked/");
        d->close();
        EXPECT_FALSE(d->Cancelled());
    });
    EXPECT_EQ(desktop.ColorStarts(), (std::vector<std::int32_t>{0, 0x00FF0000}));
    // In their stored form (which ProgramOptionsTest checks).
    ExpectStored({{100, "True"},
                  {101, "/pics/flag.jpg"},
                  {102, "&H00FFFFFF"},
                  {103, "&H00FFFFFF"},
                  {104, "&H00FF0000"},
                  {11, "True"},
                  {0, "/not/checked/"}});
    EXPECT_EQ(window->GetProgram()->SimPath()[0], "/not/checked/");
}

TEST_F(OptionsDialogTest, FoldersGetTheirSeparatorAndAreCheckedForTheSimulation) {
    const std::string legends = SimulationFolder("legends", "nascar legends.EXE");
    std::string typed = legends;
    typed.pop_back();
    Modal<OptionsDialog>("mnuFile_10", [&](OptionsDialog* d) {
        // The folder picker's answer and a typed folder both end with a separator.
        desktop.ExpectFolder(Q(typed));
        Click(d, "cmdBrowse_1");
        EXPECT_EQ(Folder(d, 1)->text().toStdString(), legends);
        Folder(d, 1)->clear();
        Folder(d, 1)->setFocus();
        QTest::keyClicks(Folder(d, 1), Q(typed));
        Folder(d, 2)->setFocus();
        EXPECT_EQ(Folder(d, 1)->text().toStdString(), legends);
        // OK stores the rest as the close box does.
        Tick(Child<QCheckBox>(d, "chkLastFileFlag"));
        Click(d, "OKButton");
    });
    ExpectStored({{1, legends}, {11, "True"}});
    EXPECT_EQ(window->GetProgram()->SimPath()[1], legends);
}

TEST_F(OptionsDialogTest, InvalidFoldersKeepTheDialogOpenWithTheLastMessageAndCancelStoresNothing) {
    // Which folder is valid ProgramOptionsTest.AFolderCountsOnlyWithItsOwnSimulations... checks.
    const std::string bad = dir.File("empty") + "/";
    Modal<OptionsDialog>("mnuFile_10", [&](OptionsDialog* d) {
        // Of two bad folders, one message: the last one's.
        Folder(d, 1)->setText(Q(bad));
        Folder(d, 2)->setText(Q(bad));
        Child<QCheckBox>(d, "chkLastFileFlag")->setChecked(true);
        desktop.ExpectColor(0x00123456);
        QTest::mouseClick(Child<QLabel>(d, "lblColor_0"), Qt::LeftButton);
        desktop.ExpectMessage(
            "Invalid Path", MessageAnswer::OK,
            Q("\"" + bad + "\" does not seem to refer to a valid NASCAR Racing 4 path."));
        Click(d, "OKButton");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::Exclamation);
        Click(d, "CancelButton");
        EXPECT_TRUE(d->Cancelled());
    });
    ExpectStored({{12, ""}, {11, "False"}, {102, "&H00FFFFFF"}});
}

} // namespace
} // namespace scorewell::gui::test
