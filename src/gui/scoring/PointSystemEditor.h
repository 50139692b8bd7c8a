#pragma once

#include <QDialog>

#include <array>
#include <vector>

#include "editing/PointSystem.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

struct LeagueCommandContext;

// The league's own scoring (form frmPointSystem): points and prize money by finishing position,
// filled a range at a time from an initial value and an interval, the points of each bonus rule,
// and the switches that make scoring use them. Nothing is stored before Save; stored races keep
// their points until they are recalculated.
class PointSystemEditor : public QDialog {
    Q_OBJECT

public:
    explicit PointSystemEditor(QWidget* parent = nullptr);

    // Set before Load.
    void SetLeague(League& league) { league_ = &league; }
    // Reads the point system into the controls; false, when it cannot, after saying why.
    bool Load();

    // True when the editor was left with the point system stored.
    bool Saved() const { return saved_; }
    // True while something was changed and not stored.
    bool Changed() const { return changed_; }

public slots:
    // Esc and the close box: leaving without Save, which asks about unsaved changes.
    void reject() override;

private:
    // txtPoints_0 to txtPoints_4.
    enum Box { TotalPositions, FillFrom, FillThrough, InitialValue, Interval, kBoxes };

    void ShowTable();
    void BuildBonusBoxes();
    void SetEnabling();
    void MarkChanged();
    void SelectionChanged();
    PointColumn ColumnToFill() const;
    void ColumnChosen();
    void SelectAllPositions();
    void SetTotalPositions();
    void BoxLeft(Box box);
    void Fill();
    void ImportTable();
    void ExportTable();
    // Leaves the editor, storing the point system unless discard; false when the user stays.
    bool Leave(bool discard);
    bool Save();

    League* league_ = nullptr;
    LeaguePointSystem system_;
    bool loading_ = false;
    bool changed_ = false;
    bool saved_ = false;

    std::array<QGroupBox*, 2> frames_{};
    QCheckBox* usePositions_ = nullptr;
    QCheckBox* useBonus_ = nullptr;
    QTableWidget* grid_ = nullptr;
    std::array<QLineEdit*, kBoxes> boxes_{};
    std::array<QRadioButton*, 2> columns_{};
    QPushButton* fill_ = nullptr;
    QWidget* bonusRow_ = nullptr;
    std::vector<QLabel*> bonusLabels_;
    std::vector<QLineEdit*> bonusBoxes_;
    std::array<QPushButton*, 2> buttons_{};
};

// Tools > Point System of the main window. When the editor stored a new point system that would
// score the league's races differently, offers to recalculate every race at once.
void ShowPointSystemEditor(LeagueCommandContext& context);

} // namespace scorewell::gui
