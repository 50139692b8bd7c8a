#pragma once

#include <functional>

#include "common/ModalDialog.h"
#include "editing/Adjustments.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

// One point adjustment, to add or to change (form frmEditAdjustment): the driver, the race it is
// for (or the season), the signed points and the reason. The caller sets the caption and what
// Save does; the window stays open with what was typed when saving fails.
class AdjustmentEditor : public ModalDialog {
    Q_OBJECT

public:
    explicit AdjustmentEditor(QWidget* parent = nullptr);

    // Fills the lists with the league's drivers and races. Engine errors reach the caller.
    void SetLeague(League& league);
    void SetEntry(const AdjustmentEntry& entry);
    AdjustmentEntry Entry() const;
    // Stores the entry; what it throws is shown, and the window stays.
    void SetSave(std::function<void(const AdjustmentEntry&)> save) { save_ = std::move(save); }

private:
    void Save();
    void UpdateSave();

    std::function<void(const AdjustmentEntry&)> save_;
    QComboBox* driver_ = nullptr;
    QComboBox* race_ = nullptr;
    QLineEdit* points_ = nullptr;
    QLineEdit* reason_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

} // namespace scorewell::gui
