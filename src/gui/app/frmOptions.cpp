#include "app/frmOptions.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "common/Controls.h"
#include "common/Paths.h"
#include "common/Swatches.h"
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

const char* const kColorCaptions[5] = {
    "Background:", "Text:", "Hyperlink:", "Visited Hyperlink:", "ActiveHyperlink:"};

const char* const kColorTips[5] = {"Color of page background", "Color of page text (table)",
                                   "Color of hyperlinks", "Color of visited hyperlinks",
                                   "Color of the active hyperlink"};

QString WithSeparator(const QString& folder) {
    if (Trim(S(folder)).empty()) {
        return folder;
    }
    return Q(WithTrailingSeparator(S(folder)));
}

} // namespace

frmOptions::frmOptions(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOptions");
    setWindowTitle("Options");

    ts = new QTabWidget(this);
    ts->setObjectName("ts");

    // Paths
    fraOptions[0] = new QFrame;
    fraOptions[0]->setObjectName("fraOptions_0");
    auto* paths = new QGridLayout(fraOptions[0]);
    for (int i = 0; i < 3; ++i) {
        lblN3Path[i] = new QLabel(kFolderCaptions[i]);
        lblN3Path[i]->setObjectName(QString("lblN3Path_%1").arg(i));
        txtN3Path[i] = new QLineEdit;
        txtN3Path[i]->setObjectName(QString("txtN3Path_%1").arg(i));
        txtN3Path[i]->setMinimumWidth(Twips(4800));
        txtN3Path[i]->installEventFilter(this);
        lblN3Path[i]->setBuddy(txtN3Path[i]);
        cmdBrowse[i] = new QPushButton("Browse");
        cmdBrowse[i]->setObjectName(QString("cmdBrowse_%1").arg(i));
        cmdBrowse[i]->setAutoDefault(false);
        connect(cmdBrowse[i], &QPushButton::clicked, this, [this, i] { cmdBrowse_Click(i); });
        paths->addWidget(lblN3Path[i], 2 * i, 0, 1, 2);
        paths->addWidget(txtN3Path[i], 2 * i + 1, 0);
        paths->addWidget(cmdBrowse[i], 2 * i + 1, 1);
    }
    chkLastFileFlag = new QCheckBox("Open previous file on startup");
    chkLastFileFlag->setObjectName("chkLastFileFlag");
    paths->setRowMinimumHeight(6, 6);
    paths->addWidget(chkLastFileFlag, 7, 0, 1, 2);
    paths->setRowStretch(8, 1);
    ts->addTab(fraOptions[0], "Paths");

    // HTML
    fraOptions[1] = new QFrame;
    fraOptions[1]->setObjectName("fraOptions_1");
    auto* html = new QVBoxLayout(fraOptions[1]);
    chkBGImage = new QCheckBox("Background &Image");
    chkBGImage->setObjectName("chkBGImage");
    connect(chkBGImage, &QCheckBox::toggled, this, [this] { chkBGImage_Click(); });
    html->addWidget(chkBGImage);
    auto* image = new QHBoxLayout;
    txtBGImage = new QLineEdit;
    txtBGImage->setObjectName("txtBGImage");
    txtBGImage->installEventFilter(this);
    cmdBGImage = new QPushButton("Browse");
    cmdBGImage->setObjectName("cmdBGImage");
    cmdBGImage->setAutoDefault(false);
    connect(cmdBGImage, &QPushButton::clicked, this, [this] { cmdBGImage_Click(); });
    image->addWidget(txtBGImage, 1);
    image->addWidget(cmdBGImage);
    html->addLayout(image);

    auto* swatches = new QGridLayout;
    swatches->setHorizontalSpacing(Twips(120));
    for (int i = 0; i < 5; ++i) {
        Label2[i] = new QLabel(kColorCaptions[i]);
        Label2[i]->setObjectName(QString("Label2_%1").arg(i));
        lblColor[i] = NewColorSwatch(QString("lblColor_%1").arg(i), kColorTips[i], this);
        // Page colours down the first column, the two link states down the second.
        const int row = i % 3;
        const int col = (i / 3) * 3;
        swatches->addWidget(Label2[i], row, col, Qt::AlignRight | Qt::AlignVCenter);
        swatches->addWidget(lblColor[i], row, col + 1, Qt::AlignLeft | Qt::AlignVCenter);
    }
    swatches->setColumnMinimumWidth(2, Twips(600));
    swatches->setColumnStretch(5, 1);
    html->addSpacing(Twips(120));
    html->addLayout(swatches);

    Label1 = new QLabel("These settings are the defaults for new Scorewell files.  New files will "
                        "take these settings until changed in the HTML Export dialog.  Click the "
                        "color squares to change them.");
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    html->addSpacing(Twips(120));
    html->addWidget(Label1);
    html->addStretch(1);
    ts->addTab(fraOptions[1], "HTML");

    OKButton = new QPushButton("OK");
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    CancelButton = new QPushButton("Cancel");
    CancelButton->setObjectName("CancelButton");
    CancelButton->setAutoDefault(false);
    connect(CancelButton, &QPushButton::clicked, this, &frmOptions::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ts);
    layout->addLayout(buttons);

    setOptions(ProgramOptions{});
}

void frmOptions::setOptions(const ProgramOptions& options) {
    for (int i = 0; i < 3; ++i) {
        txtN3Path[i]->setText(Q(options.simPath[static_cast<std::size_t>(i)]));
    }
    chkLastFileFlag->setChecked(options.openLastFile);
    chkBGImage->setChecked(options.useBGImage);
    chkBGImage_Click();
    txtBGImage->setText(Q(options.bgImage));
    for (int i = 0; i < 5; ++i) {
        SetColor(i, options.colors[static_cast<std::size_t>(i)]);
    }
    ts->setCurrentIndex(0);
    cancelled_ = false;
}

ProgramOptions frmOptions::Options() const {
    ProgramOptions options;
    for (std::size_t i = 0; i < 3; ++i) {
        options.simPath[i] = S(txtN3Path[i]->text());
    }
    options.openLastFile = chkLastFileFlag->isChecked();
    options.useBGImage = chkBGImage->isChecked();
    options.bgImage = S(txtBGImage->text());
    options.colors = colors_;
    return options;
}

void frmOptions::SetColor(int index, std::int32_t color) {
    colors_[static_cast<std::size_t>(index)] = color;
    ShowSwatchColor(lblColor[index], color);
}

void frmOptions::chkBGImage_Click() {
    const bool on = chkBGImage->isChecked();
    txtBGImage->setEnabled(on);
    cmdBGImage->setEnabled(on);
}

void frmOptions::cmdBGImage_Click() {
    const QString chosen = ChooseBackgroundImage(this, txtBGImage->text());
    if (!chosen.isEmpty()) {
        txtBGImage->setText(chosen);
    }
}

void frmOptions::cmdBrowse_Click(int index) {
    const QString folder = TheDesktop().BrowseForFolder(
        this, QString("Locate the program folder for %1...").arg(SimulationTitle(index)));
    if (!folder.isEmpty()) {
        txtN3Path[index]->setText(WithSeparator(folder));
    }
}

void frmOptions::lblColor_Click(int index) {
    SetColor(index, TheDesktop().ChooseColor(this, colors_[static_cast<std::size_t>(index)]));
}

void frmOptions::OKButton_Click() {
    // Clicking OK takes the focus from the box being edited, which completes its folder.
    for (QLineEdit* box : txtN3Path) {
        box->setText(WithSeparator(box->text()));
    }
    const std::string message = CheckSimulationFolders(Options().simPath);
    if (!message.empty()) {
        ShowMessage(this, Q(message), "Invalid Path", MessageIcon::Exclamation);
        return;
    }
    done(QDialog::Accepted);
}

void frmOptions::reject() {
    cancelled_ = true;
    done(QDialog::Rejected);
}

void frmOptions::closeEvent(QCloseEvent* event) {
    // The close box keeps what was typed, unchecked.
    event->accept();
    done(QDialog::Accepted);
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
    for (int i = 0; i < 5; ++i) {
        if (watched == lblColor[i] && event->type() == QEvent::MouseButtonRelease) {
            lblColor_Click(i);
            return true;
        }
    }
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
        if (event->type() == QEvent::FocusIn) {
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
        } else if (event->type() == QEvent::FocusOut && box != txtBGImage) {
            box->setText(WithSeparator(box->text()));
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace scorewell::gui
