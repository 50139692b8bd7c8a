#pragma once

#include <QDialog>

#include <cstdint>

#include "app/LeagueCommands.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace scorewell::gui {

// The standings window (form frmStats): the reports of the program database run on the league,
// one at a time. From here a report's columns are chosen and the report is published as a page.
class StandingsWindow : public QDialog {
    Q_OBJECT

public:
    explicit StandingsWindow(QWidget* parent = nullptr);

    // The open league: the reports run here, and its worst results are dropped as its dropped
    // races say.
    void SetLeague(League& league) { league_ = &league; }

    // Marks the dropped results, lists the reports and shows the first. Errors of the marking
    // reach the caller; a report that fails says so and leaves the grid as it was.
    void Load();

private:
    void ReportChosen();
    void LoadReport(std::int32_t reportId);
    void EditColumns();
    void ExportStandings();
    void EditAdjustments();
    std::int32_t SelectedReport() const;

    League* league_ = nullptr;

    QComboBox* reports_ = nullptr;
    QLabel* caption_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QPushButton* html_ = nullptr;
    QPushButton* columns_ = nullptr;
    QPushButton* adjustments_ = nullptr;
};

// Race > Calculate.
void ShowStandingsWindow(LeagueCommandContext& context);

} // namespace scorewell::gui
