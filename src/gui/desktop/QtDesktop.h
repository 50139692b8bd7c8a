#pragma once

#include "desktop/Desktop.h"

namespace scorewell::gui {

// The desktop through Qt's own dialogs.
class QtDesktop : public Desktop {
public:
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
};

// "Description (*.a, *.b)|*.a;*.b|..." as Qt writes filters: "Description (*.a *.b);;...".
QString QtFilter(const QString& filter);

} // namespace scorewell::gui
