#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "GuiTest.h"
#include "app/frmOptions.h"
#include "data/Program.h"

namespace scorewell::gui::test {
namespace {

class OptionsTest : public GuiTest {
protected:
    std::string nr3;

    void SetUp() override {
        PrepareProgram();
        nr3 = SimulationFolder("nr3", "NASCAR Racing 3.exe");
        ASSERT_TRUE(Start());
    }

    // File > Options with a handler that fills in the dialog.
    void Options(std::function<void(frmOptions*)> handler) {
        desktop.OnModal("frmOptions",
                        [handler](QDialog* d) { handler(static_cast<frmOptions*>(d)); });
        Menu("mnuFile_10")->trigger();
    }
    static QLineEdit* Folder(QDialog* d, int i) {
        return Child<QLineEdit>(d, QString("txtN3Path_%1").arg(i));
    }
    static void Click(QDialog* d, const char* button) {
        QTest::mouseClick(Child<QPushButton>(d, button), Qt::LeftButton);
    }
    // Clicks the box itself: the middle of a wide check box may lie beyond its caption.
    static void Tick(QDialog* d, const char* box) {
        auto* check = Child<QCheckBox>(d, box);
        QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, QPoint(6, check->height() / 2));
    }
};

TEST_F(OptionsTest, TheDialogShowsTheSettingsAndStoresThemAsMapped) {
    WriteProgramSetting(101, "/pics/old.gif");
    Options([&](frmOptions* d) {
        EXPECT_EQ(d->windowTitle(), "Options");
        auto* tabs = Child<QTabWidget>(d, "ts");
        EXPECT_EQ(tabs->tabText(0), "Paths");
        EXPECT_EQ(tabs->tabText(1), "HTML");
        EXPECT_TRUE(Child<QFrame>(d, "fraOptions_0")->isVisible());
        EXPECT_FALSE(Child<QFrame>(d, "fraOptions_1")->isVisible());
        EXPECT_EQ(Folder(d, 0)->text().toStdString(), nr3);
        EXPECT_EQ(Child<QLabel>(d, "lblN3Path_1")->text(), "Path to NASCAR &Legends Program File:");
        EXPECT_FALSE(Child<QCheckBox>(d, "chkLastFileFlag")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(d, "chkBGImage")->isChecked());
        EXPECT_FALSE(Child<QLineEdit>(d, "txtBGImage")->isEnabled());
        EXPECT_EQ(Child<QLineEdit>(d, "txtBGImage")->text(), "/pics/old.gif");
        EXPECT_EQ(Child<QLabel>(d, "lblColor_3")->toolTip(), "Color of visited hyperlinks");
        EXPECT_EQ(Child<QLabel>(d, "Label2_4")->text(), "ActiveHyperlink:");

        tabs->setCurrentIndex(1);
        EXPECT_TRUE(Child<QFrame>(d, "fraOptions_1")->isVisible());
        EXPECT_FALSE(Child<QFrame>(d, "fraOptions_0")->isVisible());
        Tick(d, "chkBGImage");
        EXPECT_TRUE(Child<QLineEdit>(d, "txtBGImage")->isEnabled());
        EXPECT_TRUE(Child<QPushButton>(d, "cmdBGImage")->isEnabled());

        desktop.ExpectOpenFile("/pics/flag.jpg");
        Click(d, "cmdBGImage");
        desktop.ExpectOpenFile("   ");
        Click(d, "cmdBGImage");
        // The swatch takes the chosen colour; cancelling leaves it as it was.
        desktop.ExpectColor(0x00FFFFFF);
        QTest::mouseClick(Child<QLabel>(d, "lblColor_1"), Qt::LeftButton);
        desktop.ExpectColor(std::nullopt);
        QTest::mouseClick(Child<QLabel>(d, "lblColor_2"), Qt::LeftButton);
        Tick(d, "chkLastFileFlag");
        Click(d, "OKButton");
    });
    ASSERT_EQ(desktop.FileRequests().size(), 2u);
    const FileDialogRequest& image = desktop.FileRequests().back();
    EXPECT_EQ(image.title, "Select Background Image");
    EXPECT_EQ(image.filterIndex, 1);
    EXPECT_TRUE(image.filter.startsWith("All Files (*.*)|*.*|GIF and JPEG (*.gif, *.jpg)|"));
    EXPECT_EQ(desktop.ColorStarts(), (std::vector<std::int32_t>{0, 0x00FF0000}));

    EXPECT_EQ(ReadProgramSetting(100), "True");
    EXPECT_EQ(ReadProgramSetting(101), "/pics/flag.jpg");
    EXPECT_EQ(ReadProgramSetting(102), "&H00FFFFFF");
    EXPECT_EQ(ReadProgramSetting(103), "&H00FFFFFF");
    EXPECT_EQ(ReadProgramSetting(104), "&H00FF0000");
    EXPECT_EQ(ReadProgramSetting(11), "True");
    EXPECT_EQ(ReadProgramSetting(0), nr3);
}

TEST_F(OptionsTest, FoldersGetTheirSeparatorAndAreCheckedForTheSimulation) {
    const std::string legends = SimulationFolder("legends", "nascar legends.EXE");
    std::string typed = legends;
    typed.pop_back();
    Options([&](frmOptions* d) {
        // The folder picker's answer and a typed folder both end with a separator.
        desktop.ExpectFolder(QString::fromStdString(typed));
        Click(d, "cmdBrowse_1");
        EXPECT_EQ(Folder(d, 1)->text().toStdString(), legends);
        Folder(d, 1)->clear();
        Folder(d, 1)->setFocus();
        QTest::keyClicks(Folder(d, 1), QString::fromStdString(typed));
        Folder(d, 2)->setFocus();
        EXPECT_EQ(Folder(d, 1)->text().toStdString(), legends);
        Click(d, "OKButton");
    });
    EXPECT_EQ(desktop.FolderPrompts().value(0), "Locate the program folder for NASCAR Legends...");
    EXPECT_EQ(ReadProgramSetting(1), legends);
    EXPECT_EQ(window->GetProgram()->SimPath()[1], legends);
}

TEST_F(OptionsTest, InvalidFoldersKeepTheDialogOpenWithTheLastMessage) {
    const std::string bad = dir.File("empty") + "/";
    Options([&](frmOptions* d) {
        Folder(d, 0)->setText(QString::fromStdString(bad));
        Folder(d, 1)->setText(QString::fromStdString(bad));
        desktop.ExpectMessage("Invalid Path");
        Click(d, "OKButton");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(desktop.Messages().back().text,
                  QString::fromStdString("\"" + bad +
                                         "\" does not seem to refer to a valid NASCAR Racing 3 "
                                         "path."));
        EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::Exclamation);

        Folder(d, 0)->setText(QString::fromStdString(nr3));
        Folder(d, 1)->clear();
        Folder(d, 2)->setText(QString::fromStdString(bad));
        desktop.ExpectMessage("Invalid Path", MessageAnswer::OK,
                              "does not seem to refer to a valid NASCAR Racing 4 path.");
        Click(d, "OKButton");
        EXPECT_TRUE(d->isVisible());
        Click(d, "CancelButton");
    });
    EXPECT_EQ(ReadProgramSetting(0), nr3);
    EXPECT_EQ(ReadProgramSetting(12), "");
}

TEST_F(OptionsTest, CancelStoresNothingAndTheCloseBoxStoresEverything) {
    const std::string nr4 = SimulationFolder("nr4", "NASCAR Racing 4.exe");
    auto edit = [&](frmOptions* d) {
        Folder(d, 2)->setText(QString::fromStdString(nr4));
        Child<QCheckBox>(d, "chkLastFileFlag")->setChecked(true);
        desktop.ExpectColor(0x00123456);
        QTest::mouseClick(Child<QLabel>(d, "lblColor_0"), Qt::LeftButton);
    };
    Options([&](frmOptions* d) {
        edit(d);
        Click(d, "CancelButton");
        EXPECT_TRUE(d->Cancelled());
    });
    EXPECT_EQ(ReadProgramSetting(12), "");
    EXPECT_EQ(ReadProgramSetting(11), "False");
    EXPECT_EQ(ReadProgramSetting(102), "&H00FFFFFF");
    EXPECT_EQ(window->GetProgram()->SimPath()[2], "");

    Options([&](frmOptions* d) {
        edit(d);
        // The close box takes the folders unchecked.
        Folder(d, 0)->setText("/not/checked/");
        d->close();
        EXPECT_FALSE(d->Cancelled());
    });
    EXPECT_EQ(ReadProgramSetting(0), "/not/checked/");
    EXPECT_EQ(ReadProgramSetting(12), nr4);
    EXPECT_EQ(ReadProgramSetting(11), "True");
    EXPECT_EQ(ReadProgramSetting(102), "&H00123456");
    EXPECT_EQ(window->GetProgram()->SimPath()[2], nr4);
}

} // namespace
} // namespace scorewell::gui::test
