#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "GuiTest.h"
#include "data/League.h"
#include "data/Settings.h"
#include "html/PageExport.h"
#include "html/frmExport.h"

namespace scorewell::gui::test {
namespace {

class ExportTest : public GuiTest {
protected:
    std::string preview = programFolder + "/Preview.htm";

    void SetUp() override {
        StartOnDemoLeague();
        SetLeagueCommand(LeagueCommand::RaceHTML, ExportRaceResults);
    }
    Database& LeagueDb() { return window->GetLeague()->Db(); }
    // Every setting of the league, as stored.
    std::string Stored() {
        return LeagueDb()
            .Scalar("SELECT group_concat(SettingsID || '=' || SettingValue, '|') FROM Settings")
            .AsText();
    }
    // Race > HTML on a race of the grid, with a handler for the export dialog.
    void ExportRace(int row, std::function<void(frmExport*)> handler) {
        SelectRows(row, row);
        desktop.OnModal("frmExport",
                        [handler](QDialog* d) { handler(static_cast<frmExport*>(d)); });
        QTest::mouseClick(Button(4), Qt::LeftButton);
    }
    static QLabel* Swatch(QDialog* d, int i) {
        return Child<QLabel>(d, QString("lblColor_%1").arg(i));
    }
};

TEST_F(ExportTest, FirstUseShowsTheDesignedStyleAndCancelKeepsEverySetting) {
    WriteSetting(LeagueDb(), 15, "arial");
    const auto before = Stored();
    ExportRace(1, [&](frmExport* d) {
        EXPECT_EQ(d->txtHeading->text(), "XYZ Racing League");
        EXPECT_EQ(d->txtRepName->text(), "Millbrook 500");
        EXPECT_EQ(d->txtCaption->text(), "2.5 miles - 200 laps");
        // The font is looked up with its letter case; the designed one takes its place.
        EXPECT_EQ(d->cboFontList->currentText(), "Times New Roman");
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(d->txtLayout[i]->text(), QString::number(designed::kLayout[i]));
        }
        EXPECT_EQ(Swatch(d, 11)->palette().color(QPalette::Active, QPalette::Window),
                  ToQColor(designed::kSwatchColors[11]));
        for (int i = 0; i < 5; ++i) {
            EXPECT_FALSE(d->chkRowColors[i]->isChecked());
            EXPECT_FALSE(Swatch(d, 2 * i + 8)->isEnabled());
            EXPECT_FALSE(d->lblRowColors[2 * i]->isEnabled());
        }
        EXPECT_FALSE(d->chkRowColors[2]->isEnabled());
        EXPECT_FALSE(d->txtBGImage->isEnabled());

        // The table colours follow their boxes; clearing the row colours clears the
        // alternate ones.
        d->tabExport->setCurrentIndex(1);
        Tick(d->chkRowColors[1]);
        EXPECT_TRUE(Swatch(d, 10)->isEnabled());
        EXPECT_TRUE(d->chkRowColors[2]->isEnabled());
        Tick(d->chkRowColors[2]);
        EXPECT_TRUE(Swatch(d, 13)->isEnabled());
        Tick(d->chkRowColors[1]);
        EXPECT_FALSE(d->chkRowColors[2]->isChecked());
        EXPECT_FALSE(d->chkRowColors[2]->isEnabled());
        EXPECT_FALSE(Swatch(d, 13)->isEnabled());

        // Layout boxes take digits only and keep to 0..100 when left.
        d->txtLayout[0]->setFocus();
        QTest::keyClicks(d->txtLayout[0], "1x50");
        EXPECT_EQ(d->txtLayout[0]->text(), "1150");
        d->txtLayout[1]->setFocus();
        EXPECT_EQ(d->txtLayout[0]->text(), "100");
        d->txtLayout[1]->clear();
        d->txtLayout[2]->setFocus();
        EXPECT_EQ(d->txtLayout[1]->text(), "0");

        desktop.ExpectColor(0x00FF0000);
        QTest::mouseClick(Swatch(d, 10), Qt::LeftButton);
        d->reject();
        EXPECT_TRUE(d->Cancelled());
    });
    EXPECT_EQ(Stored(), before);
}

TEST_F(ExportTest, PreviewShowsTheControlsAndExportSavesThemForTheRacePage) {
    const QString page = Q(dir.File("Race Result.htm"));
    ExportRace(2, [&](frmExport* d) {
        EXPECT_EQ(d->txtRepName->text(), "Cedar Valley 250");
        EXPECT_EQ(d->txtCaption->text(), "0.625 miles - 400 laps");
        d->txtHeading->setText("Millbrook League");
        d->tabExport->setCurrentIndex(1);
        Tick(d->chkRowColors[1]);
        desktop.ExpectColor(0x00FF0000);
        QTest::mouseClick(Swatch(d, 10), Qt::LeftButton);
        desktop.ExpectColor(0x000000FF);
        QTest::mouseClick(Swatch(d, 11), Qt::LeftButton);
        d->txtLayout[2]->setText("4");
        d->tabExport->setCurrentIndex(2);
        Tick(d->chkBGImage);
        desktop.ExpectOpenFile("/pics/flag.gif");
        QTest::mouseClick(d->cmdBGImage, Qt::LeftButton);
        d->cboFontList->setCurrentText("Verdana");
        d->cboFontSize->setCurrentIndex(2);

        // The preview shows the controls as they stand and saves nothing.
        desktop.ExpectShellOpen(true);
        QTest::mouseClick(d->cmdPreview, Qt::LeftButton);
        EXPECT_EQ(desktop.OpenedDocuments().value(0), Q(preview));
        const std::string shown = scorewell::test::ReadFileBytes(preview);
        EXPECT_NE(shown.find("<TITLE>Millbrook League</TITLE>"), std::string::npos);
        EXPECT_NE(shown.find("<FONT FACE=\"Verdana\" SIZE=\"2\">"), std::string::npos);
        EXPECT_EQ(ReadSetting(LeagueDb(), 2), "XYZ Racing League");
        desktop.ExpectShellOpen(false);
        desktop.ExpectMessage("Error", MessageAnswer::OK, "Error viewing preview...");
        QTest::mouseClick(d->cmdPreview, Qt::LeftButton);

        desktop.ExpectSaveDialog(page);
        QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
        EXPECT_FALSE(d->Cancelled());
    });
    EXPECT_EQ(desktop.FileRequests().back().fileName, "Race Result.htm");
    for (auto [id, value] : {std::pair{2, "Millbrook League"},
                             {3, "Cedar Valley 250"},
                             {4, "0.625 miles - 400 laps"},
                             {15, "Verdana"},
                             {16, "2"},
                             {100, "True"},
                             {101, "/pics/flag.gif"},
                             {112, "&H00FF0000"},
                             {113, "&H000000FF"},
                             {119, "&H00808080"},
                             {200, "0"},
                             {201, "1"},
                             {302, "4"}}) {
        EXPECT_EQ(ReadSetting(LeagueDb(), id), value) << id;
    }
    const std::string written = scorewell::test::ReadFileBytes(page.toStdString());
    EXPECT_NE(written.find("<BODY BACKGROUND=\"/pics/flag.gif\""), std::string::npos);
    EXPECT_NE(written.find("<TABLE BORDER=1 CELLPADDING=3 CELLSPACING=4><TR>"), std::string::npos);
    EXPECT_NE(written.find("<TR><TH ALIGN=\"CENTER\" BGCOLOR=\"#FF0000\"><FONT "
                           "COLOR=\"#0000FF\" SIZE=\"2\">1</FONT></TH>"),
              std::string::npos);
}

} // namespace
} // namespace scorewell::gui::test
