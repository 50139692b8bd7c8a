#pragma once

#include <array>

#include "common/ModalDialog.h"
#include "data/ProgramOptions.h"

class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace scorewell::gui {

class PageStyleEditor;

// The Options dialog (form frmOptions): simulation folders, opening the last file at start-up,
// and the page defaults that new league files take. OK checks the folders; the close box keeps
// what was typed, unchecked.
class OptionsDialog : public ModalDialog {
    Q_OBJECT

public:
    explicit OptionsDialog(QWidget* parent = nullptr);

    // Fills the controls; the folder boxes take the folders the program holds.
    void SetOptions(const ProgramOptions& options);
    // The options as the controls show them.
    ProgramOptions Options() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Browse(int index);
    void Ok();

    QTabWidget* tabs_ = nullptr;
    std::array<QLineEdit*, 3> folders_{};
    QCheckBox* openLastFile_ = nullptr;
    PageStyleEditor* pageStyle_ = nullptr;
};

} // namespace scorewell::gui
