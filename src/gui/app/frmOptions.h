#pragma once

#include <QDialog>

#include <array>

#include "data/ProgramOptions.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QFrame;

namespace scorewell::gui {

// The Options dialog: simulation folders, opening the last file at start-up, and the page
// defaults that new league files take.
class frmOptions : public QDialog {
    Q_OBJECT

public:
    explicit frmOptions(QWidget* parent = nullptr);

    // Fills the controls; the folder boxes take the folders the program holds.
    void setOptions(const ProgramOptions& options);
    // The options as the controls show them.
    ProgramOptions Options() const;
    // True when the dialog was left with Cancel.
    bool Cancelled() const { return cancelled_; }

    QTabWidget* ts = nullptr;
    std::array<QFrame*, 2> fraOptions{};
    std::array<QLabel*, 3> lblN3Path{};
    std::array<QLineEdit*, 3> txtN3Path{};
    std::array<QPushButton*, 3> cmdBrowse{};
    QCheckBox* chkLastFileFlag = nullptr;
    QCheckBox* chkBGImage = nullptr;
    QLineEdit* txtBGImage = nullptr;
    QPushButton* cmdBGImage = nullptr;
    std::array<QLabel*, 5> lblColor{};
    std::array<QLabel*, 5> Label2{};
    QLabel* Label1 = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void chkBGImage_Click();
    void cmdBGImage_Click();
    void cmdBrowse_Click(int index);
    void lblColor_Click(int index);
    void OKButton_Click();
    void SetColor(int index, std::int32_t color);

    bool cancelled_ = false;
    std::array<std::int32_t, 5> colors_{};
};

} // namespace scorewell::gui
