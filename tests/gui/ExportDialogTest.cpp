#include <QTabWidget>

#include <filesystem>

#include "GuiHarness.h"
#include "html/ExportDialog.h"
#include "html/PageExport.h"
#include "html/SeasonPublish.h"
#include "support/Golden.h"

namespace scorewell::gui::test {
namespace {

class ExportDialogTest : public GuiTest {
protected:
    std::string preview = programFolder + "/Preview.htm";

    void SetUp() override {
        GuiTest::SetUp();
        OpenDemoLeague();
    }
    // Every setting of the league, as stored.
    std::string Stored() {
        return Sql("SELECT group_concat(SettingsID || '=' || SettingValue, char(10)) || char(10) "
                   "FROM Settings");
    }
    // Race > HTML on a race of the grid, with a handler for the export dialog.
    void ExportRace(int row, std::function<void(ExportDialog*)> handler) {
        SelectRows(row, row);
        desktop.OnModal<ExportDialog>(std::move(handler));
        QTest::mouseClick(Button(4), Qt::LeftButton);
    }
    static QLabel* Swatch(QDialog* d, int i) {
        return Child<QLabel>(d, QString("lblColor_%1").arg(i));
    }
    static QLineEdit* Layout(QDialog* d, int i) { return Line(d, QString("txtLayout_%1").arg(i)); }
    static QCheckBox* TableColors(QDialog* d, int i) {
        return Child<QCheckBox>(d, QString("chkRowColors_%1").arg(i));
    }
    static void ShowTab(QDialog* d, int tab) {
        Child<QTabWidget>(d, "tabExport")->setCurrentIndex(tab);
    }
};

TEST_F(ExportDialogTest, FirstUseShowsTheDefaultStyleAndCancelKeepsEverySetting) {
    WriteSetting(Db(), 15, "arial");
    const auto before = Stored();
    ExportRace(1, [&](ExportDialog* d) {
        // The race's name and length; the font is looked up with its letter case, and the
        // default one takes its place; the table colours are off.
        ExpectLooks(d, "export-dialog");

        // The table colours follow their boxes; clearing the row colours clears the
        // alternate ones.
        ShowTab(d, 1);
        Tick(TableColors(d, 1));
        EXPECT_EQ(Enabled(d, {"lblColor_10", "chkRowColors_2"}), "11");
        Tick(TableColors(d, 2));
        EXPECT_EQ(Enabled(d, {"lblColor_13"}), "1");
        Tick(TableColors(d, 1));
        EXPECT_FALSE(TableColors(d, 2)->isChecked());
        EXPECT_EQ(Enabled(d, {"chkRowColors_2", "lblColor_13"}), "00");

        // Layout boxes take digits only and keep to 0..100 when left.
        Layout(d, 0)->setFocus();
        QTest::keyClicks(Layout(d, 0), "1x50");
        EXPECT_EQ(Layout(d, 0)->text(), "1150");
        Layout(d, 1)->setFocus();
        EXPECT_EQ(Layout(d, 0)->text(), "100");
        Layout(d, 1)->clear();
        Layout(d, 2)->setFocus();
        EXPECT_EQ(Layout(d, 1)->text(), "0");

        // A swatch switched off asks for no colour; one switched on does, and Cancel forgets it.
        QTest::mouseClick(Swatch(d, 10), Qt::LeftButton);
        desktop.ExpectColor(0x00FF0000);
        QTest::mouseClick(Swatch(d, 5), Qt::LeftButton);
        d->reject();
        EXPECT_TRUE(d->Cancelled());
    });
    EXPECT_EQ(Stored(), before);
}

TEST_F(ExportDialogTest, PreviewShowsTheControlsAndExportSavesThemForTheRacePage) {
    const QString page = Q(dir.File("Race Result.htm"));
    ExportRace(2, [&](ExportDialog* d) {
        // The selected race's name and length are shown (golden export-dialog) and saved.
        Line(d, "txtHeading")->setText("Millbrook League");
        ShowTab(d, 1);
        Tick(TableColors(d, 1));
        desktop.ExpectColor(0x00FF0000);
        QTest::mouseClick(Swatch(d, 10), Qt::LeftButton);
        desktop.ExpectColor(0x000000FF);
        QTest::mouseClick(Swatch(d, 11), Qt::LeftButton);
        Layout(d, 2)->setText("4");
        ShowTab(d, 2);
        Tick(Child<QCheckBox>(d, "chkBGImage"));
        desktop.ExpectOpenFile("/pics/flag.gif");
        Click(d, "cmdBGImage");
        Child<QComboBox>(d, "cboFontList")->setCurrentText("Verdana");
        Child<QComboBox>(d, "cboFontSize")->setCurrentIndex(2);

        // The preview shows the controls as they stand and saves nothing.
        desktop.ExpectShellOpen(true);
        Click(d, "cmdPreview");
        EXPECT_EQ(desktop.OpenedDocuments().value(0), Q(preview));
        const std::string shown = scorewell::test::ReadFileBytes(preview);
        EXPECT_NE(shown.find("<TITLE>Millbrook League</TITLE>"), std::string::npos);
        EXPECT_NE(shown.find("<FONT FACE=\"Verdana\" SIZE=\"2\">"), std::string::npos);
        EXPECT_EQ(ReadSetting(Db(), 2), "XYZ Racing League");
        desktop.ExpectShellOpen(false);
        desktop.ExpectMessage("Error", MessageAnswer::OK, "Error viewing preview...");
        Click(d, "cmdPreview");

        // The Modern style is kept with the rest. Typed without extension: the filter's ".htm"
        // is added.
        Child<QComboBox>(d, "cboPageStyle")->setCurrentIndex(1);
        desktop.ExpectSaveDialog(Q(dir.File("Race Result")));
        ClickButton(d, 0);
        EXPECT_FALSE(d->Cancelled());
    });
    EXPECT_EQ(desktop.FileRequests().back().fileName, "Race Result.htm");
    // Every setting of the league as stored: the heading, report name and caption typed, the
    // font, the background image, the table colours chosen, the layout and the style. (That
    // they go into the store as they are PageSettingsTest.TheExportDialogSavesEverySetting...
    // checks.)
    scorewell::test::ExpectGolden("gui/export-dialog-saved.txt", Stored());
    // Written in the chosen style, which the next opening shows.
    EXPECT_NE(scorewell::test::ReadFileBytes(S(page)).find("<h2>Cedar Valley 250</h2>"),
              std::string::npos);
    ExportRace(2, [&](ExportDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "cboPageStyle")->currentText(), "Modern");
        d->reject();
    });
}

TEST_F(ExportDialogTest, PublishSeasonWritesTheSiteAndOpensItsIndex) {
    const std::string site = dir.File("site");
    // A folder not chosen publishes nothing.
    desktop.ExpectFolder("");
    Menu("mnuFile_9")->trigger();
    EXPECT_FALSE(std::filesystem::exists(site));

    desktop.ExpectFolder(Q(site));
    desktop.ExpectShellOpen(true);
    Menu("mnuFile_9")->trigger();
    EXPECT_EQ(desktop.OpenedDocuments().value(0), Q(site + "/index.htm"));
    EXPECT_TRUE(std::filesystem::exists(site + "/race-3-cedar-valley-250.htm"));

    // A folder that cannot be made is told, and nothing is opened.
    scorewell::test::WriteFileBytes(dir.File("plain"), "x");
    desktop.ExpectFolder(Q(dir.File("plain")));
    desktop.ExpectMessage("Error", MessageAnswer::OK, "The season could not be published.");
    Menu("mnuFile_9")->trigger();
    EXPECT_EQ(desktop.OpenedDocuments().size(), 1);
}

} // namespace
} // namespace scorewell::gui::test
