#include "editing/ResultEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Controls.h"
#include "common/Errors.h"
#include "common/Formatting.h"
#include "data/Drivers.h"
#include "data/League.h"
#include "desktop/Desktop.h"
#include "editing/DriverPicker.h"

namespace scorewell::gui {

namespace {

enum Field { kFinish, kStart, kName, kLapsRun, kLapsLed, kPoints, kBonus, kAvgSpeed, kQualifying };

struct FieldDesign {
    const char* caption;
    int maxLength; // 0: no limit while typing
    int widthTwips;
};

// A limit on the name would cut a pasted name silently; Save checks it instead.
constexpr FieldDesign kFieldDesigns[] = {
    {"Finish:", 3, 615},   {"Start:", 3, 615},      {"Name:", 0, 3000},
    {"Laps Run:", 3, 615}, {"Laps Led:", 3, 615},   {"Points:", 3, 615},
    {"Bonus:", 3, 615},    {"Avg Speed:", 7, 1095}, {"Qualifying:", 7, 1095},
};

const char* const kReasonsOut[] = {
    "Accident",   "Brakes",     "Clutch",     "DNF",       "DNS",        "DQ",
    "Electrical", "Engine",     "Fire",       "Fuel Pump", "Gasket",     "Gearbox",
    "Handling",   "Header",     "Mechanical", "Oil leak",  "Oil pump",   "Running",
    "Shifter",    "Suspension", "Valve",      "Vibration", "Water Hose", "Waterpump",
};

// The league file keeps a Reason Out of at most 25 characters.
constexpr int kReasonOutLength = 25;

bool AllowsPoint(int field) {
    return field == kName || field == kAvgSpeed || field == kQualifying;
}

} // namespace

ResultEditor::ResultEditor(QWidget* parent) : ModalDialog(parent) {
    static_assert(std::size(kFieldDesigns) == kFields);
    setObjectName("frmEditDriver2");
    setWindowTitle("Edit Driver Result");

    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame1");
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(Twips(120));
    for (int i = 0; i < kFields; ++i) {
        const FieldDesign& design = kFieldDesigns[i];
        QLineEdit* box = fields_[i] = new QLineEdit(frame);
        box->setObjectName(QString("txtInfo_%1").arg(i));
        if (design.maxLength > 0) {
            box->setMaxLength(design.maxLength);
        }
        box->setFixedWidth(Twips(design.widthTwips));
        box->installEventFilter(this);
        SelectAllOnFocus(box);
        connect(box, &QLineEdit::textChanged, this, [this] { UpdateSave(); });
        captions_[i] = new QLabel(design.caption, frame);
        captions_[i]->setObjectName(QString("lblInfo_%1").arg(i));
        captions_[i]->setBuddy(box);
        grid->addWidget(captions_[i], i, 0, Qt::AlignRight | Qt::AlignVCenter);
        if (i == kName) {
            auto* pick = new QPushButton("Drivers...", frame);
            pick->setObjectName("cmdPickDriver");
            pick->setAutoDefault(false);
            connect(pick, &QPushButton::clicked, this, [this] { PickDriver(); });
            auto* name = new QHBoxLayout;
            name->addWidget(box);
            name->addWidget(pick);
            name->addStretch(1);
            grid->addLayout(name, i, 1);
        } else {
            grid->addWidget(box, i, 1, Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    reasonOut_ = new QComboBox(frame);
    reasonOut_->setObjectName("cboReasonOut");
    reasonOut_->setEditable(true);
    reasonOut_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* reason : kReasonsOut) {
        reasonOut_->addItem(reason);
    }
    reasonOut_->setMaxVisibleItems(12);
    reasonOut_->lineEdit()->setMaxLength(kReasonOutLength);
    reasonOut_->setFixedWidth(Twips(2400));
    auto* reasonOutCaption = new QLabel("Reason Out:", frame);
    reasonOutCaption->setObjectName("lblReasonOut");
    reasonOutCaption->setBuddy(reasonOut_);
    grid->addWidget(reasonOutCaption, kFields, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(reasonOut_, kFields, 1, Qt::AlignLeft | Qt::AlignVCenter);
    grid->setColumnStretch(1, 1);

    const std::array<QPushButton*, 2> buttons =
        NewIndexedButtons(this, {{"Cancel"}, {"Save"}}, Twips(1095),
                          {[this] { reject(); },
                           [this] {
                               Save();
                           }});
    save_ = buttons[1];
    save_->setAutoDefault(true);
    save_->setDefault(true);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons[1]);
    buttonRow->addWidget(buttons[0]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    UpdateSave();
}

void ResultEditor::SetLeague(League& league) {
    league_ = &league;
    const bool online = league.Settings().leagueType == LeagueType::Online;
    captions_[kAvgSpeed]->setVisible(!online);
    fields_[kAvgSpeed]->setVisible(!online);
}

void ResultEditor::SetEntry(const ResultEntry& entry) {
    const std::string* texts[kFields] = {&entry.finish,  &entry.start,    &entry.name,
                                         &entry.lapsRun, &entry.lapsLed,  &entry.points,
                                         &entry.bonus,   &entry.avgSpeed, &entry.qualifying};
    for (int i = 0; i < kFields; ++i) {
        fields_[i]->setText(Q(*texts[i]));
    }
    reasonOut_->setCurrentText(Q(entry.reasonOut));
}

ResultEntry ResultEditor::Entry() const {
    auto text = [this](int field) {
        return S(fields_[field]->text());
    };
    return ResultEntry{text(kFinish),     text(kStart),
                       text(kName),       text(kLapsRun),
                       text(kLapsLed),    text(kPoints),
                       text(kBonus),      text(kAvgSpeed),
                       text(kQualifying), S(reasonOut_->currentText())};
}

void ResultEditor::UpdateSave() {
    bool complete = true;
    for (QLineEdit* field : fields_) {
        complete = complete && !field->text().trimmed().isEmpty();
    }
    save_->setEnabled(complete);
}

void ResultEditor::Save() {
    try {
        CheckedDriverName(S(fields_[kName]->text()));
    } catch (const ScorewellError& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        fields_[kName]->setFocus();
        return;
    }
    if (qualifyingAsLapTime_ && !SpeedOfLapTimeEntry(S(fields_[kQualifying]->text()), 1)) {
        ShowMessage(this,
                    "The qualifying lap time " + Quoted(fields_[kQualifying]->text()) +
                        " is not a time: type seconds (49.5) or minutes and seconds (1:05.5).",
                    "Error", MessageIcon::Exclamation);
        fields_[kQualifying]->setFocus();
        return;
    }
    Finish();
}

void ResultEditor::PickDriver() {
    if (!league_) {
        return;
    }
    DriverPicker picker(this);
    try {
        picker.SetLeague(*league_);
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return;
    }
    TheDesktop().ShowModal(&picker);
    if (!picker.Cancelled()) {
        fields_[kName]->setText(picker.Choice().trimmed());
    }
}

int ResultEditor::FieldOf(QObject* watched) const {
    for (int i = 0; i < kFields; ++i) {
        if (watched == fields_[i]) {
            return i;
        }
    }
    return -1;
}

bool ResultEditor::eventFilter(QObject* watched, QEvent* event) {
    const int field = FieldOf(watched);
    if (field < 0) {
        return ModalDialog::eventFilter(watched, event);
    }
    QLineEdit* box = fields_[field];
    if (event->type() == QEvent::FocusOut) {
        // A speed left empty is none.
        if ((field == kAvgSpeed || field == kQualifying) && box->text().trimmed().isEmpty()) {
            box->setText("0");
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        // The name takes anything; the figures digits only, and a point in the speeds. Keys
        // without a printable character (Backspace, arrows, Tab) and the clipboard's always
        // pass.
        if (field != kName && !key->matches(QKeySequence::Copy) &&
            !key->matches(QKeySequence::Paste) && !key->matches(QKeySequence::Cut) &&
            !text.isEmpty() && text.at(0).isPrint()) {
            const bool digit = text.size() == 1 && text.at(0) >= '0' && text.at(0) <= '9';
            const bool point = text == "." && AllowsPoint(field);
            const bool colon = text == ":" && field == kQualifying && qualifyingAsLapTime_;
            if (!digit && !point && !colon) {
                return true;
            }
        }
    }
    return ModalDialog::eventFilter(watched, event);
}

} // namespace scorewell::gui
