#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/LeagueCommands.h"
#include "app/MainWindow.h"
#include "common/Installation.h"
#include "common/Platform.h"
#include "common/Resources.h"
#include "common/ShippedFiles.h"
#include "common/Version.h"
#include "data/Program.h"

namespace {

constexpr const char* kUsage =
    "Usage: scorewell [--program-folder DIR] [--quit-after MS] [LEAGUE]\n";

std::string Help() {
    std::string help =
        std::string(kUsage) +
        "\n"
        "Keeps the championship of a league run on the NASCAR Racing simulations. Opens LEAGUE,\n"
        "a league file (.slf) found as given or in the program folder; without one, the most\n"
        "recent league when the Options say so.\n"
        "  --program-folder DIR\n"
        "                    the folder of the program database Tabulon.dat (default: the\n"
        "                    executable's folder when it holds one, else\n"
        "                    ~/.local/share/Scorewell)\n"
        "  --quit-after MS   closes the program after MS milliseconds, answering open dialogs\n"
        "                    with Cancel (for smoke runs)\n"
        "  -h, --help        shows this text\n"
        "  --version         shows the version\n"
        "Qt's own options are taken too, e.g. -platform offscreen to run without a display.\n";
    const QString guide =
        scorewell::gui::ShippedFilePath(QCoreApplication::applicationDirPath(), "ReadMe.htm");
    if (!guide.isEmpty()) {
        help += "The user guide: " + guide.toStdString() + "\n";
    }
    return help;
}

// --help and --version are answered before the window system is started, so that they work
// without a display; the exit status when one was asked for.
std::optional<int> AnswerHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const bool help = std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0;
        if (help || std::strcmp(argv[i], "--version") == 0) {
            QCoreApplication app(argc, argv);
            const std::string text =
                help ? Help() : std::string("scorewell ") + scorewell::kVersionText + "\n";
            std::fputs(text.c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (std::strcmp(argv[i], "--program-folder") == 0 ||
            std::strcmp(argv[i], "--quit-after") == 0) {
            ++i; // a value, even one that looks like an option
        }
    }
    return std::nullopt;
}

// Wrong usage: the message and the usage text on the error output; the exit status.
int UsageError(const QString& message) {
    std::fputs(("scorewell: " + message.toStdString() + "\n" + kUsage).c_str(), stderr);
    return 2;
}

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
    scorewell::IgnoreFileSizeSignal();
    if (const std::optional<int> status = AnswerHelpOrVersion(argc, argv)) {
        return *status;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Scorewell");
    QApplication::setApplicationVersion(scorewell::kVersionText);
    QGuiApplication::setDesktopFileName(scorewell::gui::kDesktopFileName);
    scorewell::gui::InitResources();
    QApplication::setWindowIcon(QIcon(":/scorewell/scorewell.png"));

    QString programFolder;
    int quitAfter = -1;
    QStringList words;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--program-folder" || args[i] == "--quit-after") {
            if (i + 1 >= args.size() || args[i + 1].trimmed().isEmpty()) {
                return UsageError("The option " + args[i] + " needs a value.");
            }
            if (args[i] == "--program-folder") {
                programFolder = args[++i];
            } else {
                bool ok = false;
                quitAfter = args[++i].toInt(&ok);
                if (!ok || quitAfter < 0) {
                    return UsageError("The option --quit-after takes a number of milliseconds.");
                }
            }
        } else if (args[i].startsWith("--")) {
            return UsageError("There is no option " + args[i] + ".");
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
