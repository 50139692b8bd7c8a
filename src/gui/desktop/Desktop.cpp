#include "desktop/Desktop.h"

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
