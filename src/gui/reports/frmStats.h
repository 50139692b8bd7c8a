#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

#include "app/LeagueCommands.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace scorewell::gui {

// The standings window: the reports of the program database run on the league, one at a time.
// From here a report's columns are chosen and the report is published as a page.
class frmStats : public QDialog {
    Q_OBJECT

public:
    explicit frmStats(QWidget* parent = nullptr);

    // The open league: the reports run here and its dropped results are marked.
    void setDatabase(League* league) { league_ = league; }
    League* GetDatabase() const { return league_; }
    // The program: its database holds the reports.
    void setSLDatabase(Program* program) { program_ = program; }
    Program* SLDatabase() const { return program_; }
    // Worst results dropped per driver; 0 or less drops none.
    void setDropped(int dropped) { dropped_ = dropped; }

    // Marks the dropped results, lists the reports and shows the first. Errors of the marking
    // reach the caller; a report that fails says so and leaves the grid as it was.
    void Load();
    int NumEvents() const { return numEvents_; }

    QLabel* Label1 = nullptr;
    QComboBox* cboStat = nullptr;
    QLabel* Label2 = nullptr;
    QTableWidget* fgCalcs = nullptr;
    std::array<QPushButton*, 2> cmdButton{};

private:
    void cboStat_Click();
    void cmdButton_Click(int index);
    void LoadReport(std::int32_t reportId);
    void EditColumns();
    void ExportStandings();
    std::int32_t SelectedReport() const;

    League* league_ = nullptr;
    Program* program_ = nullptr;
    int dropped_ = 0;
    int numEvents_ = 0;
};

// Race > Calculate.
void ShowStats(LeagueCommandContext& context);

} // namespace scorewell::gui
