#include "editing/DriverPicker.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Controls.h"
#include "data/Drivers.h"
#include "data/League.h"

namespace scorewell::gui {

DriverPicker::DriverPicker(QWidget* parent) : ModalDialog(parent) {
    setObjectName("frmPickDriver");
    setWindowTitle("Select a Driver");

    drivers_ = new QListWidget(this);
    drivers_->setObjectName("lstDrivers");
    drivers_->setMinimumSize(Twips(3600), Twips(3000));
    connect(drivers_, &QListWidget::itemSelectionChanged, this,
            [this] { select_->setEnabled(!drivers_->selectedItems().isEmpty()); });
    connect(drivers_, &QListWidget::itemDoubleClicked, this, [this] { Select(); });

    const std::array<QPushButton*, 2> buttons =
        NewIndexedButtons(this, {{"Cancel"}, {"Select"}}, Twips(1095),
                          {[this] { reject(); },
                           [this] {
                               Select();
                           }});
    select_ = buttons[1];
    select_->setAutoDefault(true);
    select_->setDefault(true);
    select_->setEnabled(false);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons[1]);
    buttonRow->addWidget(buttons[0]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(drivers_, 1);
    layout->addLayout(buttonRow);
}

void DriverPicker::SetLeague(League& league) {
    drivers_->clear();
    for (const DriverRow& driver : ListDrivers(league.Db())) {
        drivers_->addItem(Q(driver.name));
    }
    if (drivers_->count() == 0) {
        drivers_->addItem("[none]");
        drivers_->setEnabled(false);
    }
}

QString DriverPicker::Choice() const {
    const QList<QListWidgetItem*> chosen = drivers_->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->text();
}

void DriverPicker::Select() {
    if (!drivers_->isEnabled() || drivers_->selectedItems().isEmpty()) {
        return;
    }
    Finish();
}

} // namespace scorewell::gui
