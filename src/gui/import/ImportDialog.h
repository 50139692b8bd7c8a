#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <string>

#include "common/ModalDialog.h"
#include "data/Settings.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

struct LeagueCommandContext;

// The import dialog (form frmAddRaces): result files are read as they are added and staged in
// the league file, listed one entry per staged race, corrected or taken off the list, then
// imported as races of the league.
class ImportDialog : public ModalDialog {
    Q_OBJECT

public:
    explicit ImportDialog(QWidget* parent = nullptr);

    // The open league, set before Load: its simulation says which files are read.
    void SetLeague(League& league) { league_ = &league; }
    // Empties the staging area and prepares the controls; false, when it cannot, after saying
    // why.
    bool Load();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // cmdButton_0 to cmdButton_4.
    enum Button { Add, Remove, Edit, Cancel, Import };

    void AddFiles();
    void RemoveFiles();
    void EditRace();
    void ImportRaces();
    // Off-line: the staged files become one race of the drivers found in one file only.
    void MergeRaces();
    // A failed import or merge took nothing: says so, and that the files stay on the list.
    void ShowNothingImported(const std::exception& e);
    // Asks about every listed file the league already holds; a file the user does not want
    // again is taken off the list. False, after saying why, when the league could not be asked.
    bool LeaveOutImportedFiles();
    void SelectionChanged();
    // Marks the files that bring a driver whose name looks like another driver's, and names
    // the pairs in their tooltips.
    void MarkSimilarNames();
    void ShowFailure(const std::string& title, const std::string& message);
    // The list entry of a staged file: its name in the default folder, else name, tab, folder.
    QString EntryText(const QString& path) const;
    bool NascarRacing4() const;

    League* league_ = nullptr;
    QString defaultFolder_;
    PointTable pointTable_;

    QListWidget* list_ = nullptr;
    std::array<QPushButton*, 5> buttons_{};
    QLabel* qualifyingCaption_ = nullptr;
    QComboBox* qualifying_ = nullptr;
    QLabel* offlineNote_ = nullptr;
};

// Race > Import of the main window.
void ShowImportDialog(LeagueCommandContext& context);

} // namespace scorewell::gui
