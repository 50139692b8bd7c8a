#include "editing/frmEditDriver2.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/Controls.h"
#include "common/Errors.h"
#include "data/Drivers.h"
#include "data/League.h"
#include "desktop/Desktop.h"
#include "editing/frmPickDriver.h"

namespace scorewell::gui {

namespace {

struct FieldDesign {
    const char* caption;
    int maxLength; // 0: no limit while typing
    int widthTwips;
};

// A limit on the name would cut a pasted name silently; Save checks it instead.
constexpr FieldDesign kFieldDesigns[frmEditDriver2::kFields] = {
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
    return field == frmEditDriver2::Name || field == frmEditDriver2::AvgSpeed ||
           field == frmEditDriver2::Qualifying;
}

} // namespace

frmEditDriver2::frmEditDriver2(QWidget* parent) : QDialog(parent) {
    setObjectName("frmEditDriver2");
    setWindowTitle("Edit Driver Result");

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName("Frame1");
    auto* fields = new QGridLayout(Frame1);
    fields->setHorizontalSpacing(Twips(120));
    for (int i = 0; i < kFields; ++i) {
        const FieldDesign& design = kFieldDesigns[i];
        txtInfo[i] = new QLineEdit(Frame1);
        txtInfo[i]->setObjectName(QString("txtInfo_%1").arg(i));
        if (design.maxLength > 0) {
            txtInfo[i]->setMaxLength(design.maxLength);
        }
        txtInfo[i]->setFixedWidth(Twips(design.widthTwips));
        txtInfo[i]->installEventFilter(this);
        connect(txtInfo[i], &QLineEdit::textChanged, this, [this] { UpdateSave(); });
        lblInfo[i] = new QLabel(design.caption, Frame1);
        lblInfo[i]->setObjectName(QString("lblInfo_%1").arg(i));
        lblInfo[i]->setBuddy(txtInfo[i]);
        fields->addWidget(lblInfo[i], i, 0, Qt::AlignRight | Qt::AlignVCenter);
        if (i == Name) {
            cmdPickDriver = new QPushButton("Drivers...", Frame1);
            cmdPickDriver->setObjectName("cmdPickDriver");
            cmdPickDriver->setAutoDefault(false);
            connect(cmdPickDriver, &QPushButton::clicked, this, [this] { cmdPickDriver_Click(); });
            auto* name = new QHBoxLayout;
            name->addWidget(txtInfo[i]);
            name->addWidget(cmdPickDriver);
            name->addStretch(1);
            fields->addLayout(name, i, 1);
        } else {
            fields->addWidget(txtInfo[i], i, 1, Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    cboReasonOut = new QComboBox(Frame1);
    cboReasonOut->setObjectName("cboReasonOut");
    cboReasonOut->setEditable(true);
    cboReasonOut->setInsertPolicy(QComboBox::NoInsert);
    for (const char* reason : kReasonsOut) {
        cboReasonOut->addItem(reason);
    }
    cboReasonOut->setMaxVisibleItems(12);
    cboReasonOut->lineEdit()->setMaxLength(kReasonOutLength);
    cboReasonOut->setFixedWidth(Twips(2400));
    lblReasonOut = new QLabel("Reason Out:", Frame1);
    lblReasonOut->setObjectName("lblReasonOut");
    lblReasonOut->setBuddy(cboReasonOut);
    fields->addWidget(lblReasonOut, kFields, 0, Qt::AlignRight | Qt::AlignVCenter);
    fields->addWidget(cboReasonOut, kFields, 1, Qt::AlignLeft | Qt::AlignVCenter);
    fields->setColumnStretch(1, 1);

    const char* const captions[2] = {"Cancel", "Save"};
    for (int i = 0; i < 2; ++i) {
        cmdButton[i] = new QPushButton(captions[i], this);
        cmdButton[i]->setObjectName(QString("cmdButton_%1").arg(i));
        cmdButton[i]->setMinimumWidth(Twips(1095));
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
    }
    cmdButton[1]->setDefault(true);
    cmdButton[0]->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdButton[1]);
    buttons->addWidget(cmdButton[0]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    UpdateSave();
}

void frmEditDriver2::setDatabase(League* league) {
    league_ = league;
    const bool online = league && league->Settings().leagueType == 0;
    lblInfo[AvgSpeed]->setVisible(!online);
    txtInfo[AvgSpeed]->setVisible(!online);
}

void frmEditDriver2::setEntry(const ResultEntry& entry) {
    const std::string* texts[kFields] = {&entry.finish,  &entry.start,    &entry.name,
                                         &entry.lapsRun, &entry.lapsLed,  &entry.points,
                                         &entry.bonus,   &entry.avgSpeed, &entry.qualifying};
    for (int i = 0; i < kFields; ++i) {
        txtInfo[i]->setText(Q(*texts[i]));
    }
    cboReasonOut->setCurrentText(Q(entry.reasonOut));
}

ResultEntry frmEditDriver2::Entry() const {
    auto text = [this](int field) {
        return S(txtInfo[field]->text());
    };
    return ResultEntry{text(Finish),     text(Start),
                       text(Name),       text(LapsRun),
                       text(LapsLed),    text(Points),
                       text(Bonus),      text(AvgSpeed),
                       text(Qualifying), S(cboReasonOut->currentText())};
}

void frmEditDriver2::UpdateSave() {
    bool complete = true;
    for (QLineEdit* field : txtInfo) {
        complete = complete && !field->text().trimmed().isEmpty();
    }
    cmdButton[1]->setEnabled(complete);
}

void frmEditDriver2::cmdButton_Click(int index) {
    if (index == 1) {
        try {
            CheckedDriverName(S(txtInfo[Name]->text()));
        } catch (const ScorewellError& e) {
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
            txtInfo[Name]->setFocus();
            return;
        }
        cancelled_ = false;
        done(QDialog::Accepted);
    } else {
        reject();
    }
}

void frmEditDriver2::cmdPickDriver_Click() {
    if (!league_) {
        return;
    }
    frmPickDriver picker(this);
    try {
        picker.setDatabase(league_);
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return;
    }
    TheDesktop().ShowModal(&picker);
    if (!picker.Cancelled()) {
        txtInfo[Name]->setText(picker.Choice().trimmed());
    }
}

void frmEditDriver2::reject() {
    cancelled_ = true;
    done(QDialog::Rejected);
}

void frmEditDriver2::closeEvent(QCloseEvent* event) {
    event->accept();
    reject();
}

int frmEditDriver2::FieldOf(QObject* watched) const {
    for (int i = 0; i < kFields; ++i) {
        if (watched == txtInfo[i]) {
            return i;
        }
    }
    return -1;
}

bool frmEditDriver2::eventFilter(QObject* watched, QEvent* event) {
    const int field = FieldOf(watched);
    if (field < 0) {
        return QDialog::eventFilter(watched, event);
    }
    QLineEdit* box = txtInfo[field];
    switch (event->type()) {
    case QEvent::FocusIn:
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
        break;
    case QEvent::FocusOut:
        if ((field == AvgSpeed || field == Qualifying) && box->text().trimmed().isEmpty()) {
            box->setText("0");
        }
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (field == Name || key->matches(QKeySequence::Copy) ||
            key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut)) {
            break;
        }
        const QString text = key->text();
        // Keys without a printable character (Backspace, arrows, Tab) always pass.
        if (text.isEmpty() || !text.at(0).isPrint()) {
            break;
        }
        const bool digit = text.size() == 1 && text.at(0) >= '0' && text.at(0) <= '9';
        const bool point = text == "." && AllowsPoint(field);
        if (!digit && !point) {
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace scorewell::gui
