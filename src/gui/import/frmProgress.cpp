#include "import/frmProgress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "common/Controls.h"

namespace scorewell::gui {

frmProgress::frmProgress(QWidget* parent) : QDialog(parent) {
    setObjectName("frmProgress");
    setWindowTitle("Progress Dialog");
    // The work runs to its end; there is nothing to cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);

    lblInfo = new QLabel(this);
    lblInfo->setObjectName("lblInfo");
    lblInfo->setTextFormat(Qt::PlainText);
    Prog = new QProgressBar(this);
    Prog->setObjectName("Prog");
    Prog->setTextVisible(false);
    Prog->setMinimum(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Twips(180), Twips(180), Twips(180), Twips(180));
    layout->setSpacing(Twips(120));
    layout->addWidget(lblInfo);
    layout->addWidget(Prog);
    setFixedWidth(Twips(5400));
}

void frmProgress::Step(const QString& info, int value) {
    lblInfo->setText(info);
    Prog->setValue(value);
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace scorewell::gui
