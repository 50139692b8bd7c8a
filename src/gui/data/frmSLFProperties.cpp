#include "data/frmSLFProperties.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/Controls.h"
#include "common/Formatting.h"
#include "common/Paths.h"
#include "data/League.h"
#include "data/LeagueFile.h"
#include "data/LeagueFileActions.h"
#include "data/Program.h"
#include "desktop/Desktop.h"

namespace scorewell::gui {

namespace {

const char* const kSimulations[4] = {"NASCAR Racing 3", "NASCAR Legends", "NASCAR Racing 2 / 1999",
                                     "NASCAR Racing 4"};

QLabel* Caption(const char* text, const char* name, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

} // namespace

frmSLFProperties::frmSLFProperties(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSLFProperties");
    setWindowTitle("Scorewell File Properties");

    txtFileName = new QLineEdit;
    txtFileName->setObjectName("txtFileName");
    txtFileName->setMinimumWidth(Twips(4800));
    connect(txtFileName, &QLineEdit::textChanged, this, [this] { txtFileName_Change(); });
    Label1 = Caption("&File Name:", "Label1", txtFileName);

    cboTitle = new QComboBox;
    cboTitle->setObjectName("cboTitle");
    for (int i = 0; i < 4; ++i) {
        cboTitle->addItem(kSimulations[i], i);
    }
    Label2 = Caption("Racing &Simulation:", "Label2", cboTitle);

    cboDroppedRaces = new QComboBox;
    cboDroppedRaces->setObjectName("cboDroppedRaces");
    for (int i = 0; i <= 10; ++i) {
        cboDroppedRaces->addItem(QString::number(i));
    }
    Label3 = Caption("Worst races to &drop:", "Label3", cboDroppedRaces);

    cboLeagueType = new QComboBox;
    cboLeagueType->setObjectName("cboLeagueType");
    cboLeagueType->addItem("On-line", 0);
    cboLeagueType->addItem("Off-line", 1);
    Label4 = Caption("&League Type:", "Label4", cboLeagueType);

    Frame1 = new QGroupBox;
    Frame1->setObjectName("Frame1");
    auto* methods = new QHBoxLayout(Frame1);
    const char* const methodCaptions[2] = {"&Speed", "&Time"};
    for (int i = 0; i < 2; ++i) {
        optLapMethod[i] = new QRadioButton(methodCaptions[i]);
        optLapMethod[i]->setObjectName(QString("optLapMethod_%1").arg(i));
        connect(optLapMethod[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) {
                lapReportingMethod_ = i;
            }
        });
        methods->addWidget(optLapMethod[i]);
    }
    methods->addStretch(1);
    optLapMethod[0]->setChecked(true);
    Label5 = Caption("&Lap Reporting Method:", "Label5", optLapMethod[0]);

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(txtFileName, 0, 1, 1, 2);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(cboTitle, 1, 1);
    fields->addWidget(Label3, 2, 0);
    fields->addWidget(cboDroppedRaces, 2, 1, Qt::AlignLeft);
    fields->addWidget(Label4, 3, 0);
    fields->addWidget(cboLeagueType, 3, 1, Qt::AlignLeft);
    fields->addWidget(Label5, 4, 0);
    fields->addWidget(Frame1, 4, 1);
    fields->setColumnStretch(2, 1);

    const char* const buttonCaptions[2] = {"Create", "Cancel"};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (int i = 0; i < 2; ++i) {
        cmdButton[i] = new QPushButton(buttonCaptions[i]);
        cmdButton[i]->setObjectName(QString("cmdButton_%1").arg(i));
        cmdButton[i]->setAutoDefault(false);
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
        buttons->addWidget(cmdButton[i]);
    }
    cmdButton[0]->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(Twips(120));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setNewDialog(false);
}

void frmSLFProperties::setNewDialog(bool newDialog) {
    newDialog_ = newDialog;
    const bool properties = !newDialog;
    txtFileName->setEnabled(newDialog);
    cboTitle->setEnabled(newDialog);
    cboLeagueType->setEnabled(newDialog);
    cmdButton[0]->setText(properties ? "OK" : "Create");
    cmdButton[0]->setDefault(properties);
    if (newDialog) {
        cboDroppedRaces->setCurrentIndex(0);
        cboLeagueType->setCurrentIndex(0);
        if (program_) {
            cboTitle->setCurrentIndex(DefaultSimIndex(program_->SimPath()));
        }
    }
}

void frmSLFProperties::setTabulonDB(Program* program) {
    program_ = program;
    if (newDialog_ && program_) {
        cboTitle->setCurrentIndex(DefaultSimIndex(program_->SimPath()));
    }
}

void frmSLFProperties::setFileName(const QString& fileName) {
    fileName_ = fileName;
    txtFileName->setText(fileName);
}

void frmSLFProperties::setSimTitle(int index) {
    cboTitle->setCurrentIndex(index);
}

void frmSLFProperties::setDroppedRaces(int index) {
    cboDroppedRaces->setCurrentIndex(index);
}

void frmSLFProperties::setLeagueType(int index) {
    cboLeagueType->setCurrentIndex(index);
}

void frmSLFProperties::setLapReportingMethod(int index) {
    if (index >= 0 && index < 2) {
        optLapMethod[index]->setChecked(true);
    }
}

int frmSLFProperties::DroppedRaces() const {
    return cboDroppedRaces->currentIndex();
}

void frmSLFProperties::txtFileName_Change() {
    cmdButton[0]->setEnabled(!txtFileName->text().trimmed().isEmpty());
}

void frmSLFProperties::cmdButton_Click(int index) {
    if (index == 1) {
        reject();
        return;
    }
    if (newDialog_ && !CreateLeague()) {
        return;
    }
    cancelled_ = false;
    done(QDialog::Accepted);
}

void frmSLFProperties::reject() {
    cancelled_ = true;
    if (newDialog_) {
        fileName_.clear();
    }
    done(QDialog::Rejected);
}

void frmSLFProperties::closeEvent(QCloseEvent* event) {
    // The close box only hides the dialog; what it was left with stands.
    event->accept();
    done(QDialog::Accepted);
}

void frmSLFProperties::Fail(const QString& description) {
    fileName_.clear();
    ShowMessage(this, description, "Error", MessageIcon::Exclamation);
}

bool frmSLFProperties::CreateLeague() {
    BusyPointer busy;
    const std::string fileName = NewLeagueFileName(S(txtFileName->text()), program_->Folder());
    fileName_ = Q(fileName);

    if (FileExists(fileName)) {
        const MessageAnswer answer =
            ShowMessage(this, Quoted(fileName_) + " already exists!  Do you want to replace it?",
                        "File Exists", MessageIcon::None, MessageButtons::YesNo);
        if (answer != MessageAnswer::Yes) {
            fileName_.clear();
            return false;
        }
        // The open league is replaced too: it is closed first, then the file is free.
        if (currentDB_ && IsSameFile(currentDB_->Path(), fileName)) {
            emit currentDBClosing();
            currentDB_ = nullptr;
        }
        if (DatabaseFileInUse(fileName)) {
            Fail(currentDB_ ? "Error creating new SLF file: " + Quoted(fileName_) +
                                  " is in use by another program."
                            : "Error creating new SLF file: Existing file is already open by "
                              "another program!");
            return false;
        }
    }
    try {
        CreateNewLeagueFile(fileName, cboTitle->currentData().toInt(),
                            cboLeagueType->currentData().toInt(), program_->Db(),
                            cboDroppedRaces->currentIndex(), lapReportingMethod_);
    } catch (const std::exception& e) {
        Fail("Error creating new SLF file: " + Q(e.what()));
        return false;
    }
    return true;
}

} // namespace scorewell::gui
