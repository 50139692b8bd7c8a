#include "FakeDesktop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>

namespace scorewell::gui::test {

namespace {

const char* KindName(int kind) {
    static const char* const names[] = {"message",      "open file dialog", "open files dialog",
                                        "save dialog",  "colour dialog",    "folder picker",
                                        "document open"};
    return names[kind];
}

} // namespace

FakeDesktop::FakeDesktop() {
    InstallDesktop(this);
}

FakeDesktop::~FakeDesktop() {
    InstallDesktop(nullptr);
}

void FakeDesktop::VerifyAllAnswered() {
    for (const Expected& e : expected_) {
        ADD_FAILURE() << "expected " << KindName(static_cast<int>(e.kind)) << " "
                      << e.title.toStdString() << " never came";
    }
    expected_.clear();
}

std::optional<FakeDesktop::Expected> FakeDesktop::Next(Kind kind, const QString& call) {
    if (expected_.empty() || expected_.front().kind != kind) {
        ADD_FAILURE() << "unexpected " << KindName(static_cast<int>(kind)) << ": "
                      << call.toStdString()
                      << (expected_.empty()
                              ? std::string(" (nothing more expected)")
                              : std::string(" (expected a ") +
                                    KindName(static_cast<int>(expected_.front().kind)) + " " +
                                    expected_.front().title.toStdString() + ")");
        return std::nullopt;
    }
    Expected e = expected_.front();
    expected_.pop_front();
    return e;
}

MessageAnswer FakeDesktop::Message(QWidget*, const QString& text, const QString& title,
                                   MessageIcon icon, MessageButtons buttons) {
    messages_.push_back({text, title, icon, buttons});
    const QString call = title + ": " + text;
    auto e = Next(Kind::Message, call);
    const MessageAnswer safe = buttons == MessageButtons::OK      ? MessageAnswer::OK
                               : buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                                  : MessageAnswer::Cancel;
    if (!e) {
        return safe;
    }
    if (e->title != title || !text.contains(e->textPart)) {
        ADD_FAILURE() << "message " << call.toStdString() << " where \"" << e->title.toStdString()
                      << "\" containing \"" << e->textPart.toStdString() << "\" was expected";
        return safe;
    }
    return e->answer;
}

QString FakeDesktop::OpenFile(QWidget*, const FileDialogRequest& request) {
    fileRequests_.push_back(request);
    auto e = Next(Kind::OpenFile, request.title + " " + request.filter);
    return e ? e->files.value(0) : QString();
}

QStringList FakeDesktop::OpenFiles(QWidget*, const FileDialogRequest& request) {
    fileRequests_.push_back(request);
    auto e = Next(Kind::OpenFiles, request.title + " " + request.filter);
    return e ? e->files : QStringList();
}

QString FakeDesktop::ShowSaveDialog(QWidget*, const QString& filter, const QString& fileName,
                                    const QString& initialFolder) {
    fileRequests_.push_back({filter, 0, {}, initialFolder, fileName});
    auto e = Next(Kind::Save, filter + " " + fileName);
    return e ? e->files.value(0) : QString();
}

std::int32_t FakeDesktop::ChooseColor(QWidget*, std::int32_t initial) {
    colorStarts_.push_back(initial);
    auto e = Next(Kind::Color, QString::number(initial, 16));
    return e && e->color ? *e->color : initial;
}

QString FakeDesktop::BrowseForFolder(QWidget*, const QString& prompt) {
    auto e = Next(Kind::Folder, prompt);
    return e ? e->files.value(0) : QString();
}

bool FakeDesktop::ShellOpen(const QString& file) {
    openedDocuments_ << file;
    auto e = Next(Kind::ShellOpen, file);
    return e && e->succeeds;
}

void FakeDesktop::SetBusy(bool busy) {
    busy_ += busy ? 1 : -1;
}

QStringList FakeDesktop::FontNames() {
    return {"Arial", "Courier New", "Times New Roman", "Verdana"};
}

int FakeDesktop::ShowModal(QDialog* window) {
    const QString windowClass = window->metaObject()->className();
    ++modalCounts_[windowClass];
    auto it = handlers_.find(windowClass);
    if (it == handlers_.end()) {
        ADD_FAILURE() << "unexpected modal window " << windowClass.toStdString();
        return QDialog::Rejected;
    }
    window->setResult(QDialog::Rejected);
    window->show();
    // The offscreen platform leaves the owner active; focus changes need the dialog active.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(window);
    QT_WARNING_POP
    // A window without frame may never become active on a desktop without window manager.
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(window, 1000);
    it->second(window);
    if (window->isVisible()) {
        ADD_FAILURE() << "the handler left " << windowClass.toStdString() << " open";
        window->hide();
    }
    return window->result();
}

} // namespace scorewell::gui::test
