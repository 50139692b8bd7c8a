#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

#include "GuiTest.h"
#include "data/League.h"
#include "data/LeagueFileActions.h"
#include "data/Program.h"
#include "editing/frmEditRace.h"
#include "html/frmExport.h"
#include "import/frmAddRaces.h"
#include "import/frmProgress.h"
#include "reports/frmStats.h"

namespace scorewell::gui::test {
namespace {

// Pictures of the windows for looking at them, written only when SCOREWELL_SCREENSHOTS names
// a folder: SCOREWELL_SCREENSHOTS=/tmp/shots build/tests/test_gui --gtest_filter='*Screenshots*'
class Screenshots : public GuiTest {
protected:
    // A menu of the menu bar as it drops down.
    void ShotMenu(const QString& menu, const QString& name) {
        auto* pad = Child<QMenu>(window.get(), "mnu" + menu + "Pad");
        pad->popup(window->mapToGlobal(QPoint(0, window->menuBar()->height())));
        QTest::qWait(50);
        Shot(pad, name);
        pad->hide();
    }
    // The modal window a menu item opens, worked by the handler and then cancelled.
    void ShotModal(const char* item, const QString& windowClass,
                   std::function<void(QDialog*)> handler) {
        desktop.OnModal(windowClass, [handler](QDialog* d) {
            handler(d);
            d->reject();
        });
        Menu(item)->trigger();
    }
};

TEST_F(Screenshots, OfEveryWindow) {
    SKIP_UNLESS_SCREENSHOTS();
    PrepareProgram();
    ASSERT_TRUE(Start());
    Shot(window.get(), "main-no-league");
    ShotMenu("File", "menu-file-no-league");

    Open(MakeLeague("Winston Cup 2002.slf", {{"Daytona 500", 200, 2.5f},
                                             {"Subway 400", 393, 1.017f},
                                             {"UAW-DaimlerChrysler 400", 267, 1.5f},
                                             {"Cracker Barrel 500", 325, 1.54f},
                                             {"Carolina Dodge Dealers 400", 293, 1.366f}}));
    SelectRows(1, 1);
    Shot(window.get(), "main-league");
    for (const QString menu : {"File", "Race", "Tools", "Help"}) {
        ShotMenu(menu, "menu-" + menu.toLower());
    }
    SelectRows(1, 3);
    Shot(window.get(), "main-three-selected");
    ShotModal("mnuFile_0", "frmSLFProperties", [&](QDialog* d) {
        QTest::keyClicks(Child<QLineEdit>(d, "txtFileName"), "Busch Series 2002");
        Shot(d, "new");
    });
    ShotModal("mnuFile_8", "frmSLFProperties", [&](QDialog* d) { Shot(d, "properties"); });
    ShotModal("mnuFile_10", "frmOptions", [&](QDialog* d) {
        Shot(d, "options-paths");
        Child<QTabWidget>(d, "ts")->setCurrentIndex(1);
        Shot(d, "options-html");
    });
    ShotModal("mnuHelp_1", "frmSplash", [&](QDialog* d) { Shot(d, "about"); });

    // The league's windows, on the first races of the demo season.
    SetLeagueCommand(LeagueCommand::Import, ShowAddRaces);
    SetLeagueCommand(LeagueCommand::Edit, ShowEditRace);
    SetLeagueCommand(LeagueCommand::Calculate, ShowStats);
    const std::string demo = std::string(SCOREWELL_SOURCE_DIR) + "/resources/demo/";
    const std::string exports = dir.File("nr3/exports/");
    std::filesystem::create_directories(exports);
    for (const char* name : {"01-harbor-point-400.stn", "02-millbrook-500.stn"}) {
        std::filesystem::copy_file(demo + name, exports + name);
    }
    Open(MakeDemoLeague("Busch Series 2002.slf", 3, 1));
    desktop.ExpectOpenFiles({Q(exports + "01-harbor-point-400.stn"),
                             Q(exports + "02-millbrook-500.stn"),
                             Q(std::string(SCOREWELL_FIXTURES_DIR) + "/stn/nr3-harbor-point.stn")});
    ShotModal("mnuRace_0", "frmAddRaces", [&](QDialog* d) {
        Shot(d, "import-empty");
        ClickButton(d, 0);
        Shot(d, "import-three");
    });
    SelectRows(0, 0);
    ShotModal("mnuRace_2", "frmEditRace", [&](QDialog* d) {
        Shot(d, "edit-league-race");
        desktop.OnModal("frmEditDriver2", [&](QDialog* r) {
            Shot(r, "edit-driver-online");
            desktop.OnModal("frmPickDriver", [&](QDialog* p) {
                Shot(p, "pick-driver");
                p->close();
            });
            Click(r, "cmdPickDriver");
            r->close();
        });
        ClickButton(d, 1);
    });
    ShotModal("mnuRace_4", "frmStats", [&](QDialog* stats) {
        auto* d = static_cast<frmStats*>(stats);
        d->resize(1000, 620);
        Shot(d, "stats-standings");
        d->cboStat->setCurrentIndex(d->cboStat->findText("Race Winners"));
        Shot(d, "stats-race-winners");
        d->cboStat->setCurrentIndex(0);
        desktop.OnModal("frmEditColumns", [&](QDialog* e) {
            Shot(e, "columns");
            e->close();
        });
        QTest::mouseClick(d->cmdButton[1], Qt::LeftButton);
        desktop.OnModal("frmExport", [&](QDialog* dialog) {
            auto* x = static_cast<frmExport*>(dialog);
            Shot(x, "export-text");
            x->tabExport->setCurrentIndex(1);
            x->chkRowColors[0]->setChecked(true);
            x->chkRowColors[1]->setChecked(true);
            Shot(x, "export-table");
            x->tabExport->setCurrentIndex(2);
            Shot(x, "export-page");
            x->reject();
        });
        QTest::mouseClick(d->cmdButton[0], Qt::LeftButton);
    });

    // Off-line, qualifying as lap times.
    window->GetLeague()->Db().Execute("UPDATE Settings SET SettingValue='1' WHERE SettingsID=12");
    window->GetLeague()->LoadWorkingSettings();
    SaveLeagueProperties(*window->GetLeague(), 0, 1);
    ShotModal("mnuRace_2", "frmEditRace", [&](QDialog* d) {
        Shot(d, "edit-offline-time");
        desktop.OnModal("frmEditDriver2", [&](QDialog* r) {
            Shot(r, "edit-driver-offline");
            r->close();
        });
        ClickButton(d, 1);
    });
    ShotModal("mnuRace_0", "frmAddRaces", [&](QDialog* d) { Shot(d, "import-offline"); });
    frmProgress progress(window.get());
    progress.setWindowTitle("Reading STN Files");
    progress.Prog->setMaximum(3);
    progress.show();
    progress.Step("Reading: \"02-millbrook-500.stn\"", 2);
    Shot(&progress, "progress");
}

} // namespace
} // namespace scorewell::gui::test
