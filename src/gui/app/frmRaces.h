#pragma once

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>
#include <utility>

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

// The main window: the program's hub. It owns the program and the open league, lists the
// league's races and starts every other window.
class frmRaces : public QMainWindow {
    Q_OBJECT

public:
    explicit frmRaces(QWidget* parent = nullptr);
    ~frmRaces() override;

    // Start-up: splash, program database, simulation folders, recent files, and the league
    // named on the command line (or the most recent one). False when the program cannot run.
    bool Load(const QString& programFolder, const QString& commandLine);
    // Tests and smoke runs start without the splash window.
    void setShowSplash(bool show) { showSplash_ = show; }

    void OpenLeagueFile(const QString& path);
    void CloseLeagueFile();
    void RefreshRaceList();
    void LoadRecentFiles();
    void SaveRecentFiles();
    void AddRecentFile(const QString& path);
    void RemoveRaces();

    Program* GetProgram() const { return program_.get(); }
    League* GetLeague() const { return league_.get(); }
    const RecentFiles& Recent() const { return recent_; }
    QString DecimalSeparator() const { return decimalSeparator_; }

    QTableWidget* fgRaces = nullptr;
    std::array<QPushButton*, 5> cmdButton{};
    QMenu* mnuFilePad = nullptr;
    QMenu* mnuRacePad = nullptr;
    QMenu* mnuToolsPad = nullptr;
    QMenu* mnuHelpPad = nullptr;
    std::array<QAction*, 18> mnuFile{};
    std::array<QAction*, 7> mnuRace{};
    std::array<QAction*, 4> mnuTools{};
    std::array<QAction*, 2> mnuHelp{};

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    void CreateGrid();
    void ClearGrid();
    bool OpenProgram(const QString& programFolder);
    void OpenFromCommandLine(const QString& commandLine);
    void ShowRecentFiles();

    void mnuFile_Click(int index);
    void mnuRace_Click(int index);
    void mnuTools_Click(int index);
    void mnuHelp_Click(int index);
    void cmdButton_Click(int index);
    void fgRaces_SelChange();
    void fgRaces_DblClick(int row);

    void NewFile();
    void OpenFile();
    void ShowProperties();
    void ShowOptions();
    void ViewReadMe();
    void ShowAbout();
    // Opens the window of a league command, or says it is not there yet.
    void RunLeagueCommand(LeagueCommand command);

    // The first and last grid row of the selection, in order.
    std::pair<int, int> SelectedRows() const;
    std::int32_t RowRaceID(int row) const;
    void SetRaceCommands(bool enabled);
    void SetLeagueCaption(const QString& path);

    std::unique_ptr<Program> program_;
    std::unique_ptr<League> league_;
    RecentFiles recent_;
    QString decimalSeparator_;
    bool showSplash_ = true;
};

} // namespace scorewell::gui
