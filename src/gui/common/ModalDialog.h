#pragma once

#include <QDialog>

namespace scorewell::gui {

// A modal window that tells its caller how it was left: Cancel and Esc cancel it; the close box
// cancels it too, or keeps what the controls show when the window says so.
class ModalDialog : public QDialog {
    Q_OBJECT

public:
    // True when the window was left without its own OK, Save, Export...
    bool Cancelled() const { return cancelled_; }

public slots:
    void reject() override;

protected:
    // Where the close box leaves the window: cancelled, or taken as it stands (without the checks
    // of its OK button).
    enum class CloseBox { Cancels, Keeps };

    explicit ModalDialog(QWidget* parent, CloseBox closeBox = CloseBox::Cancels);

    // Leaves the window as done by its own button: not cancelled.
    void Finish();

    void closeEvent(QCloseEvent* event) override;

private:
    CloseBox closeBox_;
    bool cancelled_ = true;
};

} // namespace scorewell::gui
