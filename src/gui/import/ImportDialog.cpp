#include "import/ImportDialog.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <memory>
#include <optional>

#include "app/LeagueCommands.h"
#include "common/Controls.h"
#include "common/Domain.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/League.h"
#include "data/Program.h"
#include "data/SimulationFolders.h"
#include "desktop/Desktop.h"
#include "editing/RaceResultsEditor.h"
#include "import/OfflineMerge.h"
#include "import/ProgressWindow.h"
#include "import/SimilarNames.h"
#include "import/StageFiles.h"
#include "import/StagedImport.h"

namespace scorewell::gui {

namespace {

constexpr ButtonDesign kButtons[5] = {
    {"&Add", "Add files to import list."},
    {"&Remove", "Remove selected files from import list."},
    {"&Edit", "Edit selected file information."},
    {"Cancel"},
    {"&Import"},
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

ImportDialog::ImportDialog(QWidget* parent) : ModalDialog(parent) {
    setObjectName("frmAddRaces");
    setWindowTitle("Import");

    list_ = new QListWidget(this);
    list_->setObjectName("lstRaces");
    list_->setToolTip("List of files to be imported.");
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setMinimumSize(kListWidth, kOnlineListHeight);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->installEventFilter(this);
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { SelectionChanged(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { EditRace(); });
    auto* listCaption = new QLabel("&Standing files to import:", this);
    listCaption->setObjectName("Label1");
    listCaption->setBuddy(list_);

    offlineNote_ = new QLabel("These standing files will be merged into a single event.  Only "
                              "unique drivers will be retained.",
                              this);
    offlineNote_->setObjectName("lblNote");
    offlineNote_->setWordWrap(true);

    qualifying_ = new QComboBox(this);
    qualifying_->setObjectName("cboLRM");
    qualifying_->addItems({"Speed", "Time"});
    qualifying_->setToolTip("Sets the way files added to the import list will have their "
                            "qualifying values interpreted.");
    qualifyingCaption_ = new QLabel("Interpret &Qualifying as:", this);
    qualifyingCaption_->setObjectName("lblN3Msg");
    qualifyingCaption_->setBuddy(qualifying_);

    // Enter belongs to the list, where it edits: no button is the default.
    buttons_ = NewIndexedButtons(this, kButtons, Twips(1095),
                                 {[this] { AddFiles(); }, [this] { RemoveFiles(); },
                                  [this] { EditRace(); }, [this] { reject(); },
                                  [this] {
                                      ImportRaces();
                                  }});
    auto* buttons = new QVBoxLayout;
    for (Button b : {Add, Remove, Edit}) {
        buttons->addWidget(buttons_[b]);
    }
    buttons->addStretch(1);
    buttons->addWidget(buttons_[Import]);
    buttons->addWidget(buttons_[Cancel]);

    auto* method = new QHBoxLayout;
    method->addWidget(qualifyingCaption_);
    method->addWidget(qualifying_);
    method->addStretch(1);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(Twips(120));
    layout->addWidget(listCaption, 0, 0);
    layout->addWidget(list_, 1, 0);
    layout->addWidget(offlineNote_, 2, 0);
    layout->addLayout(method, 3, 0);
    layout->addLayout(buttons, 1, 1, 3, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
}

bool ImportDialog::NascarRacing4() const {
    return league_->Settings().simTitle == Simulation::NascarRacing4;
}

bool ImportDialog::Load() {
    for (Button b : {Edit, Remove, Import}) {
        buttons_[b]->setEnabled(false);
    }
    try {
        ClearStaging(*league_);
        pointTable_ = league_->LoadPointTable();
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return false;
    }
    const bool online = league_->Settings().leagueType == LeagueType::Online;
    offlineNote_->setVisible(!online);
    list_->setMinimumHeight(online ? kOnlineListHeight : kOfflineListHeight);
    qualifying_->setCurrentIndex(static_cast<int>(league_->Settings().lapReportingMethod));
    qualifying_->setVisible(!NascarRacing4());
    qualifyingCaption_->setVisible(!NascarRacing4());

    const int folder = SimulationFolderIndex(league_->Settings().simTitle);
    defaultFolder_ =
        ExportsFolder(league_->GetProgram().SimPath()[static_cast<std::size_t>(folder)]);
    adjustSize();
    return true;
}

QString ImportDialog::EntryText(const QString& path) const {
    const QString name = Q(FileNameOf(S(path), false));
    const QString folder = Q(FolderOf(S(path)));
    if (!defaultFolder_.isEmpty() && QDir::cleanPath(folder) == QDir::cleanPath(defaultFolder_)) {
        return name;
    }
    return name + "\t" + folder;
}

void ImportDialog::ShowFailure(const std::string& title, const std::string& message) {
    ShowMessage(this, Q(message), Q(title),
                NascarRacing4() ? MessageIcon::Critical : MessageIcon::Exclamation);
}

void ImportDialog::AddFiles() {
    FileDialogRequest request;
    request.filter =
        NascarRacing4() ? "N4 Exported Standings (*.html)|*.html" : "Standings File (*.stn)|*.stn";
    request.initialFolder = defaultFolder_;
    const QStringList chosen = TheDesktop().OpenFiles(this, request);

    if (!chosen.isEmpty()) {
        BusyPointer busy;
        std::vector<std::string> files;
        for (const QString& file : chosen) {
            files.push_back(S(file));
        }
        std::unique_ptr<ProgressWindow> progress;
        if (files.size() > 1) {
            progress = std::make_unique<ProgressWindow>(NascarRacing4() ? "Reading Standings Files"
                                                                        : "Reading STN Files",
                                                        static_cast<int>(files.size()), this);
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
                *league_, pointTable_, files, league_->Settings().simTitle,
                static_cast<LapReportingMethod>(qualifying_->currentIndex()), steps);
            for (std::size_t i = 0; i < results.size(); ++i) {
                if (results[i].Staged()) {
                    auto* entry = new QListWidgetItem(EntryText(chosen[static_cast<int>(i)]));
                    entry->setData(Qt::UserRole, results[i].stnRaceId);
                    list_->addItem(entry);
                }
            }
        } catch (const std::exception& e) {
            progress.reset();
            ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        }
    }

    MarkSimilarNames();
    buttons_[Import]->setEnabled(true);
    if (list_->selectedItems().isEmpty() && list_->count() > 0) {
        list_->setCurrentRow(0);
        list_->item(0)->setSelected(true);
    }
}

void ImportDialog::RemoveFiles() {
    std::vector<int> rows;
    std::vector<std::int32_t> ids;
    for (int row = list_->count() - 1; row >= 0; --row) {
        if (list_->item(row)->isSelected()) {
            rows.push_back(row);
            ids.push_back(list_->item(row)->data(Qt::UserRole).toInt());
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
        delete list_->takeItem(row);
    }
    MarkSimilarNames();
    SelectionChanged();
}

void ImportDialog::MarkSimilarNames() {
    std::vector<SimilarName> similar;
    try {
        similar = SimilarStagedNames(*league_);
    } catch (const std::exception&) {
        return; // only a hint: the import itself says what is wrong with the league
    }
    const int size = list_->fontMetrics().height();
    list_->setIconSize(QSize(size, size));
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    QPixmap empty(size, size);
    empty.fill(Qt::transparent);
    const QIcon blank(empty);
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* entry = list_->item(row);
        QStringList pairs;
        for (const SimilarName& s : similar) {
            if (s.stnRaceId == entry->data(Qt::UserRole).toInt()) {
                pairs << Quoted(Q(s.newName)) + " looks like " + Quoted(Q(s.existingName));
            }
        }
        // Every entry has room for the mark, so the names stay in line.
        entry->setIcon(pairs.isEmpty() ? blank : warning);
        entry->setToolTip(pairs.isEmpty()
                              ? QString()
                              : "New drivers whose names look like others':\n" + pairs.join("\n") +
                                    "\nWhen two names are one driver, merge them in "
                                    "the Driver List after the import.");
    }
}

void ImportDialog::EditRace() {
    if (list_->selectedItems().size() != 1 || !list_->currentItem()) {
        return;
    }
    RaceResultsEditor editor(this);
    editor.SetLeague(*league_);
    editor.SetRace(RaceSource::Staged, list_->currentItem()->data(Qt::UserRole).toInt());
    if (editor.Load()) {
        TheDesktop().ShowModal(&editor);
        MarkSimilarNames();
    }
}

void ImportDialog::ImportRaces() {
    if (league_->Settings().leagueType == LeagueType::Offline) {
        MergeRaces();
        return;
    }
    if (!LeaveOutImportedFiles()) {
        return;
    }
    std::unique_ptr<ProgressWindow> progress;
    try {
        BusyPointer busy;
        ImportStagedRaces(*league_, [&](int done, int total) {
            // With no result to copy there is nothing to count.
            if (done == 0 && total > 0) {
                progress = std::make_unique<ProgressWindow>("Importing Results", total, this);
                progress->show();
            }
            if (progress) {
                progress->Step("Progress...", done);
            }
        });
    } catch (const std::exception& e) {
        progress.reset();
        ShowNothingImported(e);
        return;
    }
    progress.reset();
    Finish();
}

void ImportDialog::ShowNothingImported(const std::exception& e) {
    ShowMessage(this, Q(e.what()) + "\n\nNothing was imported; the files stay on the list.",
                "Error", MessageIcon::Exclamation);
}

void ImportDialog::MergeRaces() {
    std::unique_ptr<ProgressWindow> progress;
    MergeOutcome outcome;
    try {
        BusyPointer busy;
        progress = std::make_unique<ProgressWindow>("Importing Results", 0, this);
        progress->show();
        progress->Step("Merging...", 0);
        outcome = MergeStagedRaces(*league_, pointTable_, [&](int done, int total) {
            progress->SetMaximum(total);
            progress->Step("Merging...", done);
        });
    } catch (const std::exception& e) {
        progress.reset();
        ShowNothingImported(e);
        return;
    }
    progress.reset();
    if (!outcome.merged) {
        // Nothing was imported; the files stay on the list for another one to be added.
        ShowMessage(this, kNoUniqueDrivers, "Warning", MessageIcon::Exclamation);
        return;
    }
    Finish();
}

bool ImportDialog::LeaveOutImportedFiles() {
    for (int row = 0; row < list_->count();) {
        QListWidgetItem* entry = list_->item(row);
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
                delete list_->takeItem(row);
                continue;
            }
        }
        ++row;
    }
    SelectionChanged();
    return true;
}

void ImportDialog::SelectionChanged() {
    const auto selected = list_->selectedItems().size();
    buttons_[Edit]->setEnabled(selected == 1);
    buttons_[Remove]->setEnabled(selected >= 1);
}

bool ImportDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EditRace();
            return true;
        }
    }
    return ModalDialog::eventFilter(watched, event);
}

void ShowImportDialog(LeagueCommandContext& context) {
    ImportDialog dialog(context.owner);
    dialog.SetLeague(context.league);
    if (dialog.Load()) {
        TheDesktop().ShowModal(&dialog);
    }
}

} // namespace scorewell::gui
