#pragma once

#include <QDialog>

#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace scorewell {
class League;
class Program;
} // namespace scorewell

namespace scorewell::gui {

// The league file dialog: creating a new league file, or the properties of the open one, where
// only the dropped races and the lap reporting method can be changed.
class frmSLFProperties : public QDialog {
    Q_OBJECT

public:
    explicit frmSLFProperties(QWidget* parent = nullptr);

    // True: new-file mode; false (the default): properties mode. Set before showing.
    void setNewDialog(bool newDialog);
    bool NewDialog() const { return newDialog_; }
    // The full path of the file created (empty after Cancel in new-file mode); in properties
    // mode, the open file's path shown in the file name box.
    void setFileName(const QString& fileName);
    QString FileName() const { return fileName_; }
    bool Cancelled() const { return cancelled_; }
    // The league open in the main window, if any: replacing it closes it first.
    void setCurrentDB(League* league) { currentDB_ = league; }
    League* CurrentDB() const { return currentDB_; }
    // The program: its database, folder and simulation folders.
    void setTabulonDB(Program* program);

    // The lists and options by index, as properties mode shows the open league.
    void setSimTitle(int index);
    void setDroppedRaces(int index);
    void setLeagueType(int index);
    void setLapReportingMethod(int index);
    int DroppedRaces() const;
    int LapReportingMethod() const { return lapReportingMethod_; }

    QLabel* Label1 = nullptr;
    QLineEdit* txtFileName = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cboTitle = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cboDroppedRaces = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* cboLeagueType = nullptr;
    QLabel* Label5 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 2> optLapMethod{};
    std::array<QPushButton*, 2> cmdButton{};

signals:
    // The open league is this file and is about to be replaced: the main window closes it.
    void currentDBClosing();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdButton_Click(int index);
    void txtFileName_Change();
    // The creation sequence behind Create; false leaves the dialog open.
    bool CreateLeague();
    void Fail(const QString& description);

    bool newDialog_ = false;
    bool cancelled_ = false;
    QString fileName_;
    int lapReportingMethod_ = 0;
    League* currentDB_ = nullptr;
    Program* program_ = nullptr;
};

} // namespace scorewell::gui
