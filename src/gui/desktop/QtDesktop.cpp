#include "desktop/QtDesktop.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QUrl>

#include <algorithm>

#include "common/Controls.h"

namespace scorewell::gui {

namespace {

// A message or dialog is answered with the ordinary pointer, even in the middle of busy work.
class NormalPointer {
public:
    NormalPointer() : busy_(QApplication::overrideCursor() != nullptr) {
        if (busy_) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~NormalPointer() {
        if (busy_) {
            QApplication::restoreOverrideCursor();
        }
    }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;

private:
    bool busy_;
};

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString StartPath(const QString& folder, const QString& fileName) {
    if (fileName.isEmpty()) {
        return folder;
    }
    return folder.isEmpty() ? fileName : QDir(folder).filePath(fileName);
}

// Before the main window is shown (start-up questions) a window is centred on the screen
// rather than on its hidden owner.
QWidget* VisibleOwner(QWidget* owner) {
    return owner && owner->window()->isVisible() ? owner : nullptr;
}

void CentreWhenOwnerHidden(QWidget* window) {
    QWidget* owner = window->parentWidget();
    if (owner && owner->window()->isVisible()) {
        return;
    }
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        window->adjustSize();
        QRect frame(QPoint(), window->size());
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

QString SelectedFilter(const QString& qtFilter, int index) {
    return qtFilter.split(";;").value(index);
}

} // namespace

QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // The patterns shown in the description are the patterns the filter applies.
        description.remove(QRegularExpression("\\s*\\([^)]*\\)\\s*$"));
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        entries << description + " (" + patterns.join(' ') + ")";
    }
    return entries.join(";;");
}

MessageAnswer QtDesktop::Message(QWidget* owner, const QString& text, const QString& title,
                                 MessageIcon icon, MessageButtons buttons) {
    NormalPointer pointer;
    // Messages carry names from result files: never read them as markup. Lines broken on purpose
    // stay as they are rather than wrapping again at the box's width.
    const QString shown = QString(text).replace("\r\n", "\n");
    QMessageBox box(BoxIcon(icon), title, shown, QMessageBox::NoButton, VisibleOwner(owner));
    box.setTextFormat(Qt::PlainText);
    if (shown.contains('\n')) {
        // The box wraps at half the screen at most; widening its layout keeps each line whole.
        auto* label = box.findChild<QLabel*>("qt_msgbox_label");
        auto* grid = qobject_cast<QGridLayout*>(box.layout());
        if (label && grid) {
            int widest = 0;
            for (const QString& line : shown.split('\n')) {
                widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
            }
            grid->addItem(
                new QSpacerItem(widest + 80, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                grid->rowCount(), 0, 1, grid->columnCount());
        }
    }
    switch (buttons) {
    case MessageButtons::OK:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MessageAnswer::OK;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    }
}

QString QtDesktop::OpenFile(QWidget* owner, const FileDialogRequest& request) {
    NormalPointer pointer;
    const QString filter = QtFilter(request.filter);
    QString selected = SelectedFilter(filter, request.filterIndex);
    return QFileDialog::getOpenFileName(owner, request.title,
                                        StartPath(request.initialFolder, request.fileName), filter,
                                        &selected);
}

QStringList QtDesktop::OpenFiles(QWidget* owner, const FileDialogRequest& request) {
    NormalPointer pointer;
    const QString filter = QtFilter(request.filter);
    QString selected = SelectedFilter(filter, request.filterIndex);
    return QFileDialog::getOpenFileNames(owner, request.title,
                                         StartPath(request.initialFolder, request.fileName), filter,
                                         &selected);
}

QString QtDesktop::ShowSaveDialog(QWidget* owner, const QString& filter, const QString& fileName,
                                  const QString& initialFolder) {
    NormalPointer pointer;
    return QFileDialog::getSaveFileName(owner, QString(), StartPath(initialFolder, fileName),
                                        QtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

std::int32_t QtDesktop::ChooseColor(QWidget* owner, std::int32_t initial) {
    NormalPointer pointer;
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), owner);
    return chosen.isValid() ? FromQColor(chosen) : initial;
}

QString QtDesktop::BrowseForFolder(QWidget* owner, const QString& prompt) {
    NormalPointer pointer;
    QString folder = QFileDialog::getExistingDirectory(owner, prompt, QDir::homePath());
    while (folder.size() > 1 && (folder.endsWith('/') || folder.endsWith('\\'))) {
        folder.chop(1);
    }
    return folder;
}

bool QtDesktop::ShellOpen(const QString& file) {
    return QFileInfo::exists(file) && QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void QtDesktop::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (QApplication::overrideCursor()) {
        QApplication::restoreOverrideCursor();
    }
}

QStringList QtDesktop::FontNames() {
    return QFontDatabase::families();
}

int QtDesktop::ShowModal(QDialog* window) {
    CentreWhenOwnerHidden(window);
    return window->exec();
}

} // namespace scorewell::gui
