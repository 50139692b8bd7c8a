#include "data/LeaguePropertiesDialog.h"

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

LeaguePropertiesDialog::LeaguePropertiesDialog(Program& program, QWidget* parent)
    : ModalDialog(parent, CloseBox::Keeps), program_(program) {
    setObjectName("frmSLFProperties");
    setWindowTitle("Scorewell File Properties");

    fileNameBox_ = new QLineEdit;
    fileNameBox_->setObjectName("txtFileName");
    fileNameBox_->setMinimumWidth(Twips(4800));
    connect(fileNameBox_, &QLineEdit::textChanged, this,
            [this] { ok_->setEnabled(!fileNameBox_->text().trimmed().isEmpty()); });

    simulation_ = new QComboBox;
    simulation_->setObjectName("cboTitle");
    for (int i = 0; i < 4; ++i) {
        simulation_->addItem(kSimulations[i], i);
    }

    droppedRaces_ = new QComboBox;
    droppedRaces_->setObjectName("cboDroppedRaces");
    for (int i = 0; i <= 10; ++i) {
        droppedRaces_->addItem(QString::number(i));
    }

    leagueType_ = new QComboBox;
    leagueType_->setObjectName("cboLeagueType");
    leagueType_->addItem("On-line", static_cast<int>(LeagueType::Online));
    leagueType_->addItem("Off-line", static_cast<int>(LeagueType::Offline));

    auto* lapMethodFrame = new QGroupBox;
    lapMethodFrame->setObjectName("Frame1");
    auto* methods = new QHBoxLayout(lapMethodFrame);
    const char* const methodCaptions[2] = {"S&peed", "&Time"};
    for (int i = 0; i < 2; ++i) {
        lapMethods_[i] = new QRadioButton(methodCaptions[i]);
        lapMethods_[i]->setObjectName(QString("optLapMethod_%1").arg(i));
        methods->addWidget(lapMethods_[i]);
    }
    methods->addStretch(1);
    lapMethods_[0]->setChecked(true);

    auto* fields = new QGridLayout;
    fields->addWidget(Caption("&File Name:", "Label1", fileNameBox_), 0, 0);
    fields->addWidget(fileNameBox_, 0, 1, 1, 2);
    fields->addWidget(Caption("Racing &Simulation:", "Label2", simulation_), 1, 0);
    fields->addWidget(simulation_, 1, 1);
    fields->addWidget(Caption("Worst races to &drop:", "Label3", droppedRaces_), 2, 0);
    fields->addWidget(droppedRaces_, 2, 1, Qt::AlignLeft);
    fields->addWidget(Caption("&League Type:", "Label4", leagueType_), 3, 0);
    fields->addWidget(leagueType_, 3, 1, Qt::AlignLeft);
    fields->addWidget(Caption("Lap &Reporting Method:", "Label5", lapMethods_[0]), 4, 0);
    fields->addWidget(lapMethodFrame, 4, 1);
    fields->setColumnStretch(2, 1);

    const std::array<QPushButton*, 2> buttons =
        NewIndexedButtons(nullptr, {{"Create"}, {"Cancel"}}, 0,
                          {[this] { Ok(); },
                           [this] {
                               reject();
                           }});
    ok_ = buttons[0];
    ok_->setEnabled(false);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(buttons[0]);
    buttonRow->addWidget(buttons[1]);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(Twips(120));
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetMode(false);
}

void LeaguePropertiesDialog::SetMode(bool newFile) {
    newFile_ = newFile;
    fileNameBox_->setEnabled(newFile);
    simulation_->setEnabled(newFile);
    leagueType_->setEnabled(newFile);
    ok_->setText(newFile ? "Create" : "OK");
    ok_->setDefault(!newFile);
}

void LeaguePropertiesDialog::SetNewFile(const League* openLeague) {
    SetMode(true);
    setWindowTitle("New Scorewell File");
    openLeague_ = openLeague;
    droppedRaces_->setCurrentIndex(0);
    leagueType_->setCurrentIndex(0);
    simulation_->setCurrentIndex(DefaultSimIndex(program_.SimPath()));
}

void LeaguePropertiesDialog::SetLeague(const League& league) {
    SetMode(false);
    setWindowTitle("Properties - " + Q(FileNameOf(league.Path(), true)));
    fileName_ = Q(league.Path());
    fileNameBox_->setText(fileName_);
    const WorkingSettings& s = league.Settings();
    simulation_->setCurrentIndex(static_cast<int>(s.simTitle));
    droppedRaces_->setCurrentIndex(s.droppedRaces);
    leagueType_->setCurrentIndex(static_cast<int>(s.leagueType));
    lapMethods_[static_cast<std::size_t>(s.lapReportingMethod)]->setChecked(true);
}

int LeaguePropertiesDialog::DroppedRaces() const {
    return droppedRaces_->currentIndex();
}

LapReportingMethod LeaguePropertiesDialog::LapMethod() const {
    return lapMethods_[static_cast<std::size_t>(LapReportingMethod::LapTime)]->isChecked()
               ? LapReportingMethod::LapTime
               : LapReportingMethod::Speed;
}

void LeaguePropertiesDialog::Ok() {
    if (newFile_ && !CreateLeague()) {
        return;
    }
    Finish();
}

void LeaguePropertiesDialog::Fail(const QString& description) {
    fileName_.clear();
    ShowMessage(this, description, "Error", MessageIcon::Exclamation);
}

bool LeaguePropertiesDialog::CreateLeague() {
    BusyPointer busy;
    const std::string fileName = NewLeagueFileName(S(fileNameBox_->text()), program_.Folder());
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
        if (openLeague_ && IsSameFile(openLeague_->Path(), fileName)) {
            emit openLeagueClosing();
            openLeague_ = nullptr;
        }
        if (DatabaseFileInUse(fileName)) {
            Fail(openLeague_ ? "Error creating new SLF file: " + Quoted(fileName_) +
                                   " is in use by another program."
                             : "Error creating new SLF file: Existing file is already open by "
                               "another program!");
            return false;
        }
    }
    try {
        CreateNewLeagueFile(fileName, simulation_->currentData().toInt(),
                            leagueType_->currentData().toInt(), program_.Db(),
                            droppedRaces_->currentIndex(), static_cast<int>(LapMethod()));
    } catch (const std::exception& e) {
        Fail("Error creating new SLF file: " + Q(e.what()));
        return false;
    }
    return true;
}

} // namespace scorewell::gui
