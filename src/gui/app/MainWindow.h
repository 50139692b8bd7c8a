#pragma once

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/LeagueCommands.h"
#include "data/RecentFiles.h"

class QAction;
class QMenu;
class QPushButton;
class QTableWidget;

namespace scorewell {
class League;
class Program;
} // namespace scorewell

namespace scorewell::gui {

// The main window's menu items and buttons by their index in their control array; the index is
// the suffix of their objectName (mnuFile_8 is FileMenu::Properties, cmdButton_3 is
// RaceButton::Import).
enum class FileMenu {
    New = 0,
    Open = 1,
    Properties = 8,
    PublishSeason = 9,
    Options = 10,
    FirstRecent = 12, // to 15, one a recent file
    RecentSeparator = 16,
    Exit = 17,
};
enum class RaceMenu {
    Import = 0,
    Remove = 1,
    Edit = 2,
    Separator1 = 3,
    Calculate = 4,
    Separator2 = 5,
    HTML = 6,
};
enum class ToolsMenu {
    DriverList = 0,
    PointSystem = 1,
    Separator = 2,
    OfflineSettings = 3,
    Adjustments = 4,
};
enum class HelpMenu { ReadMe = 0, About = 1 };
enum class RaceButton { Calculate = 0, Edit = 1, Remove = 2, Import = 3, HTML = 4 };

// The main window (form frmRaces): the program's hub. It owns the program and the open league,
// lists the league's races and starts every other window.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: splash, program database, simulation folders, recent files, and the league
    // named on the command line (or the most recent one). False when the program cannot run.
    bool Load(const QString& programFolder, const QString& commandLine);
    // Tests and smoke runs start without the splash window.
    void SetShowSplash(bool show) { showSplash_ = show; }

    void OpenLeagueFile(const QString& path);
    void CloseLeagueFile();
    void RefreshRaceList();

    Program* GetProgram() const { return program_.get(); }
    League* GetLeague() const { return league_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreateRaceList();
    void ClearGrid();
    bool OpenProgram(const QString& programFolder);
    void OpenFromCommandLine(const QString& commandLine);
    void LoadRecentFiles();
    void AddRecentFile(const QString& path);
    void ShowRecentFiles();
    void SaveRecentFiles();
    void RemoveRaces();
    void SelectionChanged();

    void NewFile();
    void OpenFile();
    void ShowProperties();
    void ShowOptions();
    void ViewReadMe();
    void ShowAbout();
    // Opens the window of a league command, or says it is not there yet.
    void RunLeagueCommand(LeagueCommand command);
    std::function<void()> Command(LeagueCommand command);

    // The first and last grid row of the selection, in order.
    std::pair<int, int> SelectedRows() const;
    std::int32_t RowRaceID(int row) const;
    void SetRaceCommands(bool enabled);
    void SetLeagueCaption(const QString& path);

    QAction*& Item(FileMenu item) { return fileItems_[static_cast<std::size_t>(item)]; }
    QAction*& Item(RaceMenu item) { return raceItems_[static_cast<std::size_t>(item)]; }
    QAction*& Item(ToolsMenu item) { return toolsItems_[static_cast<std::size_t>(item)]; }
    QPushButton* Button(RaceButton button) const {
        return buttons_[static_cast<std::size_t>(button)];
    }

    std::unique_ptr<Program> program_;
    std::unique_ptr<League> league_;
    RecentFiles recent_;
    QString decimalSeparator_;
    bool showSplash_ = true;

    QTableWidget* grid_ = nullptr;
    std::array<QPushButton*, 5> buttons_{};
    QMenu* raceMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    std::array<QAction*, 18> fileItems_{};
    std::array<QAction*, 7> raceItems_{};
    std::array<QAction*, 5> toolsItems_{};
};

} // namespace scorewell::gui
