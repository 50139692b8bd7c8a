#include "desktop/Desktop.h"

#include <QFileInfo>
#include <QLocale>

#include "desktop/QtDesktop.h"

namespace scorewell::gui {

namespace {

Desktop* installed = nullptr;

} // namespace

Desktop& TheDesktop() {
    static QtDesktop real;
    return installed ? *installed : real;
}

void InstallDesktop(Desktop* desktop) {
    installed = desktop;
}

QString Desktop::SaveFile(QWidget* owner, const QString& filter, const QString& fileName,
                          const QString& initialFolder) {
    const QString chosen = ShowSaveDialog(owner, filter, fileName, initialFolder);
    return chosen.isEmpty() ? chosen : WithFilterExtension(chosen, filter);
}

QString WithFilterExtension(const QString& path, const QString& filter) {
    if (!QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    // "Description|*.htm;*.html|..." : the first pattern of the first entry.
    const QString pattern = filter.section('|', 1, 1).section(';', 0, 0).trimmed();
    if (!pattern.startsWith("*.") || pattern.indexOf('*', 1) >= 0 || pattern.size() < 3) {
        return path;
    }
    return path + pattern.mid(1);
}

MessageAnswer ShowMessage(QWidget* owner, const QString& text, const QString& title,
                          MessageIcon icon, MessageButtons buttons) {
    return TheDesktop().Message(owner, text, title, icon, buttons);
}

QString GetDecimalSeparator() {
    QString separator = QLocale::system().decimalPoint();
    separator.remove(QChar(0));
    return separator;
}

} // namespace scorewell::gui
