#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace scorewell::gui {

// The splash window at start-up, and the About window.
class frmSplash : public QDialog {
    Q_OBJECT

public:
    explicit frmSplash(QWidget* parent = nullptr);

    // Shows the window on top of all others without blocking; it closes itself after 2 seconds.
    void ShowSplash();
    // Shows the window modally until the user clicks it or presses Esc.
    void ShowAbout();

    QLabel* picLogo = nullptr;
    QLabel* lblInfo = nullptr;
    QLabel* lblVersion = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace scorewell::gui
