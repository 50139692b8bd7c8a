#include "editing/frmPickDriver.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Controls.h"
#include "data/Drivers.h"
#include "data/League.h"

namespace scorewell::gui {

frmPickDriver::frmPickDriver(QWidget* parent) : QDialog(parent) {
    setObjectName("frmPickDriver");
    setWindowTitle("Select a Driver");

    lstDrivers = new QListWidget(this);
    lstDrivers->setObjectName("lstDrivers");
    lstDrivers->setMinimumSize(Twips(3600), Twips(3000));
    connect(lstDrivers, &QListWidget::itemSelectionChanged, this,
            [this] { cmdButton[1]->setEnabled(!lstDrivers->selectedItems().isEmpty()); });
    connect(lstDrivers, &QListWidget::itemDoubleClicked, this, [this] { Select(); });

    const char* const captions[2] = {"Cancel", "Select"};
    for (int i = 0; i < 2; ++i) {
        cmdButton[i] = new QPushButton(captions[i], this);
        cmdButton[i]->setObjectName(QString("cmdButton_%1").arg(i));
        cmdButton[i]->setMinimumWidth(Twips(1095));
    }
    cmdButton[1]->setDefault(true);
    cmdButton[1]->setEnabled(false);
    cmdButton[0]->setAutoDefault(false);
    connect(cmdButton[0], &QPushButton::clicked, this, &frmPickDriver::reject);
    connect(cmdButton[1], &QPushButton::clicked, this, [this] { Select(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdButton[1]);
    buttons->addWidget(cmdButton[0]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstDrivers, 1);
    layout->addLayout(buttons);
}

void frmPickDriver::setDatabase(League* league) {
    lstDrivers->clear();
    for (const DriverRow& driver : ListDrivers(league->Db())) {
        lstDrivers->addItem(Q(driver.name));
    }
    if (lstDrivers->count() == 0) {
        lstDrivers->addItem("[none]");
        lstDrivers->setEnabled(false);
    }
}

QString frmPickDriver::Choice() const {
    const QList<QListWidgetItem*> chosen = lstDrivers->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->text();
}

void frmPickDriver::Select() {
    if (!lstDrivers->isEnabled() || lstDrivers->selectedItems().isEmpty()) {
        return;
    }
    cancelled_ = false;
    done(QDialog::Accepted);
}

void frmPickDriver::reject() {
    cancelled_ = true;
    done(QDialog::Rejected);
}

void frmPickDriver::closeEvent(QCloseEvent* event) {
    event->accept();
    reject();
}

} // namespace scorewell::gui
