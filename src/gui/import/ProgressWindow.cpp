#include "import/ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "common/Controls.h"

namespace scorewell::gui {

ProgressWindow::ProgressWindow(const QString& caption, int maximum, QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmProgress");
    setWindowTitle(caption);
    // The work runs to its end; there is nothing to cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);

    info_ = new QLabel(this);
    info_->setObjectName("lblInfo");
    info_->setTextFormat(Qt::PlainText);
    bar_ = new QProgressBar(this);
    bar_->setObjectName("Prog");
    bar_->setTextVisible(false);
    bar_->setRange(0, maximum);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Twips(180), Twips(180), Twips(180), Twips(180));
    layout->setSpacing(Twips(120));
    layout->addWidget(info_);
    layout->addWidget(bar_);
    setFixedWidth(Twips(5400));
}

void ProgressWindow::SetMaximum(int maximum) {
    bar_->setMaximum(maximum);
}

void ProgressWindow::Step(const QString& info, int value) {
    info_->setText(info);
    bar_->setValue(value);
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace scorewell::gui
