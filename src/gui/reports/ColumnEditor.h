#pragma once

#include <array>
#include <cstdint>

#include "common/ModalDialog.h"

class QListWidget;
class QPushButton;

namespace scorewell {
class Database;
}

namespace scorewell::gui {

// The column editor (form frmEditColumns): which columns of a report are shown, and in which
// order. It edits the report's definition in the program database, so the change holds for
// every league.
class ColumnEditor : public ModalDialog {
    Q_OBJECT

public:
    explicit ColumnEditor(QWidget* parent = nullptr);

    // The report, in the program database that holds its columns, and its name for the caption.
    void SetReport(Database& programDb, std::int32_t reportId, const QString& name);
    // Lists the report's columns; engine errors reach the caller.
    void Load();

private:
    // cmdButton_0 to cmdButton_5.
    enum Button { Save, Cancel, SelectAll, DeselectAll, Up, Down };

    void CurrentChanged();
    void CheckChanged();
    void SetAll(bool checked);
    void Move(int step);
    void SaveColumns();

    Database* database_ = nullptr;
    std::int32_t reportId_ = 0;
    QString reportName_;
    bool filling_ = true;

    QListWidget* columns_ = nullptr;
    std::array<QPushButton*, 6> buttons_{};
};

} // namespace scorewell::gui
