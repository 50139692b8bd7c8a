#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTableWidget>
#include <QTest>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FakeDesktop.h"
#include "app/LeagueCommands.h"
#include "app/MainWindow.h"
#include "common/Controls.h"
#include "data/Database.h"
#include "data/League.h"
#include "data/Settings.h"
#include "support/TempDir.h"

namespace scorewell::gui::test {

// The demo season's folder and its first three race finals, in order.
inline const std::string kDemoFolder = std::string(SCOREWELL_SOURCE_DIR) + "/resources/demo/";
inline const char* const kDemoFinals[] = {"01-harbor-point-400.stn", "02-millbrook-500.stn",
                                          "03-cedar-valley-250.stn"};

// One race row for a test league: name, laps, length.
struct TestRace {
    std::string name;
    int laps;
    float length;
};

// A program folder in a fresh temporary folder, the scripted desktop, and the main window.
// Every league command plugged in is unplugged by End. Failures are reported to GoogleTest.
class GuiHarness {
public:
    scorewell::test::TempDir dir;
    FakeDesktop desktop;
    std::string programFolder = dir.File("prog");
    std::unique_ptr<MainWindow> window;

    // Closes the window without compacting its league, unplugs the league commands and fails
    // for every expected call of the desktop that never came.
    void End();

    // Creates the program database; with a NASCAR Racing 3 folder set, start-up asks nothing.
    void PrepareProgram(bool withSimulationFolder = true);
    // A NASCAR Racing 3 (or other) folder holding the simulation's executable.
    std::string SimulationFolder(const std::string& name, const std::string& executable);
    // Writes a setting of the program database while no window has it open.
    void WriteProgramSetting(int id, const std::string& value);
    std::string ReadProgramSetting(int id);

    // Starts the main window as the program does, every league command showing its window,
    // without the splash.
    bool Start(const QString& commandLine = {});
    // A league file with races, as a finished import leaves it.
    std::string MakeLeague(const std::string& name, const std::vector<TestRace>& races = {},
                           int simTitle = 0, int leagueType = 0);
    // A league of the first races (at most three) of the demo season, imported as the import
    // dialog does, dropping the given number of worst results.
    std::string MakeDemoLeague(const std::string& name, int races, int dropped = 0);
    // Opens a league of the demo season's first three races; returns its path.
    std::string OpenDemoLeague(int dropped = 0);
    // Opens a league in the running window.
    void Open(const std::string& path);
    // The open league's database, and one value it gives as text.
    Database& Db() const { return window->GetLeague()->Db(); }
    std::string Sql(std::string_view sql, std::initializer_list<Value> values = {}) const {
        return Db().Scalar(sql, values).AsText();
    }
    // Triggers the menu item, which must show a modal window of the class, worked by the handler.
    template <class Window>
    void Modal(const QString& menu, std::function<void(Window*)> handler) {
        const int shown = desktop.ModalCount<Window>();
        desktop.OnModal<Window>(std::move(handler));
        Menu(menu)->trigger();
        EXPECT_EQ(desktop.ModalCount<Window>(), shown + 1) << menu.toStdString();
    }

    QAction* Menu(const QString& name) const;
    QPushButton* Button(int index) const;
    QTableWidget* Grid() const;
    // Grid rows and what they show: the race names in order.
    QStringList GridNames() const;
    // Selects rows of the race grid: see ClickRows.
    void SelectRows(int first, int last);

    // Counts of a league file's rows, read straight from the file.
    std::int64_t CountRows(const std::string& league, const std::string& table);
};

// A test of the desktop program: the harness, ended with the test.
// By default the program is prepared and the main window started.
class GuiTest : public ::testing::Test, public GuiHarness {
protected:
    void SetUp() override {
        PrepareProgram();
        ASSERT_TRUE(Start());
    }
    void TearDown() override { End(); }
};

// Finds a named control or fails.
template <class T>
T* Child(QObject* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

inline QLineEdit* Line(QObject* parent, const QString& name) {
    return Child<QLineEdit>(parent, name);
}
// Whether each named control is enabled, as "1" or "0" in turn.
std::string Enabled(QObject* parent, const QStringList& names);

// Clicks a named button, or the button cmdButton_<index>.
void Click(QObject* parent, const QString& name);
void ClickButton(QObject* parent, int index);
// Clicks a check box or option button on its box: the middle of a wide one may lie beyond its
// caption.
void Tick(QAbstractButton* box);
// Selects rows first to last as a user would: a click on the column, then a shift-click.
void ClickRows(QTableWidget* grid, int first, int last, int column = 0);
// A double click as the desktop delivers it: a click, then the second press.
void DoubleClick(QTableWidget* grid, int row);
// The texts of a grid row, empty for cells without item.
QStringList Row(QTableWidget* grid, int row);
// Selects a block of whole rows, the first one current.
void SelectBlock(QTableWidget* grid, int first, int last);

// Every named control and action of a window (or only those named), one a line, with what it
// shows: whether it is off or hidden, its text, check, choice, or the rows of its list or grid
// (hidden columns marked; ">" before the current row, "*" before a selected one; a list item's
// tip after it). The window's title comes first when all are described or "windowTitle" is named.
std::string Describe(QWidget* window, const QStringList& names = {});
// Compares Describe(window) with the golden file tests/fixtures/golden/gui/<name>.txt.
void ExpectLooks(QWidget* window, const std::string& name);

// What a window shows step by step, compared with one golden at the end: each step is named and
// followed by what the watched controls (all, when none are named) show, or by a text. Texts
// that change from run to run (a temporary folder, today's date) show as their aliases.
struct Steps {
    explicit Steps(QStringList names = {}, std::map<std::string, std::string> aliases = {})
        : watched(std::move(names)), shownAs(std::move(aliases)) {}
    QStringList watched;
    std::map<std::string, std::string> shownAs;
    std::string text;
    void Note(const std::string& step, QWidget* window);
    void Note(const std::string& step, const std::string& what);
    // Compares the steps with the golden file tests/fixtures/golden/gui/<name>.txt.
    void Expect(const std::string& name) const;
};

} // namespace scorewell::gui::test
