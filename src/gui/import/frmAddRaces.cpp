#include "import/frmAddRaces.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>
#include <optional>

#include "app/LeagueCommands.h"
#include "common/Controls.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/League.h"
#include "data/Program.h"
#include "desktop/Desktop.h"
#include "editing/frmEditRace.h"
#include "import/StageFiles.h"
#include "import/StagedImport.h"
#include "import/frmProgress.h"

namespace scorewell::gui {

namespace {

constexpr int kNascarRacing4 = 3;

struct ButtonDesign {
    const char* caption;
    const char* toolTip;
};

constexpr ButtonDesign kButtons[5] = {
    {"&Add", "Add files to import list."},
    {"&Remove", "Remove selected files from import list."},
    {"&Edit", "Edit selected file information."},
    {"Cancel", nullptr},
    {"&Import", nullptr},
};

constexpr int kListWidth = Twips(6000);
constexpr int kOnlineListHeight = Twips(2595);
constexpr int kOfflineListHeight = Twips(1995);

// The folder of the simulation's program that its result files are written to.
QString ExportsFolder(const std::string& simulationFolder) {
    if (Trim(simulationFolder).empty()) {
        return {};
    }
    const std::string folder = NativePath(simulationFolder);
    std::string exports = FindNoCase(folder, "exports", true);
    if (exports.empty()) {
        exports = JoinPath(folder, "exports");
    }
    return Q(WithTrailingSeparator(exports));
}

} // namespace

frmAddRaces::frmAddRaces(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAddRaces");
    setWindowTitle("Import");

    lstRaces = new QListWidget(this);
    lstRaces->setObjectName("lstRaces");
    lstRaces->setToolTip("List of files to be imported.");
    lstRaces->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstRaces->setMinimumSize(kListWidth, kOnlineListHeight);
    lstRaces->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstRaces->installEventFilter(this);
    connect(lstRaces, &QListWidget::itemSelectionChanged, this, [this] { lstRaces_Click(); });
    connect(lstRaces, &QListWidget::itemDoubleClicked, this, [this] { EditRace(); });
    Label1 = new QLabel("&Standing files to import:", this);
    Label1->setObjectName("Label1");
    Label1->setBuddy(lstRaces);

    lblNote = new QLabel("These standing files will be merged into a single event.  Only unique "
                         "drivers will be retained.",
                         this);
    lblNote->setObjectName("lblNote");
    lblNote->setWordWrap(true);

    cboLRM = new QComboBox(this);
    cboLRM->setObjectName("cboLRM");
    cboLRM->addItems({"Speed", "Time"});
    cboLRM->setToolTip("Sets the way files added to the import list will have their qualifying "
                       "values interpreted.");
    lblN3Msg = new QLabel("Interpret &Qualifying as:", this);
    lblN3Msg->setObjectName("lblN3Msg");
    lblN3Msg->setBuddy(cboLRM);

    for (int i = 0; i < 5; ++i) {
        cmdButton[i] = new QPushButton(kButtons[i].caption, this);
        cmdButton[i]->setObjectName(QString("cmdButton_%1").arg(i));
        if (kButtons[i].toolTip) {
            cmdButton[i]->setToolTip(kButtons[i].toolTip);
        }
        cmdButton[i]->setMinimumWidth(Twips(1095));
        // Enter belongs to the list, where it edits.
        cmdButton[i]->setAutoDefault(false);
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
    }

    auto* buttons = new QVBoxLayout;
    for (int i : {0, 1, 2}) {
        buttons->addWidget(cmdButton[i]);
    }
    buttons->addStretch(1);
    buttons->addWidget(cmdButton[4]);
    buttons->addWidget(cmdButton[3]);

    auto* method = new QHBoxLayout;
    method->addWidget(lblN3Msg);
    method->addWidget(cboLRM);
    method->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(Twips(120));
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(lstRaces, 1, 0);
    layout->addWidget(lblNote, 2, 0);
    layout->addLayout(method, 3, 0);
    layout->addLayout(buttons, 1, 1, 3, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
}

bool frmAddRaces::Load() {
    for (int i : {2, 1, 4}) {
        cmdButton[i]->setEnabled(false);
    }
    try {
        ClearStaging(*league_);
        pointTable_ = league_->LoadPointTable();
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return false;
    }
    const bool online = leagueType_ == 0;
    lblNote->setVisible(!online);
    lstRaces->setMinimumHeight(online ? kOnlineListHeight : kOfflineListHeight);
    cboLRM->setCurrentIndex(league_->Settings().lapReportingMethod == 1 ? 1 : 0);
    cboLRM->setVisible(simType_ != kNascarRacing4);
    lblN3Msg->setVisible(simType_ != kNascarRacing4);

    const int folder = simType_ == kNascarRacing4 ? 2 : simType_ == 1 ? 1 : 0;
    defaultFolder_ = ExportsFolder(program_->SimPath()[static_cast<std::size_t>(folder)]);
    adjustSize();
    return true;
}

void frmAddRaces::cmdButton_Click(int index) {
    switch (index) {
    case 0:
        AddFiles();
        break;
    case 1:
        RemoveFiles();
        break;
    case 2:
        EditRace();
        break;
    case 3:
        reject();
        break;
    case 4:
        Import();
        break;
    default:
        break;
    }
}

QString frmAddRaces::EntryText(const QString& path) const {
    const QString name = Q(FileNameOf(S(path), false));
    const QString folder = Q(FolderOf(S(path)));
    if (!defaultFolder_.isEmpty() && QDir::cleanPath(folder) == QDir::cleanPath(defaultFolder_)) {
        return name;
    }
    return name + "\t" + folder;
}

void frmAddRaces::ShowFailure(const std::string& title, const std::string& message) {
    ShowMessage(this, Q(message), Q(title),
                simType_ == kNascarRacing4 ? MessageIcon::Critical : MessageIcon::Exclamation);
}

void frmAddRaces::AddFiles() {
    FileDialogRequest request;
    request.filter = simType_ == kNascarRacing4 ? "N4 Exported Standings (*.html)|*.html"
                                                : "Standings File (*.stn)|*.stn";
    request.initialFolder = defaultFolder_;
    const QStringList chosen = TheDesktop().OpenFiles(this, request);

    if (!chosen.isEmpty()) {
        BusyPointer busy;
        std::vector<std::string> files;
        for (const QString& file : chosen) {
            files.push_back(S(file));
        }
        std::unique_ptr<frmProgress> progress;
        if (files.size() > 1) {
            progress = std::make_unique<frmProgress>(this);
            progress->setWindowTitle(simType_ == kNascarRacing4 ? "Reading Standings Files"
                                                                : "Reading STN Files");
            progress->Prog->setMaximum(static_cast<int>(files.size()));
            progress->show();
        }
        StageFilesProgress steps;
        steps.reading = [&](std::size_t i) {
            if (progress) {
                progress->Step("Reading: " + Quoted(Q(FileNameOf(files[i], false))),
                               static_cast<int>(i) + 1);
            }
        };
        steps.read = [&](std::size_t, const StagingResult& result) {
            if (!result.Staged()) {
                ShowFailure(result.title, result.message);
            }
        };
        try {
            const std::vector<StagingResult> results = StageResultFiles(
                *league_, pointTable_, files, simType_, cboLRM->currentIndex(), steps);
            for (std::size_t i = 0; i < results.size(); ++i) {
                if (results[i].Staged()) {
                    auto* entry = new QListWidgetItem(EntryText(chosen[static_cast<int>(i)]));
                    entry->setData(Qt::UserRole, results[i].stnRaceId);
                    lstRaces->addItem(entry);
                }
            }
        } catch (const std::exception& e) {
            progress.reset();
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        }
    }

    cmdButton[4]->setEnabled(true);
    if (lstRaces->selectedItems().isEmpty() && lstRaces->count() > 0) {
        lstRaces->setCurrentRow(0);
        lstRaces->item(0)->setSelected(true);
    }
}

void frmAddRaces::RemoveFiles() {
    std::vector<int> rows;
    std::vector<std::int32_t> ids;
    for (int row = lstRaces->count() - 1; row >= 0; --row) {
        if (lstRaces->item(row)->isSelected()) {
            rows.push_back(row);
            ids.push_back(lstRaces->item(row)->data(Qt::UserRole).toInt());
        }
    }
    if (ids.empty()) {
        return;
    }
    try {
        RemoveStagedRaces(*league_, ids);
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return;
    }
    for (int row : rows) {
        delete lstRaces->takeItem(row);
    }
    lstRaces_Click();
}

void frmAddRaces::EditRace() {
    if (lstRaces->selectedItems().size() != 1 || !lstRaces->currentItem()) {
        return;
    }
    frmEditRace editor(this);
    editor.setMode(1);
    editor.setDatabase(league_);
    editor.setTBDatabase(program_);
    editor.setRaceID(lstRaces->currentItem()->data(Qt::UserRole).toInt());
    if (editor.Load()) {
        TheDesktop().ShowModal(&editor);
    }
}

void frmAddRaces::Import() {
    if (leagueType_ == 1) {
        ShowMessage(this,
                    "Merging the standings files of an off-line league into one event is not "
                    "available yet.  Nothing was imported.",
                    "Notice", MessageIcon::Information);
        return;
    }
    if (!LeaveOutImportedFiles()) {
        return;
    }
    std::unique_ptr<frmProgress> progress;
    try {
        BusyPointer busy;
        ImportStagedRaces(*league_, [&](int done, int total) {
            // With no result to copy there is nothing to count.
            if (done == 0 && total > 0) {
                progress = std::make_unique<frmProgress>(this);
                progress->setWindowTitle("Importing Results");
                progress->Prog->setMaximum(total);
                progress->show();
            }
            if (progress) {
                progress->Step("Progress...", done);
            }
        });
    } catch (const std::exception& e) {
        progress.reset();
        ShowMessage(this, Q(e.what()) + "\n\nNothing was imported; the files stay on the list.",
                    "Error", MessageIcon::Exclamation);
        return;
    }
    progress.reset();
    cancelled_ = false;
    done(QDialog::Accepted);
}

bool frmAddRaces::LeaveOutImportedFiles() {
    for (int row = 0; row < lstRaces->count();) {
        QListWidgetItem* entry = lstRaces->item(row);
        const std::int32_t stnRaceId = entry->data(Qt::UserRole).toInt();
        std::optional<ImportedRace> race;
        try {
            race = FindImportedRace(*league_, stnRaceId);
        } catch (const std::exception& e) {
            ShowMessage(this, Q(e.what()) + "\n\nNothing was imported; the files stay on the list.",
                        "Error", MessageIcon::Exclamation);
            return false;
        }
        if (race) {
            const QString file = entry->text().section('\t', 0, 0);
            const QString text = Quoted(file) + " has already been imported as race " +
                                 QString::number(race->raceId) +
                                 (race->name.empty() ? QString() : ", " + Quoted(Q(race->name))) +
                                 ", with the same results.  Do you want to import it again?";
            if (ShowMessage(this, text, "Already Imported", MessageIcon::Question,
                            MessageButtons::YesNo) != MessageAnswer::Yes) {
                try {
                    RemoveStagedRaces(*league_, {stnRaceId});
                } catch (const std::exception& e) {
                    ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
                    return false;
                }
                delete lstRaces->takeItem(row);
                continue;
            }
        }
        ++row;
    }
    lstRaces_Click();
    return true;
}

void frmAddRaces::lstRaces_Click() {
    const auto selected = lstRaces->selectedItems().size();
    cmdButton[2]->setEnabled(selected == 1);
    cmdButton[1]->setEnabled(selected >= 1);
}

void frmAddRaces::reject() {
    cancelled_ = true;
    done(QDialog::Rejected);
}

void frmAddRaces::closeEvent(QCloseEvent* event) {
    event->accept();
    reject();
}

bool frmAddRaces::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstRaces && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EditRace();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ShowAddRaces(LeagueCommandContext& context) {
    frmAddRaces dialog(context.owner);
    dialog.setDatabase(&context.league);
    dialog.setTBDatabase(&context.program);
    dialog.setSimType(context.league.Settings().simTitle);
    dialog.setLeagueType(context.league.Settings().leagueType);
    if (dialog.Load()) {
        TheDesktop().ShowModal(&dialog);
    }
}

} // namespace scorewell::gui
