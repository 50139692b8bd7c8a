#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/ModalDialog.h"
#include "html/PageSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

class ColorSwatch;
class PageStyleEditor;

// The export dialog (form frmExport): the texts, colours, font and table styling of a page.
// Export keeps them in the league's settings, where the caller's page writer reads them; Preview
// shows the page as the controls stand, without saving anything.
class ExportDialog : public ModalDialog {
    Q_OBJECT

public:
    explicit ExportDialog(QWidget* parent = nullptr);

    // The open league: its settings are read and written here.
    void SetLeague(League& league) { league_ = &league; }
    // What the page shows: a report of the program database, or the results of a race.
    void SetReport(std::int32_t reportId);
    void SetRace(std::int32_t raceId);

    // Fills the controls from the league's settings.
    void Load();
    // The texts the page is proposed with, after Load.
    void SetHeading(const QString& heading);
    void SetReportName(const QString& reportName);
    void SetCaption(const QString& caption);
    // What the controls show.
    ExportDialogSettings Settings() const;

    // The page the dialog describes, with its texts as they stand and the style the league's
    // settings hold (Export saves the dialog's).
    PageRequest ExportRequest() const;
    // Writes the page to file; says nothing. False when the page could not be written.
    bool WritePage(const std::string& file, const PageRequest& request) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* TextTab();
    QWidget* TableTab();
    QWidget* PageTab();
    void TableColorsSwitched(int index);
    // A layout box's text as the page takes it: a whole number from 0 to 100.
    void CompleteLayout(int index);
    void Preview();
    void Export();

    League* league_ = nullptr;
    std::int32_t reportId_ = 0;
    PageContent content_ = PageContent::Report;

    QTabWidget* tabs_ = nullptr;
    QLineEdit* heading_ = nullptr;
    QLineEdit* reportName_ = nullptr;
    QLineEdit* caption_ = nullptr;
    std::array<QLineEdit*, 3> layout_{};
    std::array<QCheckBox*, 5> useTableColors_{};
    std::array<QLabel*, 10> tableColorCaptions_{};
    // Swatches 5 to 17: the heading colours and the table colours. The page colours, 0 to 4,
    // are the page style editor's.
    std::array<ColorSwatch*, 13> swatches_{};
    PageStyleEditor* pageStyle_ = nullptr;
    QComboBox* font_ = nullptr;
    QComboBox* fontSize_ = nullptr;
    QComboBox* look_ = nullptr;
};

} // namespace scorewell::gui
