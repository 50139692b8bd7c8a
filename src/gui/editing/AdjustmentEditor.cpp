#include "editing/AdjustmentEditor.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Controls.h"
#include "data/Drivers.h"
#include "data/League.h"
#include "data/RaceList.h"
#include "desktop/Desktop.h"

namespace scorewell::gui {

namespace {

constexpr const char* kSeason = "(the season)";

} // namespace

AdjustmentEditor::AdjustmentEditor(QWidget* parent) : ModalDialog(parent) {
    setObjectName("frmEditAdjustment");
    setWindowTitle("Edit Adjustment");

    driver_ = new QComboBox(this);
    driver_->setObjectName("cboDriver");
    driver_->setMinimumWidth(Twips(3000));
    race_ = new QComboBox(this);
    race_->setObjectName("cboRace");
    race_->setMinimumWidth(Twips(3000));
    points_ = new QLineEdit(this);
    points_->setObjectName("txtPoints");
    points_->setFixedWidth(Twips(900));
    points_->setMaxLength(11);
    points_->setPlaceholderText("-25");
    SelectAllOnFocus(points_);
    reason_ = new QLineEdit(this);
    reason_->setObjectName("txtReason");
    reason_->setMinimumWidth(Twips(5000));
    for (QLineEdit* box : {points_, reason_}) {
        connect(box, &QLineEdit::textChanged, this, [this] { UpdateSave(); });
    }
    connect(driver_, &QComboBox::currentIndexChanged, this, [this] { UpdateSave(); });

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto row = [&](const char* caption, const char* name, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(name);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row("&Driver:", "lblDriver", driver_);
    row("&Race:", "lblRace", race_);
    row("&Points:", "lblPoints", points_);
    row("R&eason:", "lblReason", reason_);
    auto* hint = new QLabel("Points taken are negative (-25), points given positive (10).", this);
    hint->setObjectName("lblHint");
    form->addRow(QString(), hint);

    const std::array<QPushButton*, 2> buttons =
        NewIndexedButtons(this, {{"Cancel"}, {"Save"}}, Twips(1095),
                          {[this] { reject(); },
                           [this] {
                               Save();
                           }});
    saveButton_ = buttons[1];
    saveButton_->setAutoDefault(true);
    saveButton_->setDefault(true);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons[1]);
    buttonRow->addWidget(buttons[0]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    UpdateSave();
}

void AdjustmentEditor::SetLeague(League& league) {
    driver_->clear();
    for (const DriverRow& driver : ListDrivers(league.Db())) {
        driver_->addItem(Q(driver.name));
    }
    race_->clear();
    race_->addItem(kSeason, 0);
    for (const RaceListRow& race : ReadRaceList(league.Db())) {
        race_->addItem(Q(race.name.empty() ? race.fileName : race.name), race.raceId);
    }
    UpdateSave();
}

void AdjustmentEditor::SetEntry(const AdjustmentEntry& entry) {
    driver_->setCurrentIndex(driver_->findText(Q(entry.driver), Qt::MatchFixedString));
    race_->setCurrentIndex(std::max(0, race_->findData(entry.raceId.value_or(0))));
    points_->setText(Q(entry.points));
    reason_->setText(Q(entry.reason));
}

AdjustmentEntry AdjustmentEditor::Entry() const {
    AdjustmentEntry entry;
    entry.driver = S(driver_->currentText());
    if (const int race = race_->currentData().toInt(); race > 0) {
        entry.raceId = race;
    }
    entry.points = S(points_->text());
    entry.reason = S(reason_->text());
    return entry;
}

void AdjustmentEditor::UpdateSave() {
    saveButton_->setEnabled(driver_->currentIndex() >= 0 && !points_->text().trimmed().isEmpty() &&
                            !reason_->text().trimmed().isEmpty());
}

void AdjustmentEditor::Save() {
    if (!saveButton_->isEnabled()) {
        return;
    }
    try {
        if (save_) {
            save_(Entry());
        }
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return;
    }
    Finish();
}

} // namespace scorewell::gui
