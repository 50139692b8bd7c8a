#include "app/SplashWindow.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include "common/Resources.h"
#include "common/Version.h"
#include "desktop/Desktop.h"

namespace scorewell::gui {

namespace {

// Twice the twips of one pixel, in pixels.
constexpr int kBorder = 2;

} // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    InitResources();
    setObjectName("frmSplash");
    setWindowTitle("Scorewell");
    setStyleSheet("QDialog#frmSplash { background: #10233f; }");

    auto* picLogo = new QLabel(this);
    picLogo->setObjectName("picLogo");
    const QPixmap logo(":/scorewell/splash.png");
    picLogo->setPixmap(logo);
    picLogo->setGeometry(kBorder, kBorder, logo.width(), logo.height());

    // The texts sit on the dark band the picture leaves for them.
    auto* lblInfo =
        new QLabel("League Administration Software for Papyrus NASCAR Racing Simulations", picLogo);
    lblInfo->setObjectName("lblInfo");
    lblInfo->setAlignment(Qt::AlignCenter);
    lblInfo->setWordWrap(true);
    lblInfo->setStyleSheet("color: white;");
    lblInfo->setGeometry(12, logo.height() - 62, logo.width() - 24, 36);

    auto* lblVersion = new QLabel(
        QString("Version %1.%2%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision),
        picLogo);
    lblVersion->setObjectName("lblVersion");
    lblVersion->setAlignment(Qt::AlignCenter);
    lblVersion->setStyleSheet("color: #c8d4e6;");
    lblVersion->setGeometry(12, logo.height() - 26, logo.width() - 24, 20);

    setFixedSize(logo.width() + 2 * kBorder, logo.height() + 2 * kBorder);

    for (QWidget* w : {static_cast<QWidget*>(picLogo), static_cast<QWidget*>(lblInfo),
                       static_cast<QWidget*>(lblVersion)}) {
        w->installEventFilter(this);
    }

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &QDialog::close);
}

void SplashWindow::ShowSplash() {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    timer_->start(2000);
    show();
}

void SplashWindow::ShowAbout() {
    TheDesktop().ShowModal(this);
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SplashWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace scorewell::gui
