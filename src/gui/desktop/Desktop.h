#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

class QDialog;
class QWidget;

namespace scorewell::gui {

enum class MessageIcon { None, Information, Exclamation, Critical, Question };
enum class MessageButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MessageAnswer { OK, Cancel, Yes, No };

// A file dialog as the program asks for one. The filter is written the program's way,
// "Description|pattern;pattern|Description|pattern".
struct FileDialogRequest {
    QString filter;
    int filterIndex = 0; // the entry preselected, from 0
    QString title;
    QString initialFolder;
    QString fileName;
};

// Every contact with the desktop: message boxes, file, colour and folder dialogs, documents,
// the busy pointer, fonts, and modal windows. Windows go through it only, so tests can answer
// in the user's place.
class Desktop {
public:
    virtual ~Desktop() = default;

    virtual MessageAnswer Message(QWidget* owner, const QString& text, const QString& title,
                                  MessageIcon icon, MessageButtons buttons) = 0;
    // The chosen existing file, or empty when cancelled.
    virtual QString OpenFile(QWidget* owner, const FileDialogRequest& request) = 0;
    virtual QStringList OpenFiles(QWidget* owner, const FileDialogRequest& request) = 0;
    // The chosen full path, or empty when cancelled; a name typed without extension gets the
    // extension of the filter's first pattern ("page" saved as "HTML File|*.htm" is page.htm).
    // Callers ask about overwriting themselves, with the name this gives.
    QString SaveFile(QWidget* owner, const QString& filter, const QString& fileName,
                     const QString& initialFolder);
    // Colours are 0x00BBGGRR; cancelling gives the initial colour back.
    virtual std::int32_t ChooseColor(QWidget* owner, std::int32_t initial) = 0;
    // The chosen folder without a trailing separator, or empty when cancelled.
    virtual QString BrowseForFolder(QWidget* owner, const QString& prompt) = 0;
    // Opens a document with the desktop's viewer; false when that failed.
    virtual bool ShellOpen(const QString& file) = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual QStringList FontNames() = 0;
    // Shows the window modally; gives its QDialog result.
    virtual int ShowModal(QDialog* window) = 0;

protected:
    // The save dialog itself: the path as the user left it.
    virtual QString ShowSaveDialog(QWidget* owner, const QString& filter, const QString& fileName,
                                   const QString& initialFolder) = 0;
};

// The path with the extension of the filter's first pattern when its file name has none.
QString WithFilterExtension(const QString& path, const QString& filter);

// The desktop in use: the one installed, or the real one.
Desktop& TheDesktop();
// Installs a desktop (a test's scripted one); nullptr puts the real one back.
void InstallDesktop(Desktop* desktop);

// A message with the program's name as title.
MessageAnswer ShowMessage(QWidget* owner, const QString& text, const QString& title,
                          MessageIcon icon = MessageIcon::None,
                          MessageButtons buttons = MessageButtons::OK);

// The busy pointer for as long as it lives.
class BusyPointer {
public:
    BusyPointer() { TheDesktop().SetBusy(true); }
    ~BusyPointer() { TheDesktop().SetBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// The decimal symbol of the user's locale, without code-0 characters.
QString GetDecimalSeparator();

} // namespace scorewell::gui
