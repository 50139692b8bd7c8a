// scorewell-screenshots FOLDER: a picture (PNG) of every window of the desktop program, written
// into FOLDER, so the windows can be looked at without clicking through them. The windows are
// filled from the demo season and driven through the desktop tests' scripted desktop; anything
// that does not go as scripted is reported and the program ends with status 1.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "GuiHarness.h"
#include "app/OptionsDialog.h"
#include "app/SplashWindow.h"
#include "data/Drivers.h"
#include "data/League.h"
#include "data/LeagueFileActions.h"
#include "data/LeaguePropertiesDialog.h"
#include "editing/DriverEditor.h"
#include "editing/DriverListWindow.h"
#include "editing/AdjustmentEditor.h"
#include "editing/Adjustments.h"
#include "editing/AdjustmentsWindow.h"
#include "editing/DriverPicker.h"
#include "editing/RaceResultsEditor.h"
#include "editing/ResultEditor.h"
#include "html/ExportDialog.h"
#include "import/ImportDialog.h"
#include "import/OfflineSettingsDialog.h"
#include "import/ProgressWindow.h"
#include "reports/ColumnEditor.h"
#include "reports/StandingsWindow.h"
#include "scoring/PointSystemEditor.h"

namespace scorewell::gui::test {
namespace {

class Pictures : public GuiHarness {
public:
    explicit Pictures(const QString& folder) : folder_(folder) {}

    void TakeAll();
    int Taken() const { return taken_; }
    bool Failed() const { return failed_; }

private:
    void Shot(QWidget* widget, const QString& name);
    // A menu of the menu bar as it drops down.
    void ShotMenu(const QString& menu, const QString& name);
    // The modal window a menu item opens, worked by the handler and then cancelled.
    template <class Window>
    void ShotModal(const char* item, std::function<void(Window*)> handler) {
        desktop.OnModal<Window>([handler](Window* d) {
            handler(d);
            d->reject();
        });
        Menu(item)->trigger();
    }

    QString folder_;
    int taken_ = 0;
    bool failed_ = false;
};

void Pictures::Shot(QWidget* widget, const QString& name) {
    QApplication::processEvents();
    const QString file = QDir(folder_).filePath(name + ".png");
    if (widget->grab().save(file)) {
        ++taken_;
    } else {
        std::fprintf(stderr, "scorewell-screenshots: The picture \"%s\" could not be written.\n",
                     qPrintable(file));
        failed_ = true;
    }
}

void Pictures::ShotMenu(const QString& menu, const QString& name) {
    auto* pad = Child<QMenu>(window.get(), "mnu" + menu + "Pad");
    pad->popup(window->mapToGlobal(QPoint(0, window->menuBar()->height())));
    QTest::qWait(50);
    Shot(pad, name);
    pad->hide();
}

void Pictures::TakeAll() {
    PrepareProgram();
    if (!Start()) {
        failed_ = true;
        return;
    }
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
    ShotModal<LeaguePropertiesDialog>("mnuFile_0", [&](LeaguePropertiesDialog* d) {
        QTest::keyClicks(Child<QLineEdit>(d, "txtFileName"), "Busch Series 2002");
        Shot(d, "new");
    });
    ShotModal<LeaguePropertiesDialog>("mnuFile_8",
                                      [&](LeaguePropertiesDialog* d) { Shot(d, "properties"); });
    ShotModal<OptionsDialog>("mnuFile_10", [&](OptionsDialog* d) {
        Shot(d, "options-paths");
        Child<QTabWidget>(d, "ts")->setCurrentIndex(1);
        Shot(d, "options-html");
    });
    ShotModal<SplashWindow>("mnuHelp_1", [&](SplashWindow* d) { Shot(d, "about"); });

    // The league's windows, on the first races of the demo season.
    RegisterLeagueWindows();
    const std::string demo = std::string(SCOREWELL_SOURCE_DIR) + "/resources/demo/";
    const std::string exports = dir.File("nr3/exports/");
    std::filesystem::create_directories(exports);
    for (const char* name : {"01-harbor-point-400.stn", "02-millbrook-500.stn"}) {
        std::filesystem::copy_file(demo + name, exports + name);
    }
    // A race final with a misspelt name, which the import list marks.
    std::string misspelt = scorewell::test::ReadFileBytes(demo + "04-gulf-coast-305.stn");
    misspelt.replace(misspelt.find("Soren Halvorsen"), 15, "Soren Halverson");
    scorewell::test::WriteFileBytes(exports + "04-gulf-coast-305.stn", misspelt);
    Open(MakeDemoLeague("Busch Series 2002.slf", 3, 1));
    desktop.ExpectOpenFiles({Q(exports + "01-harbor-point-400.stn"),
                             Q(exports + "02-millbrook-500.stn"),
                             Q(exports + "04-gulf-coast-305.stn"),
                             Q(std::string(SCOREWELL_FIXTURES_DIR) + "/stn/nr3-harbor-point.stn")});
    ShotModal<ImportDialog>("mnuRace_0", [&](ImportDialog* d) {
        Shot(d, "import-empty");
        ClickButton(d, 0);
        Shot(d, "import-three");
    });
    SelectRows(0, 0);
    ShotModal<RaceResultsEditor>("mnuRace_2", [&](RaceResultsEditor* d) {
        Shot(d, "edit-league-race");
        desktop.OnModal<ResultEditor>([&](ResultEditor* r) {
            Shot(r, "edit-driver-online");
            desktop.OnModal<DriverPicker>([&](DriverPicker* p) {
                Shot(p, "pick-driver");
                p->close();
            });
            Click(r, "cmdPickDriver");
            r->close();
        });
        ClickButton(d, 1);
    });
    ShotModal<StandingsWindow>("mnuRace_4", [&](StandingsWindow* d) {
        d->resize(1000, 620);
        Shot(d, "stats-standings");
        auto* reports = Child<QComboBox>(d, "cboStat");
        reports->setCurrentIndex(reports->findText("Race Winners"));
        Shot(d, "stats-race-winners");
        reports->setCurrentIndex(0);
        desktop.OnModal<ColumnEditor>([&](ColumnEditor* e) {
            Shot(e, "columns");
            e->close();
        });
        ClickButton(d, 1);
        desktop.OnModal<ExportDialog>([&](ExportDialog* x) {
            Shot(x, "export-text");
            auto* tabs = Child<QTabWidget>(x, "tabExport");
            tabs->setCurrentIndex(1);
            Child<QCheckBox>(x, "chkRowColors_0")->setChecked(true);
            Child<QCheckBox>(x, "chkRowColors_1")->setChecked(true);
            Shot(x, "export-table");
            tabs->setCurrentIndex(2);
            Shot(x, "export-page");
            x->reject();
        });
        ClickButton(d, 0);
    });

    SetDriversExcluded(window->GetLeague()->Db(), {"Marisol Teague"}, true);
    ShotModal<DriverListWindow>("mnuTools_0", [&](DriverListWindow* d) {
        Shot(d, "driver-list");
        desktop.OnModal<DriverEditor>([&](DriverEditor* e) {
            Shot(e, "driver-edit");
            e->close();
        });
        ClickButton(d, 0);
        desktop.OnModal<DriverEditor>([&](DriverEditor* e) {
            Shot(e, "driver-add");
            e->close();
        });
        ClickButton(d, 1);
    });
    ShotModal<PointSystemEditor>("mnuTools_1", [&](PointSystemEditor* d) {
        Shot(d, "point-system");
        Tick(Child<QCheckBox>(d, "chkUsePositions"));
        Tick(Child<QCheckBox>(d, "chkUseBonus"));
        auto* grid = Child<QTableWidget>(d, "fgPoints");
        grid->setCurrentCell(0, 1);
        grid->setRangeSelected(QTableWidgetSelectionRange(0, 1, 5, 1), true);
        Shot(d, "point-system-custom");
        desktop.ExpectMessage("Unsaved Changes", MessageAnswer::No);
    });
    // The stewards' decisions, and the standings with their column shown.
    Database& league = window->GetLeague()->Db();
    AddAdjustment(league, {"Amos Whitlock", 2, "-25", "Wrecked Bram Okonkwo under caution"});
    AddAdjustment(league, {"Bram Okonkwo", std::nullopt, "10", "Points restored on appeal"});
    ShotModal<AdjustmentsWindow>("mnuTools_4", [&](AdjustmentsWindow* d) {
        Shot(d, "adjustments");
        desktop.OnModal<AdjustmentEditor>([&](AdjustmentEditor* e) {
            Shot(e, "adjustment-edit");
            e->reject();
        });
        ClickButton(d, 1);
    });
    window->GetProgram()->Db().Execute("UPDATE ReportField SET Hidden=0 WHERE Field='Adj'");
    ShotModal<StandingsWindow>("mnuRace_4", [&](StandingsWindow* d) {
        d->resize(1100, 620);
        Shot(d, "stats-adjusted");
    });

    // Off-line, qualifying as lap times.
    window->GetLeague()->Db().Execute("UPDATE Settings SET SettingValue=? WHERE SettingsID=?",
                                      {Value(static_cast<int>(LeagueType::Offline)),
                                       Value(SettingId::LeagueType)});
    window->GetLeague()->LoadWorkingSettings();
    SaveLeagueProperties(*window->GetLeague(), 0, LapReportingMethod::LapTime);
    ShotModal<RaceResultsEditor>("mnuRace_2", [&](RaceResultsEditor* d) {
        Shot(d, "edit-offline-time");
        desktop.OnModal<ResultEditor>([&](ResultEditor* r) {
            Shot(r, "edit-driver-offline");
            r->close();
        });
        ClickButton(d, 1);
    });
    ShotModal<ImportDialog>("mnuRace_0", [&](ImportDialog* d) { Shot(d, "import-offline"); });
    // The rank criteria with a block of two moved up, left without saving.
    desktop.ExpectMessage("Unsaved Information", MessageAnswer::No);
    ShotModal<OfflineSettingsDialog>("mnuTools_3", [&](OfflineSettingsDialog* d) {
        auto* grid = Child<QTableWidget>(d, "fgPriorities");
        grid->setCurrentCell(2, 1);
        grid->setRangeSelected(QTableWidgetSelectionRange(2, 0, 3, 1), true);
        Click(d, "cmdMove_0");
        Shot(d, "offline-settings");
    });
    ProgressWindow progress("Reading STN Files", 3, window.get());
    progress.show();
    progress.Step("Reading: \"02-millbrook-500.stn\"", 2);
    Shot(&progress, "progress");
    ProgressWindow merging("Importing Results", 9, window.get());
    merging.show();
    merging.Step("Merging...", 4);
    Shot(&merging, "progress-merging");
}

} // namespace
} // namespace scorewell::gui::test

int main(int argc, char** argv) {
    // The windows are pictured off the screen unless asked otherwise; they look the same.
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: scorewell-screenshots FOLDER\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr,
                     "scorewell-screenshots: The folder \"%s\" cannot be made; name a folder "
                     "that can be written.\n",
                     argv[1]);
        return 1;
    }
    using scorewell::gui::test::Pictures;
    int taken = 0;
    bool failed = false;
    {
        Pictures pictures(folder);
        pictures.TakeAll();
        pictures.End();
        taken = pictures.Taken();
        failed = pictures.Failed();
    }
    // What the scripted desktop found amiss was reported to GoogleTest, outside any test.
    failed = failed || ::testing::UnitTest::GetInstance()->ad_hoc_test_result().Failed();
    std::printf("%d pictures in %s\n", taken, argv[1]);
    return failed ? 1 : 0;
}
