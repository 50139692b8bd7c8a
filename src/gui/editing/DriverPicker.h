#pragma once

#include "common/ModalDialog.h"

class QListWidget;
class QPushButton;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

// Picks a driver of the league by name (form frmPickDriver).
class DriverPicker : public ModalDialog {
    Q_OBJECT

public:
    explicit DriverPicker(QWidget* parent = nullptr);

    // Fills the list with the league's drivers; "[none]" when it has none. Engine errors reach
    // the caller.
    void SetLeague(League& league);
    // The entry chosen with Select.
    QString Choice() const;

private:
    void Select();

    QListWidget* drivers_ = nullptr;
    QPushButton* select_ = nullptr;
};

} // namespace scorewell::gui
