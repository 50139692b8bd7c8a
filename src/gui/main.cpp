#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QTimer>

#include <csignal>
#include <cstdio>

#include "app/LeagueCommands.h"
#include "app/MainWindow.h"
#include "common/Resources.h"
#include "data/Program.h"

namespace {

constexpr const char* kUsage =
    "usage: scorewell [--program-folder DIR] [--quit-after MS] [LEAGUE]\n";

// For smoke runs: after the delay, answers every modal window with Cancel and closes the main
// window, so the program ends the way a user would end it.
void QuitAfter(int milliseconds, scorewell::gui::MainWindow& window) {
    auto* timer = new QTimer(&window);
    QObject::connect(timer, &QTimer::timeout, &window, [timer, &window] {
        timer->setInterval(100);
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            modal->reject();
        } else if (window.isVisible()) {
            window.close();
            QApplication::quit();
        }
    });
    timer->start(milliseconds);
}

} // namespace

int main(int argc, char** argv) {
    // A file size limit must show up as a write error with a message, not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Scorewell");
    scorewell::gui::InitResources();
    QApplication::setWindowIcon(QIcon(":/scorewell/scorewell.png"));

    QString programFolder;
    int quitAfter = -1;
    QStringList words;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if ((args[i] == "--program-folder" || args[i] == "--quit-after") && i + 1 < args.size()) {
            if (args[i] == "--program-folder") {
                programFolder = args[++i];
            } else {
                bool ok = false;
                quitAfter = args[++i].toInt(&ok);
                if (!ok || quitAfter < 0) {
                    std::fputs(kUsage, stderr);
                    return 2;
                }
            }
        } else if (args[i] == "--help" || args[i] == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (args[i].startsWith("--")) {
            std::fputs(kUsage, stderr);
            return 2;
        } else {
            words << args[i];
        }
    }
    if (programFolder.isEmpty()) {
        programFolder = QString::fromStdString(
            scorewell::Program::DefaultFolder(QApplication::applicationDirPath().toStdString()));
    }

    scorewell::gui::RegisterLeagueWindows();
    scorewell::gui::MainWindow window;
    if (quitAfter >= 0) {
        QuitAfter(quitAfter, window);
    }
    if (!window.Load(programFolder, words.join(' '))) {
        return 1;
    }
    window.show();
    return QApplication::exec();
}
