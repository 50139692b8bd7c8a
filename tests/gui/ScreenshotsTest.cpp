#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>

#include <cstdlib>

#include "GuiTest.h"
#include "app/frmSplash.h"

namespace scorewell::gui::test {
namespace {

// Pictures of the windows for looking at them, written only when SCOREWELL_SCREENSHOTS names
// a folder: SCOREWELL_SCREENSHOTS=/tmp/shots xvfb-run -a build/tests/test_gui
// --gtest_filter='Screenshots*'
class Screenshots : public GuiTest {
protected:
    QString folder;

    void SetUp() override {
        const char* target = std::getenv("SCOREWELL_SCREENSHOTS");
        if (!target || !*target) {
            GTEST_SKIP() << "SCOREWELL_SCREENSHOTS is not set";
        }
        folder = target;
        QDir().mkpath(folder);
        PrepareProgram();
    }
    void Save(QWidget* widget, const QString& name) {
        QApplication::processEvents();
        EXPECT_TRUE(widget->grab().save(folder + "/" + name + ".png")) << name.toStdString();
    }
    // A menu of the menu bar as it drops down.
    void SaveMenu(const char* menu, const QString& name) {
        auto* pad = Child<QMenu>(window.get(), menu);
        pad->popup(window->mapToGlobal(QPoint(0, window->menuBar()->height())));
        QTest::qWait(50);
        Save(pad, name);
        pad->hide();
    }
};

TEST_F(Screenshots, OfEveryWindow) {
    ASSERT_TRUE(Start());
    Save(window.get(), "main-no-league");
    SaveMenu("mnuFilePad", "menu-file-no-league");

    const std::string cup =
        MakeLeague("Winston Cup 2002.slf", {{"Daytona 500", 200, 2.5f},
                                            {"Subway 400", 393, 1.017f},
                                            {"UAW-DaimlerChrysler 400", 267, 1.5f},
                                            {"Cracker Barrel 500", 325, 1.54f},
                                            {"Carolina Dodge Dealers 400", 293, 1.366f}});
    Open(cup);
    SelectRows(1, 1);
    Save(window.get(), "main-league");
    SaveMenu("mnuFilePad", "menu-file");
    SaveMenu("mnuRacePad", "menu-race");
    SaveMenu("mnuToolsPad", "menu-tools");
    SaveMenu("mnuHelpPad", "menu-help");
    SelectRows(1, 3);
    Save(window.get(), "main-three-selected");

    desktop.OnModal("frmSLFProperties", [&](QDialog* d) {
        QTest::keyClicks(Child<QLineEdit>(d, "txtFileName"), "Busch Series 2002");
        Save(d, "new");
        d->reject();
    });
    Menu("mnuFile_0")->trigger();
    desktop.OnModal("frmSLFProperties", [&](QDialog* d) {
        Save(d, "properties");
        d->reject();
    });
    Menu("mnuFile_8")->trigger();
    desktop.OnModal("frmOptions", [&](QDialog* d) {
        Save(d, "options-paths");
        Child<QTabWidget>(d, "ts")->setCurrentIndex(1);
        Save(d, "options-html");
        d->reject();
    });
    Menu("mnuFile_10")->trigger();
    desktop.OnModal("frmSplash", [&](QDialog* d) {
        Save(d, "about");
        d->close();
    });
    Menu("mnuHelp_1")->trigger();
}

} // namespace
} // namespace scorewell::gui::test
