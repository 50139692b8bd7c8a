#pragma once

#include <array>
#include <vector>

#include "common/ModalDialog.h"
#include "data/RankCriteria.h"
#include "editing/RankCriteriaOrder.h"

class QPushButton;
class QTableWidget;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

struct LeagueCommandContext;

// The off-line league settings (form frmOfflineSettings): the order of the rank criteria that
// decide the finishing positions of a merged race. Blocks of rows move up and down; Save stores
// the order, and leaving with changes unsaved asks first.
class OfflineSettingsDialog : public ModalDialog {
    Q_OBJECT

public:
    explicit OfflineSettingsDialog(QWidget* parent = nullptr);

    void SetLeague(League& league) { league_ = &league; }
    // Fills the grid from the league; false, after saying why, when it cannot.
    bool Load();

    // The criteria in the order shown, first key first.
    const std::vector<RankCriterion>& Criteria() const { return criteria_; }

public slots:
    // Cancel, Esc and the close box: with changes unsaved, asks whether to save them.
    void reject() override;

private:
    // cmdButton_0 and cmdButton_1.
    enum Button { Cancel, Save };

    void Move(MoveDirection direction);
    // Shows the criteria, numbered, with rows first..last selected and first current.
    void ShowCriteria(int first, int last);
    void UpdateMoveButtons();
    // Stores the order when it was changed, then closes; stays open after saying why when it
    // could not be stored.
    void SaveAndClose();

    League* league_ = nullptr;
    std::vector<RankCriterion> criteria_;
    bool changed_ = false;

    QTableWidget* grid_ = nullptr;
    std::array<QPushButton*, 2> moves_{};
    std::array<QPushButton*, 2> buttons_{};
};

// Tools > Offline Settings of the main window.
void ShowOfflineSettings(LeagueCommandContext& context);

} // namespace scorewell::gui
