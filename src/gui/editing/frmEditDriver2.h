#pragma once

#include <QDialog>

#include <array>

#include "data/RaceResults.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

// One driver's result of a race, to add or to change. The caller sets the caption.
class frmEditDriver2 : public QDialog {
    Q_OBJECT

public:
    // The fields of txtInfo, top to bottom.
    enum Field { Finish, Start, Name, LapsRun, LapsLed, Points, Bonus, AvgSpeed, Qualifying };
    static constexpr int kFields = 9;

    explicit frmEditDriver2(QWidget* parent = nullptr);

    // The league: its drivers for "Drivers...", and its type (on-line leagues keep no average
    // speed of a driver, so that field is not shown).
    void setDatabase(League* league);
    bool Cancelled() const { return cancelled_; }

    void setEntry(const ResultEntry& entry);
    ResultEntry Entry() const;

    QGroupBox* Frame1 = nullptr;
    std::array<QLabel*, kFields> lblInfo{};
    std::array<QLineEdit*, kFields> txtInfo{};
    QPushButton* cmdPickDriver = nullptr;
    QLabel* lblReasonOut = nullptr;
    QComboBox* cboReasonOut = nullptr;
    std::array<QPushButton*, 2> cmdButton{};

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdButton_Click(int index);
    void cmdPickDriver_Click();
    void UpdateSave();
    int FieldOf(QObject* watched) const;

    League* league_ = nullptr;
    bool cancelled_ = true;
};

} // namespace scorewell::gui
