#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QLabel;
class QListWidget;
class QPushButton;

namespace scorewell {
class Database;
}

namespace scorewell::gui {

// The column editor: which columns of a report are shown, and in which order. It edits the
// report's definition in the program database, so the change holds for every league.
class frmEditColumns : public QDialog {
    Q_OBJECT

public:
    explicit frmEditColumns(QWidget* parent = nullptr);

    // The program database holding the report's columns.
    void setDatabase(Database* programDb) { database_ = programDb; }
    Database* GetDatabase() const { return database_; }
    void setReportID(std::int32_t id) { reportId_ = id; }
    std::int32_t ReportID() const { return reportId_; }
    void setReportName(const QString& name) { reportName_ = name; }
    QString ReportName() const { return reportName_; }
    // True when the user left without saving.
    bool Cancelled() const { return cancelled_; }
    void setCancelled(bool cancelled) { cancelled_ = cancelled; }

    // Lists the report's columns; engine errors reach the caller.
    void Load();

    QLabel* Label1 = nullptr;
    QListWidget* lstColumns = nullptr;
    std::array<QPushButton*, 6> cmdButton{};

public slots:
    void reject() override;

private:
    void cmdButton_Click(int index);
    void lstColumns_Click();
    void lstColumns_ItemCheck();
    void SetAll(bool checked);
    void Move(int step);
    void Save();

    Database* database_ = nullptr;
    std::int32_t reportId_ = 0;
    QString reportName_;
    bool cancelled_ = true;
    bool filling_ = true;
};

} // namespace scorewell::gui
