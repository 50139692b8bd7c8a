#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "data/RaceResults.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

struct LeagueCommandContext;

// The results of one race, to correct (form frmEditRace): a race staged by the import dialog or
// a race of the league. Every change is written at once.
class RaceResultsEditor : public QDialog {
    Q_OBJECT

public:
    explicit RaceResultsEditor(QWidget* parent = nullptr);

    // Set before Load.
    void SetLeague(League& league) { league_ = &league; }
    // A staged race by its STNRaceID, or a race of the league by its RaceID.
    void SetRace(RaceSource source, std::int32_t raceId);

    // Reads the race into the labels and the grid; false, when it cannot, after saying why.
    bool Load();

private:
    // The labels of the race's figures: track, length, laps, race time, average speed, margin,
    // cautions, lead changes and weather.
    static constexpr int kFigures = 9;
    // cmdButton_0 to cmdButton_4.
    enum Button { Close, Edit, Remove, Add, Recalc };

    void FillGrid();
    void SetRow(int row, const ResultLine& line);
    void SetEmptyRow(int row);
    // Column widths for the texts they show; the sum is kept in fittedWidth_.
    void FitColumns();
    // The widest the window opens: the screen's and the main window's width.
    int WidthLimit() const;
    // The result editor on entry; what was typed, or nothing when it was cancelled.
    std::optional<ResultEntry> AskForResult(const QString& caption, ResultEntry entry);
    // The result as stored, after saying why when it cannot be read.
    std::optional<ResultLine> ReadResult(std::int32_t id);
    void EditSelected();
    void AddResult();
    void EditResult(int row);
    void RemoveResults();
    void Recalculate();
    void SelectionChanged();

    bool Online() const;
    std::pair<int, int> SelectedRows() const;
    std::int32_t RowID(int row) const;
    void SelectRow(int row);
    void ShowError(const std::exception& e);

    League* league_ = nullptr;
    RaceSource source_ = RaceSource::League;
    std::int32_t raceId_ = 0;
    float trackLength_ = 0;
    int fittedWidth_ = 0;

    std::array<QLabel*, kFigures> figures_{};
    QLabel* lapMethod_ = nullptr;
    QTableWidget* grid_ = nullptr;
    std::array<QPushButton*, 5> buttons_{};
};

// Race > Edit of the main window: the race of the grid's current row.
void ShowRaceResultsEditor(LeagueCommandContext& context);

} // namespace scorewell::gui
