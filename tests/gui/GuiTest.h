#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QPushButton>
#include <QString>
#include <QTableWidget>

#include <memory>
#include <string>
#include <vector>

#include "FakeDesktop.h"
#include "app/frmRaces.h"
#include "support/TempDir.h"

namespace scorewell::gui::test {

// One race row for a test league: name, laps, length.
struct TestRace {
    std::string name;
    int laps;
    float length;
};

// A program folder in a fresh temporary folder, the scripted desktop, and the main window.
class GuiTest : public ::testing::Test {
protected:
    scorewell::test::TempDir dir;
    FakeDesktop desktop;
    std::string programFolder = dir.File("prog");
    std::unique_ptr<frmRaces> window;

    void TearDown() override;

    // Creates the program database; with a NASCAR Racing 3 folder set, start-up asks nothing.
    void PrepareProgram(bool withSimulationFolder = true);
    // A NASCAR Racing 3 (or other) folder holding the simulation's executable.
    std::string SimulationFolder(const std::string& name, const std::string& executable);
    // Writes a setting of the program database while no window has it open.
    void WriteProgramSetting(int id, const std::string& value);
    std::string ReadProgramSetting(int id);

    // Starts the main window as the program does, without the splash.
    bool Start(const QString& commandLine = {});
    // A league file with races, as a finished import leaves it.
    std::string MakeLeague(const std::string& name, const std::vector<TestRace>& races = {},
                           int simTitle = 0, int leagueType = 0);
    // A league of the first races of the demo season (resources/demo), imported as the import
    // dialog does, dropping the given number of worst results.
    std::string MakeDemoLeague(const std::string& name, int races, int dropped = 0);
    // Opens a league in the running window.
    void Open(const std::string& path);

    QAction* Menu(const QString& name) const;
    QPushButton* Button(int index) const;
    QTableWidget* Grid() const;
    // Grid rows and what they show: the race names in order.
    QStringList GridNames() const;
    // Selects grid rows first to last as a user would: a click, then a shift-click.
    void SelectRows(int first, int last);

    // Counts of a league file's rows, read straight from the file.
    std::int64_t CountRows(const std::string& league, const std::string& table);
};

// Finds a named child or fails the test.
template <class T>
T* Child(QObject* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name.toStdString();
    return child;
}

} // namespace scorewell::gui::test
