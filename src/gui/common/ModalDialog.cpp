#include "common/ModalDialog.h"

#include <QCloseEvent>

namespace scorewell::gui {

ModalDialog::ModalDialog(QWidget* parent, CloseBox closeBox)
    : QDialog(parent), closeBox_(closeBox) {}

void ModalDialog::reject() {
    cancelled_ = true;
    done(QDialog::Rejected);
}

void ModalDialog::Finish() {
    cancelled_ = false;
    done(QDialog::Accepted);
}

void ModalDialog::closeEvent(QCloseEvent* event) {
    if (closeBox_ == CloseBox::Keeps) {
        event->accept();
        Finish();
        return;
    }
    // QDialog's own close box rejects, which cancels.
    QDialog::closeEvent(event);
}

} // namespace scorewell::gui
