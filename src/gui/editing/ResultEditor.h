#pragma once

#include <array>

#include "common/ModalDialog.h"
#include "data/RaceResults.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

// One driver's result of a race, to add or to change (form frmEditDriver2). The caller sets the
// caption.
class ResultEditor : public ModalDialog {
    Q_OBJECT

public:
    explicit ResultEditor(QWidget* parent = nullptr);

    // The league: its drivers for "Drivers...", and its type (on-line leagues keep no average
    // speed of a driver, so that field is not shown).
    void SetLeague(League& league);

    // Qualifying typed as a lap time, which may hold minutes ("1:05.500").
    void SetQualifyingAsLapTime(bool lapTime) { qualifyingAsLapTime_ = lapTime; }

    void SetEntry(const ResultEntry& entry);
    ResultEntry Entry() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The boxes txtInfo_0 to txtInfo_8: finish, start, name, laps run, laps led, points, bonus,
    // average speed, qualifying.
    static constexpr int kFields = 9;

    void Save();
    void PickDriver();
    void UpdateSave();
    int FieldOf(QObject* watched) const;

    League* league_ = nullptr;
    std::array<QLabel*, kFields> captions_{};
    std::array<QLineEdit*, kFields> fields_{};
    QComboBox* reasonOut_ = nullptr;
    QPushButton* save_ = nullptr;
    bool qualifyingAsLapTime_ = false;
};

} // namespace scorewell::gui
