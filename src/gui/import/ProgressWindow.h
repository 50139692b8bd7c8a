#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace scorewell::gui {

// The progress window of long work (form frmProgress): shown without waiting, it counts the
// pieces of work up to maximum and repaints between two of them. There is nothing to cancel.
class ProgressWindow : public QDialog {
    Q_OBJECT

public:
    ProgressWindow(const QString& caption, int maximum, QWidget* parent);

    // For work that learns how much there is only once it has begun; 0 shows it busy.
    void SetMaximum(int maximum);
    // Shows the label and the bar's value and lets the window repaint.
    void Step(const QString& info, int value);

private:
    QProgressBar* bar_ = nullptr;
    QLabel* info_ = nullptr;
};

} // namespace scorewell::gui
