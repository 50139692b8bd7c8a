#pragma once

#include <QDialog>

class QTimer;

namespace scorewell::gui {

// The splash window at start-up, and the About window (form frmSplash).
class SplashWindow : public QDialog {
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Shows the window on top of all others without blocking; it closes itself after 2 seconds.
    void ShowSplash();
    // Shows the window modally until the user clicks it or presses Esc.
    void ShowAbout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTimer* timer_ = nullptr;
};

} // namespace scorewell::gui
