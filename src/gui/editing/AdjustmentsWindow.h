#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <vector>

#include "data/AdjustmentRows.h"

class QPushButton;
class QTableWidget;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

struct LeagueCommandContext;

// The league's point adjustments (form frmAdjustments): penalties and points given back, each
// with its driver, race, points, reason and the date entered. Add, Edit and Remove are one
// change each, written at once.
class AdjustmentsWindow : public QDialog {
    Q_OBJECT

public:
    explicit AdjustmentsWindow(QWidget* parent = nullptr);

    void SetLeague(League& league) { league_ = &league; }
    // Lists the adjustments; engine errors reach the caller.
    void Load();
    // True once an adjustment was added, changed or removed: standings shown before are stale.
    bool Changed() const { return changed_; }

private:
    // cmdButton_0 to cmdButton_3.
    enum Button { Add, Edit, Remove, Close };

    void FillGrid(std::int32_t current = 0);
    void AddAdjustment();
    void EditAdjustment();
    void RemoveAdjustment();
    void SelectionChanged();
    // The adjustment of the grid's current row; nullptr when there is none.
    const AdjustmentRow* CurrentRow() const;

    League* league_ = nullptr;
    std::vector<AdjustmentRow> rows_;
    bool changed_ = false;
    QTableWidget* grid_ = nullptr;
    std::array<QPushButton*, 4> buttons_{};
};

// Tools > Penalties and Adjustments of the main window.
void ShowAdjustmentsWindow(LeagueCommandContext& context);

} // namespace scorewell::gui
