#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace scorewell::gui {

// The progress window of long work: its caller sets the caption, the label and the bar, shows it
// without waiting and closes it. Step lets it repaint between two pieces of work.
class frmProgress : public QDialog {
    Q_OBJECT

public:
    explicit frmProgress(QWidget* parent = nullptr);

    // Shows the label and the bar's value and lets the window repaint.
    void Step(const QString& info, int value);

    QProgressBar* Prog = nullptr;
    QLabel* lblInfo = nullptr;
};

} // namespace scorewell::gui
