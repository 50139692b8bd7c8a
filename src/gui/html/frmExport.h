#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

#include "html/PageSettings.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace scorewell {
class League;
class Program;
} // namespace scorewell

namespace scorewell::gui {

// The export dialog: the texts, colours, font and table styling of a page. Export keeps them in
// the league's settings, where the caller's page writer reads them; Preview shows the page as
// the controls stand, without saving anything.
class frmExport : public QDialog {
    Q_OBJECT

public:
    explicit frmExport(QWidget* parent = nullptr);

    // The open league: its settings are read and written here.
    void setDatabase(League* league) { league_ = league; }
    // The program: its database and folder, for the preview.
    void setSLDatabase(Program* program) { program_ = program; }
    // The report (export type 0) or race (1) the preview shows.
    void setReportID(std::int32_t id) { reportId_ = id; }
    std::int32_t ReportID() const { return reportId_; }
    void setExportType(int type) { exportType_ = type; }
    int ExportType() const { return exportType_; }
    // True when the user left with Cancel or the close box.
    bool Cancelled() const { return cancelled_; }

    // Fills the controls from the league's settings.
    void Load();
    // What the controls show.
    ExportDialogSettings Settings() const;

    QTabWidget* tabExport = nullptr;
    std::array<QFrame*, 3> fraTab{};
    QLineEdit* txtHeading = nullptr;
    QLineEdit* txtRepName = nullptr;
    QLineEdit* txtCaption = nullptr;
    std::array<QLineEdit*, 3> txtLayout{};
    std::array<QCheckBox*, 5> chkRowColors{};
    std::array<QLabel*, 18> lblColor{};
    std::array<QLabel*, 10> lblRowColors{};
    QCheckBox* chkBGImage = nullptr;
    QLineEdit* txtBGImage = nullptr;
    QPushButton* cmdBGImage = nullptr;
    QComboBox* cboFontList = nullptr;
    QComboBox* cboFontSize = nullptr;
    QPushButton* cmdPreview = nullptr;
    std::array<QPushButton*, 2> cmdButton{};

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* TextTab();
    QWidget* TableTab();
    QWidget* PageTab();
    void chkRowColors_Click(int index);
    void chkBGImage_Click();
    void cmdBGImage_Click();
    void lblColor_Click(int index);
    void txtLayout_LostFocus(int index);
    void cmdPreview_Click();
    void Export();
    void SetColor(int index, std::int32_t color);

    League* league_ = nullptr;
    Program* program_ = nullptr;
    std::int32_t reportId_ = 0;
    int exportType_ = 0;
    bool cancelled_ = true;
    std::array<std::int32_t, 18> colors_ = designed::kSwatchColors;
};

} // namespace scorewell::gui
