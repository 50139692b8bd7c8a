#include "app/OptionsDialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/Controls.h"
#include "common/PageStyleEditor.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "data/SimulationFolders.h"
#include "desktop/Desktop.h"

namespace scorewell::gui {

namespace {

const char* const kFolderCaptions[3] = {
    "Path to NASCAR Racing &3 Program File:",
    "Path to NASCAR &Legends Program File:",
    "Path to NASCAR &4 Program File:",
};

QString WithSeparator(const QString& folder) {
    if (Trim(S(folder)).empty()) {
        return folder;
    }
    return Q(WithTrailingSeparator(S(folder)));
}

} // namespace

OptionsDialog::OptionsDialog(QWidget* parent) : ModalDialog(parent, CloseBox::Keeps) {
    setObjectName("frmOptions");
    setWindowTitle("Options");

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("ts");

    auto* pathsTab = new QFrame;
    pathsTab->setObjectName("fraOptions_0");
    auto* paths = new QGridLayout(pathsTab);
    for (int i = 0; i < 3; ++i) {
        auto* caption = new QLabel(kFolderCaptions[i]);
        caption->setObjectName(QString("lblN3Path_%1").arg(i));
        folders_[i] = new QLineEdit;
        folders_[i]->setObjectName(QString("txtN3Path_%1").arg(i));
        folders_[i]->setMinimumWidth(Twips(4800));
        folders_[i]->installEventFilter(this);
        SelectAllOnFocus(folders_[i]);
        caption->setBuddy(folders_[i]);
        auto* browse = new QPushButton("Browse");
        browse->setObjectName(QString("cmdBrowse_%1").arg(i));
        browse->setAutoDefault(false);
        connect(browse, &QPushButton::clicked, this, [this, i] { Browse(i); });
        paths->addWidget(caption, 2 * i, 0, 1, 2);
        paths->addWidget(folders_[i], 2 * i + 1, 0);
        paths->addWidget(browse, 2 * i + 1, 1);
    }
    openLastFile_ = new QCheckBox("Open previous file on startup");
    openLastFile_->setObjectName("chkLastFileFlag");
    paths->setRowMinimumHeight(6, 6);
    paths->addWidget(openLastFile_, 7, 0, 1, 2);
    paths->setRowStretch(8, 1);
    tabs_->addTab(pathsTab, "Paths");

    auto* htmlTab = new QFrame;
    htmlTab->setObjectName("fraOptions_1");
    auto* html = new QVBoxLayout(htmlTab);
    pageStyle_ = new PageStyleEditor(PageStyleEditor::Look::Options);
    html->addWidget(pageStyle_);
    auto* note = new QLabel("These settings are the defaults for new Scorewell files.  New files "
                            "will take these settings until changed in the HTML Export dialog.  "
                            "Click the color squares to change them.");
    note->setObjectName("Label1");
    note->setWordWrap(true);
    html->addSpacing(Twips(120));
    html->addWidget(note);
    html->addStretch(1);
    tabs_->addTab(htmlTab, "HTML");

    auto* ok = new QPushButton("OK");
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
    auto* cancel = new QPushButton("Cancel");
    cancel->setObjectName("CancelButton");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &OptionsDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    SetOptions(ProgramOptions{});
}

void OptionsDialog::SetOptions(const ProgramOptions& options) {
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        folders_[i]->setText(Q(options.simPath[i]));
    }
    openLastFile_->setChecked(options.openLastFile);
    pageStyle_->SetBackgroundImage(options.useBGImage, Q(options.bgImage));
    pageStyle_->SetPageColors(options.colors);
    tabs_->setCurrentIndex(0);
}

ProgramOptions OptionsDialog::Options() const {
    ProgramOptions options;
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        options.simPath[i] = S(folders_[i]->text());
    }
    options.openLastFile = openLastFile_->isChecked();
    options.useBGImage = pageStyle_->UsesBackgroundImage();
    options.bgImage = S(pageStyle_->BackgroundImage());
    options.colors = pageStyle_->PageColors();
    return options;
}

void OptionsDialog::Browse(int index) {
    const QString folder = TheDesktop().BrowseForFolder(
        this, QString("Locate the program folder for %1...").arg(SimulationTitle(index)));
    if (!folder.isEmpty()) {
        folders_[index]->setText(WithSeparator(folder));
    }
}

void OptionsDialog::Ok() {
    // Clicking OK takes the focus from the box being edited, which completes its folder.
    for (QLineEdit* box : folders_) {
        box->setText(WithSeparator(box->text()));
    }
    const std::string message = CheckSimulationFolders(Options().simPath);
    if (!message.empty()) {
        ShowMessage(this, Q(message), "Invalid Path", MessageIcon::Exclamation);
        return;
    }
    Finish();
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event) {
    // A folder left without its separator gets one, so the executable is looked for inside it.
    if (event->type() == QEvent::FocusOut) {
        if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            box->setText(WithSeparator(box->text()));
        }
    }
    return ModalDialog::eventFilter(watched, event);
}

} // namespace scorewell::gui
