#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <exception>
#include <utility>

class QLabel;
class QPushButton;
class QTableWidget;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

struct LeagueCommandContext;

// The league's roster (form frmDriverList): every driver with his exclusion. Drivers are added,
// edited (and merged) through the driver editor, excluded, included and removed at once; the
// results of every excluded driver can be removed, with every race scored again.
class DriverListWindow : public QDialog {
    Q_OBJECT

public:
    explicit DriverListWindow(QWidget* parent = nullptr);

    // Reads the league's drivers into the list; false, after saying why, when it cannot.
    bool Load(League& league);

private:
    // cmdButton_0 to cmdButton_6.
    enum Button { Edit, Add, Remove, Include, Exclude, Close, RemoveExcluded, kButtons };

    void SetRow(int row, std::int32_t driverId, const QString& name, bool excluded);
    void SetEmptyRow(int row);
    void ShowCount();
    // Edit, Remove, Include and Exclude work on drivers: not on the empty list.
    void EnableDriverButtons(bool enable);
    void SelectionChanged();
    void SelectRow(int row);
    std::int32_t RowID(int row) const;
    bool Empty() const;

    void EditSelected();
    void EditDriver(int row);
    void AddDriver();
    // Asks first unless silent (the driver is gone already: only his row goes).
    void RemoveSelected(bool silent);
    void SetSelectedExcluded(bool exclude);
    void RemoveExcludedResults();
    void SortBy(int column);
    void ShowError(const std::exception& e);

    League* league_ = nullptr;
    int count_ = 0;
    // Per column: 1 sorted ascending last, 2 descending; the first click on "Driver" sorts A
    // to Z, on "Excluded?" puts "Yes" first.
    std::array<int, 2> sortOrder_{2, 1};

    QTableWidget* grid_ = nullptr;
    QLabel* countLabel_ = nullptr;
    std::array<QPushButton*, kButtons> buttons_{};
};

// Tools > Driver List of the main window.
void ShowDriverListWindow(LeagueCommandContext& context);

} // namespace scorewell::gui
