#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "desktop/Desktop.h"

namespace scorewell::gui::test {

// A message as it was shown.
struct ShownMessage {
    QString text;
    QString title;
    MessageIcon icon;
    MessageButtons buttons;
};

// The desktop of a test: every question is answered from a script of expected calls, in order.
// An unexpected call fails the test and gets a safe answer (Cancel, No, nothing chosen). Modal
// windows are handed to the handler of their class, which fills them in and closes them.
// Installed while it lives.
class FakeDesktop : public Desktop {
public:
    FakeDesktop();
    ~FakeDesktop() override;

    // The next message must have this title (and contain the text, when given).
    void ExpectMessage(const QString& title, MessageAnswer answer = MessageAnswer::OK,
                       const QString& textPart = {}) {
        Push({.kind = Kind::Message, .title = title, .textPart = textPart, .answer = answer});
    }
    void ExpectOpenFile(const QString& answer) {
        Push({.kind = Kind::OpenFile, .files = {answer}});
    }
    void ExpectOpenFiles(const QStringList& answer) {
        Push({.kind = Kind::OpenFiles, .files = answer});
    }
    void ExpectSaveDialog(const QString& answer) { Push({.kind = Kind::Save, .files = {answer}}); }
    // Nothing means the user cancels the colour dialog.
    void ExpectColor(std::optional<std::int32_t> answer) {
        Push({.kind = Kind::Color, .color = answer});
    }
    void ExpectFolder(const QString& answer) { Push({.kind = Kind::Folder, .files = {answer}}); }
    void ExpectShellOpen(bool succeeds) { Push({.kind = Kind::ShellOpen, .succeeds = succeeds}); }

    // The handler for every modal window of the class: it works the window and closes it.
    template <class Window>
    void OnModal(std::function<void(Window*)> handler) {
        handlers_[Window::staticMetaObject.className()] = [handler](QDialog* window) {
            handler(static_cast<Window*>(window));
        };
    }
    // How many windows of the class were shown modally.
    template <class Window>
    int ModalCount() const {
        auto it = modalCounts_.find(Window::staticMetaObject.className());
        return it == modalCounts_.end() ? 0 : it->second;
    }

    // Fails the test for every expected call that never came.
    void VerifyAllAnswered();

    const std::vector<ShownMessage>& Messages() const { return messages_; }
    const std::vector<FileDialogRequest>& FileRequests() const { return fileRequests_; }
    const QStringList& OpenedDocuments() const { return openedDocuments_; }
    const std::vector<std::int32_t>& ColorStarts() const { return colorStarts_; }
    int BusyDepth() const { return busy_; }

    MessageAnswer Message(QWidget* owner, const QString& text, const QString& title,
                          MessageIcon icon, MessageButtons buttons) override;
    QString OpenFile(QWidget* owner, const FileDialogRequest& request) override;
    QStringList OpenFiles(QWidget* owner, const FileDialogRequest& request) override;
    QString ShowSaveDialog(QWidget* owner, const QString& filter, const QString& fileName,
                           const QString& initialFolder) override;
    std::int32_t ChooseColor(QWidget* owner, std::int32_t initial) override;
    QString BrowseForFolder(QWidget* owner, const QString& prompt) override;
    bool ShellOpen(const QString& file) override;
    void SetBusy(bool busy) override;
    QStringList FontNames() override;
    int ShowModal(QDialog* window) override;

private:
    enum class Kind { Message, OpenFile, OpenFiles, Save, Color, Folder, ShellOpen };
    struct Expected {
        Kind kind = Kind::Message;
        QString title = {};
        QString textPart = {};
        MessageAnswer answer = MessageAnswer::OK;
        QStringList files = {};
        std::optional<std::int32_t> color = {};
        bool succeeds = false;
    };
    // The next expectation when it is of the kind; nothing (and a failure) otherwise.
    std::optional<Expected> Next(Kind kind, const QString& call);
    void Push(const Expected& e) { expected_.push_back(e); }

    std::deque<Expected> expected_;
    std::vector<ShownMessage> messages_;
    std::vector<FileDialogRequest> fileRequests_;
    QStringList openedDocuments_;
    std::vector<std::int32_t> colorStarts_;
    std::map<QString, std::function<void(QDialog*)>> handlers_;
    std::map<QString, int> modalCounts_;
    int busy_ = 0;
};

} // namespace scorewell::gui::test
