#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "GuiTest.h"
#include "app/LeagueCommands.h"
#include "common/Controls.h"
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
        PrepareProgram();
        const std::string demo = MakeDemoLeague("demo.slf", 3);
        ASSERT_TRUE(Start());
        SetLeagueCommand(LeagueCommand::RaceHTML, ExportRaceResults);
        Open(demo);
    }
    void TearDown() override {
        SetLeagueCommand(LeagueCommand::RaceHTML, nullptr);
        GuiTest::TearDown();
    }
    Database& LeagueDb() { return window->GetLeague()->Db(); }
    // The settings the dialog keeps, as stored.
    std::vector<std::string> Stored() {
        std::vector<std::string> values;
        for (int id : {2, 3, 4, 15, 16, 100, 101}) {
            values.push_back(ReadSetting(LeagueDb(), id));
        }
        for (int base : {102, 200, 300}) {
            for (int i = 0; i < (base == 102 ? 18 : 5); ++i) {
                values.push_back(ReadSetting(LeagueDb(), base + i));
            }
        }
        return values;
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
    static QColor Shown(QLabel* swatch) {
        return swatch->palette().color(QPalette::Active, QPalette::Window);
    }
    static void Tick(QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
    }
};

TEST_F(ExportTest, FirstUseShowsTheDesignedStyleAndCancelKeepsEverySetting) {
    WriteSetting(LeagueDb(), 15, "arial");
    const auto before = Stored();
    ExportRace(1, [&](frmExport* d) {
        EXPECT_EQ(d->windowTitle(), "Export Race Results to HTML");
        auto* tabs = d->tabExport;
        EXPECT_TRUE(d->fraTab[0]->isVisible());
        EXPECT_FALSE(d->fraTab[1]->isVisible());
        EXPECT_EQ(d->txtHeading->text(), "XYZ Racing League");
        EXPECT_EQ(d->txtRepName->text(), "Millbrook 500");
        EXPECT_EQ(d->txtCaption->text(), "2.5 miles - 200 laps");
        // The font is looked up with its letter case; the designed one takes its place.
        EXPECT_EQ(d->cboFontList->currentText(), "Times New Roman");
        EXPECT_EQ(d->cboFontSize->currentText(), "Normal");
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(d->txtLayout[i]->text(), QString::number(designed::kLayout[i]));
        }
        EXPECT_EQ(Shown(Swatch(d, 11)), ToQColor(designed::kSwatchColors[11]));
        EXPECT_EQ(Shown(Swatch(d, 0)), QColor(Qt::white));
        for (int i = 0; i < 5; ++i) {
            EXPECT_FALSE(d->chkRowColors[i]->isChecked());
            EXPECT_FALSE(Swatch(d, 2 * i + 8)->isEnabled());
            EXPECT_FALSE(d->lblRowColors[2 * i]->isEnabled());
        }
        EXPECT_FALSE(d->chkRowColors[2]->isEnabled());
        EXPECT_FALSE(d->txtBGImage->isEnabled());

        // The table colours follow their boxes; clearing the row colours clears the
        // alternate ones.
        tabs->setCurrentIndex(1);
        EXPECT_TRUE(d->fraTab[1]->isVisible());
        EXPECT_FALSE(d->fraTab[0]->isVisible());
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
    const QString page = QString::fromStdString(dir.File("Race Result.htm"));
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
        EXPECT_EQ(desktop.OpenedDocuments().value(0), QString::fromStdString(preview));
        const std::string shown = scorewell::test::ReadFileBytes(preview);
        EXPECT_NE(shown.find("<TITLE>Millbrook League</TITLE>"), std::string::npos);
        EXPECT_NE(shown.find("<p><font face=\"MS Sans Serif\" size=\"2\">Points and scoring"),
                  std::string::npos);
        EXPECT_NE(shown.find("<TD ALIGN=RIGHT><font size=\"2\">Race time</font></TD>"),
                  std::string::npos);
        EXPECT_EQ(ReadSetting(LeagueDb(), 2), "XYZ Racing League");
        desktop.ExpectShellOpen(false);
        desktop.ExpectMessage("Error", MessageAnswer::OK, "Error viewing preview...");
        QTest::mouseClick(d->cmdPreview, Qt::LeftButton);
        EXPECT_EQ(desktop.Messages().back().icon, MessageIcon::Exclamation);

        desktop.ExpectSaveDialog(page);
        QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
        EXPECT_FALSE(d->Cancelled());
    });
    EXPECT_EQ(desktop.FileRequests().back().fileName, "Race Result.htm");
    EXPECT_EQ(desktop.FileRequests().back().filter, "HTML File (*.htm)|*.htm");
    EXPECT_EQ(ReadSetting(LeagueDb(), 2), "Millbrook League");
    EXPECT_EQ(ReadSetting(LeagueDb(), 3), "Cedar Valley 250");
    EXPECT_EQ(ReadSetting(LeagueDb(), 4), "0.625 miles - 400 laps");
    EXPECT_EQ(ReadSetting(LeagueDb(), 15), "Verdana");
    EXPECT_EQ(ReadSetting(LeagueDb(), 16), "2");
    EXPECT_EQ(ReadSetting(LeagueDb(), 100), "True");
    EXPECT_EQ(ReadSetting(LeagueDb(), 101), "/pics/flag.gif");
    EXPECT_EQ(ReadSetting(LeagueDb(), 112), "&H00FF0000");
    EXPECT_EQ(ReadSetting(LeagueDb(), 113), "&H000000FF");
    EXPECT_EQ(ReadSetting(LeagueDb(), 119), "&H00808080");
    EXPECT_EQ(ReadSetting(LeagueDb(), 200), "0");
    EXPECT_EQ(ReadSetting(LeagueDb(), 201), "1");
    EXPECT_EQ(ReadSetting(LeagueDb(), 302), "4");

    const std::string written = scorewell::test::ReadFileBytes(page.toStdString());
    EXPECT_NE(written.find("<BODY BACKGROUND=\"/pics/flag.gif\""), std::string::npos);
    EXPECT_NE(written.find("<FONT FACE=\"Verdana\" SIZE=\"2\">"), std::string::npos);
    EXPECT_NE(written.find("<TABLE BORDER=1 CELLPADDING=3 CELLSPACING=4><TR>"), std::string::npos);
    EXPECT_NE(written.find("<TR><TH ALIGN=\"CENTER\" BGCOLOR=\"#FF0000\"><FONT "
                           "COLOR=\"#0000FF\" SIZE=\"2\">1</FONT></TH>"),
              std::string::npos);
    EXPECT_NE(written.find("<p>Points and scoring generated by"), std::string::npos);
}

} // namespace
} // namespace scorewell::gui::test
