#pragma once

#include <array>

#include "common/Domain.h"
#include "common/ModalDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace scorewell {
class League;
class Program;
} // namespace scorewell

namespace scorewell::gui {

// The league file dialog (form frmSLFProperties): creating a new league file, or the properties
// of the open one, where only the dropped races and the lap reporting method can be changed.
class LeaguePropertiesDialog : public ModalDialog {
    Q_OBJECT

public:
    // The program: its database, folder and simulation folders.
    explicit LeaguePropertiesDialog(Program& program, QWidget* parent = nullptr);

    // New-file mode, proposing the simulation whose folder is set. openLeague is the league open
    // in the main window, if any: replacing its file closes it first (openLeagueClosing).
    void SetNewFile(const League* openLeague);
    // Properties mode on the open league: its file and settings.
    void SetLeague(const League& league);

    // New-file mode: the full path of the file created; empty when none was.
    QString FileName() const { return fileName_; }
    int DroppedRaces() const;
    scorewell::LapReportingMethod LapMethod() const;

signals:
    // The open league is the file about to be replaced: the main window closes it.
    void openLeagueClosing();

private:
    void SetMode(bool newFile);
    void Ok();
    // The creation sequence behind Create; false leaves the dialog open.
    bool CreateLeague();
    void Fail(const QString& description);

    Program& program_;
    const League* openLeague_ = nullptr;
    bool newFile_ = false;
    QString fileName_;

    QLineEdit* fileNameBox_ = nullptr;
    QComboBox* simulation_ = nullptr;
    QComboBox* droppedRaces_ = nullptr;
    QComboBox* leagueType_ = nullptr;
    std::array<QRadioButton*, 2> lapMethods_{};
    QPushButton* ok_ = nullptr;
};

} // namespace scorewell::gui
