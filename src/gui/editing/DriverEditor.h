#pragma once

#include <cstdint>

#include "common/ModalDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

// One driver of the roster, to add or to change (form frmEditDriver): name, handicap, rookie and
// excluded. Save writes at once; a name another driver has is refused when adding, and offers to
// merge the two drivers when editing.
class DriverEditor : public ModalDialog {
    Q_OBJECT

public:
    explicit DriverEditor(QWidget* parent = nullptr);

    void SetLeague(League& league) { league_ = &league; }
    // Prepares the dialog to add a driver.
    void PrepareAdd();
    // Prepares the dialog to edit the driver; says so (and leaves the boxes empty) when the
    // league no longer has him.
    void PrepareEdit(std::int32_t driverId);

    // After Save: the driver saved, added, or merged into.
    std::int32_t DriverID() const { return driverId_; }
    // True when the driver was merged into another one.
    bool Merged() const { return merged_; }
    QString DriverName() const;
    bool Excluded() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Save();
    bool SaveNew();
    bool SaveEdited();
    void ShowError(const std::exception& e);

    League* league_ = nullptr;
    bool adding_ = true;
    std::int32_t driverId_ = 0;
    bool merged_ = false;

    QLineEdit* name_ = nullptr;
    QLineEdit* handicap_ = nullptr;
    QCheckBox* excluded_ = nullptr;
    QCheckBox* rookie_ = nullptr;
    QPushButton* save_ = nullptr;
};

} // namespace scorewell::gui
