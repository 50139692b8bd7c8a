#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "data/RaceResults.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace scorewell {
class League;
class Program;
} // namespace scorewell

namespace scorewell::gui {

struct LeagueCommandContext;

// The results of one race, to correct: a race staged by the import dialog (Mode 1) or a race of
// the league (Mode 0). Every change is written at once.
class frmEditRace : public QDialog {
    Q_OBJECT

public:
    enum Column {
        kFinish,
        kStart,
        kDriver,
        kLaps,
        kLed,
        kPoints,
        kBonus,
        kAvgSpeed,
        kQualify,
        kReasonOut,
        kExcluded,
        kColumns
    };

    explicit frmEditRace(QWidget* parent = nullptr);

    // Set before Load: 1 a staged race, 0 a race of the league.
    void setMode(int mode) { mode_ = mode; }
    void setDatabase(League* league) { league_ = league; }
    void setTBDatabase(Program* program) { program_ = program; }
    // An STNRaceID in Mode 1, a RaceID in Mode 0.
    void setRaceID(std::int32_t raceId) { raceId_ = raceId; }
    int Mode() const { return mode_; }
    std::int32_t RaceID() const { return raceId_; }

    // Reads the race into the labels and the grid; false, when it cannot, after saying why.
    bool Load();

    QGroupBox* fraRace = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* lblTrackName = nullptr;
    QLabel* lblTrackLength = nullptr;
    QLabel* lblLaps = nullptr;
    QLabel* lblRaceTime = nullptr;
    QLabel* lblAvgSpeed = nullptr;
    QLabel* lblMargin = nullptr;
    QLabel* lblCautions = nullptr;
    QLabel* lblLeadChanges = nullptr;
    QLabel* lblWeather = nullptr;
    QLabel* lblLRMDesc = nullptr;
    QLabel* lblLRM = nullptr;
    QTableWidget* fgDrivers = nullptr;
    std::array<QPushButton*, 5> cmdButton{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdButton_Click(int index);
    void FillGrid();
    void SetRow(int row, const ResultLine& line);
    void SetEmptyRow(int row);
    void FitColumns();
    // The driver editor on entry; what was typed, or nothing when it was cancelled.
    std::optional<ResultEntry> AskForResult(const QString& caption, ResultEntry entry);
    void AddResult();
    void EditResult(int row);
    void RemoveResults();
    void Recalc();
    void fgDrivers_SelChange();

    RaceSource Source() const { return mode_ == 1 ? RaceSource::Staged : RaceSource::League; }
    bool Online() const;
    std::pair<int, int> SelectedRows() const;
    std::int32_t RowID(int row) const;
    void SelectRow(int row);
    void ShowError(const std::exception& e);

    int mode_ = 0;
    League* league_ = nullptr;
    Program* program_ = nullptr;
    std::int32_t raceId_ = 0;
    float trackLength_ = 0;
};

// Race > Edit of the main window: the race of the grid's current row.
void ShowEditRace(LeagueCommandContext& context);

} // namespace scorewell::gui
