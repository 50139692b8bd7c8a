#include "editing/DriverEditor.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <array>
#include <optional>

#include "common/Controls.h"
#include "data/League.h"
#include "desktop/Desktop.h"
#include "editing/DriverRoster.h"

namespace scorewell::gui {

namespace {

// The handicap box holds at most five characters, so a handicap lies between -9999 and 99999.
constexpr int kHandicapLength = 5;

QLabel* Caption(const char* text, const char* name, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

} // namespace

DriverEditor::DriverEditor(QWidget* parent) : ModalDialog(parent) {
    setObjectName("frmEditDriver");
    setWindowTitle("Add Driver");

    // A limit on the name would cut a pasted name silently; Save checks its length instead.
    name_ = new QLineEdit(this);
    name_->setObjectName("txtName");
    name_->setValidator(new QRegularExpressionValidator(QRegularExpression("[^|]*"), name_));
    name_->setMinimumWidth(Twips(3000));
    SelectAllOnFocus(name_);
    connect(name_, &QLineEdit::textChanged, this,
            [this] { save_->setEnabled(!name_->text().trimmed().isEmpty()); });

    handicap_ = new QLineEdit(this);
    handicap_->setObjectName("txtHandicap");
    handicap_->setMaxLength(kHandicapLength);
    handicap_->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9-]*"), handicap_));
    handicap_->setFixedWidth(Twips(735));
    handicap_->installEventFilter(this);
    SelectAllOnFocus(handicap_);

    excluded_ = new QCheckBox("Excluded", this);
    excluded_->setObjectName("chkExcluded");
    rookie_ = new QCheckBox("Rookie", this);
    rookie_->setObjectName("chkRookie");

    const std::array<QPushButton*, 2> buttons =
        NewIndexedButtons(this, {{"&Save"}, {"Cancel"}}, Twips(1095),
                          {[this] { Save(); },
                           [this] {
                               reject();
                           }});
    save_ = buttons[0];
    save_->setAutoDefault(true);
    save_->setDefault(true);
    save_->setEnabled(false);

    auto* fields = new QGridLayout;
    fields->addWidget(Caption("Name:", "Label2", name_, this), 0, 0);
    fields->addWidget(name_, 0, 1, 1, 2);
    fields->addWidget(Caption("Handicap:", "Label1", handicap_, this), 1, 0);
    fields->addWidget(handicap_, 1, 1, Qt::AlignLeft);
    auto* flags = new QHBoxLayout;
    flags->addWidget(excluded_);
    flags->addWidget(rookie_);
    flags->addStretch(1);
    fields->addLayout(flags, 2, 1, 1, 2);
    fields->setColumnStretch(2, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons[0]);
    buttonRow->addWidget(buttons[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DriverEditor::PrepareAdd() {
    adding_ = true;
    setWindowTitle("Add Driver");
    name_->clear();
    handicap_->clear();
    excluded_->setChecked(false);
    rookie_->setChecked(false);
}

void DriverEditor::PrepareEdit(std::int32_t driverId) {
    adding_ = false;
    driverId_ = driverId;
    setWindowTitle("Edit Driver");
    std::optional<DriverRow> driver;
    try {
        driver = LoadDriver(league_->Db(), driverId);
    } catch (const std::exception& e) {
        ShowError(e);
        return;
    }
    if (!driver) {
        ShowMessage(this, "Couldn't find driver in database!", "Error", MessageIcon::Exclamation);
        return;
    }
    name_->setText(Q(driver->name));
    handicap_->setText(QString::number(driver->handicap));
    excluded_->setChecked(driver->exclude);
    rookie_->setChecked(driver->rookie);
}

QString DriverEditor::DriverName() const {
    return name_->text();
}

bool DriverEditor::Excluded() const {
    return excluded_->isChecked();
}

void DriverEditor::Save() {
    if (!save_->isEnabled()) {
        return;
    }
    if (adding_ ? SaveNew() : SaveEdited()) {
        Finish();
    }
}

bool DriverEditor::SaveNew() {
    DriverEntry entry{S(name_->text()), HandicapValue(S(handicap_->text())), rookie_->isChecked(),
                      excluded_->isChecked()};
    try {
        if (FindNameClash(league_->Db(), entry.name) != 0) {
            ShowMessage(this, "\"" + name_->text() + "\" already exists!", "Cannot Add Driver",
                        MessageIcon::Exclamation);
            return false;
        }
        driverId_ = AddDriver(league_->Db(), entry);
    } catch (const std::exception& e) {
        ShowError(e);
        return false;
    }
    return true;
}

bool DriverEditor::SaveEdited() {
    merged_ = false;
    DriverEntry entry{S(name_->text()), HandicapValue(S(handicap_->text())), rookie_->isChecked(),
                      excluded_->isChecked()};
    try {
        const std::int32_t other = FindNameClash(league_->Db(), entry.name, driverId_);
        if (other == 0) {
            UpdateDriver(league_->Db(), driverId_, entry);
            return true;
        }
        if (ShowMessage(this,
                        "\"" + name_->text() +
                            "\" already exists!\r\nDo you want to merge the points of both "
                            "drivers into a single driver?",
                        "Driver Exists", MessageIcon::Question,
                        MessageButtons::YesNo) != MessageAnswer::Yes) {
            return false;
        }
        MergeDrivers(*league_, driverId_, other);
        driverId_ = other;
        merged_ = true;
    } catch (const std::exception& e) {
        ShowError(e);
        return false;
    }
    return true;
}

bool DriverEditor::eventFilter(QObject* watched, QEvent* event) {
    // A handicap left blank is none.
    if (watched == handicap_ && event->type() == QEvent::FocusOut &&
        handicap_->text().trimmed().isEmpty()) {
        handicap_->setText("0");
    }
    return ModalDialog::eventFilter(watched, event);
}

void DriverEditor::ShowError(const std::exception& e) {
    ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
}

} // namespace scorewell::gui
