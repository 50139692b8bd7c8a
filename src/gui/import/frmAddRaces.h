#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

#include "data/Settings.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace scorewell {
class League;
class Program;
} // namespace scorewell

namespace scorewell::gui {

struct LeagueCommandContext;

// The import dialog: result files are read as they are added and staged in the league file,
// listed one entry per staged race, corrected or taken off the list, then imported as races of
// the league.
class frmAddRaces : public QDialog {
    Q_OBJECT

public:
    explicit frmAddRaces(QWidget* parent = nullptr);

    // Set before Load.
    void setDatabase(League* league) { league_ = league; }
    void setTBDatabase(Program* program) { program_ = program; }
    // 0 NASCAR Racing 3, 1 NASCAR Legends, 2 NASCAR Racing 2 / 1999, 3 NASCAR Racing 4.
    void setSimType(int simType) { simType_ = simType; }
    // 0 on-line, 1 off-line.
    void setLeagueType(int leagueType) { leagueType_ = leagueType; }
    // True when the dialog was left with Cancel or its close box.
    bool Cancelled() const { return cancelled_; }

    // Empties the staging area and prepares the controls; false, when it cannot, after saying
    // why.
    bool Load();

    QLabel* Label1 = nullptr;
    QListWidget* lstRaces = nullptr;
    std::array<QPushButton*, 5> cmdButton{};
    QLabel* lblN3Msg = nullptr;
    QComboBox* cboLRM = nullptr;
    QLabel* lblNote = nullptr;

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdButton_Click(int index);
    void AddFiles();
    void RemoveFiles();
    void EditRace();
    void Import();
    // Asks about every listed file the league already holds; a file the user does not want
    // again is taken off the list. False, after saying why, when the league could not be asked.
    bool LeaveOutImportedFiles();
    void lstRaces_Click();
    void ShowFailure(const std::string& title, const std::string& message);
    // The list entry of a staged file: its name in the default folder, else name, tab, folder.
    QString EntryText(const QString& path) const;

    League* league_ = nullptr;
    Program* program_ = nullptr;
    int simType_ = 0;
    int leagueType_ = 0;
    bool cancelled_ = false;
    QString defaultFolder_;
    PointTable pointTable_;
};

// Race > Import of the main window.
void ShowAddRaces(LeagueCommandContext& context);

} // namespace scorewell::gui
