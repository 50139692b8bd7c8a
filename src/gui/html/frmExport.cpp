#include "html/frmExport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "common/Controls.h"
#include "common/Platform.h"
#include "common/Paths.h"
#include "common/Swatches.h"
#include "data/League.h"
#include "data/Program.h"
#include "desktop/Desktop.h"
#include "html/CExport.h"

namespace scorewell::gui {

namespace {

const char* const kRowColorCaptions[5] = {"Header row colors:", "Default row colors:",
                                          "Alternate Row Colors:", "Border", "Table Background:"};
const char* const kSwatchCaptions[10] = {
    "Text:", "Background:", "Text:", "Background:", "Background:",
    "Text:", "Light:",      "Dark:", "*Hidden*",    "***"};
const char* const kPageColors[5] = {"Background", "Text", "Hyperlink", "Visited Hyperlink",
                                    "Active Hyperlink"};
const char* const kPageColorTips[5] = {"Color of page background", "Color of page text (table)",
                                       "Color of hyperlinks", "Color of a visited hyperlink",
                                       "Color of the active hyperlink"};
const char* const kHeadingColors[3] = {
    "Color for Page Heading:", "Color for Report Name:", "Color for Table Caption:"};
const char* const kHeadingColorTips[3] = {"Color for Page Heading", "Color for Report Name",
                                          "Color for Caption"};
const char* const kLayoutCaptions[3] = {"Border Size:", "Cell Padding:", "Cell Spacing:"};
const char* const kFontSizes[8] = {"Normal",     "1  (  8 pt)", "2  (10 pt)", "3  (12 pt)",
                                   "4  (14 pt)", "5  (18 pt)",  "6  (24 pt)", "7  (36 pt)"};

constexpr int kGap = Twips(120);

QLabel* Caption(const QString& text, QWidget* buddy = nullptr) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QFrame* Frame(int index) {
    auto* frame = new QFrame;
    frame->setObjectName(QString("fraTab_%1").arg(index));
    return frame;
}

} // namespace

frmExport::frmExport(QWidget* parent) : QDialog(parent) {
    setObjectName("frmExport");
    setWindowTitle("Export as HTML");

    tabExport = new QTabWidget;
    tabExport->setObjectName("tabExport");
    tabExport->addTab(TextTab(), "Text");
    tabExport->addTab(TableTab(), "Table");
    tabExport->addTab(PageTab(), "Page");
    tabExport->setTabToolTip(0, "Text Properties");
    tabExport->setTabToolTip(1, "Table Properties");
    tabExport->setTabToolTip(2, "Page Properties");

    cmdPreview = new QPushButton("&Preview");
    cmdPreview->setObjectName("cmdPreview");
    cmdPreview->setAutoDefault(false);
    connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    const char* const captions[2] = {"&Export", "Cancel"};
    for (int i = 0; i < 2; ++i) {
        cmdButton[i] = new QPushButton(captions[i]);
        cmdButton[i]->setObjectName(QString("cmdButton_%1").arg(i));
        cmdButton[i]->setAutoDefault(false);
    }
    cmdButton[0]->setDefault(true);
    connect(cmdButton[0], &QPushButton::clicked, this, [this] { Export(); });
    connect(cmdButton[1], &QPushButton::clicked, this, &frmExport::reject);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kGap);
    buttons->addWidget(cmdPreview);
    buttons->addWidget(cmdButton[0]);
    buttons->addWidget(cmdButton[1]);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Twips(120), Twips(120), Twips(120), Twips(120));
    layout->setSpacing(kGap);
    layout->addWidget(tabExport);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (int i = 0; i < 18; ++i) {
        SetColor(i, colors_[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < 5; ++i) {
        chkRowColors_Click(i);
    }
    chkBGImage_Click();
}

QWidget* frmExport::TextTab() {
    fraTab[0] = Frame(0);
    auto* grid = new QGridLayout(fraTab[0]);
    grid->setContentsMargins(Twips(60), Twips(120), Twips(60), Twips(60));
    QLineEdit** boxes[3] = {&txtHeading, &txtRepName, &txtCaption};
    const char* const names[3] = {"txtHeading", "txtRepName", "txtCaption"};
    const char* const captions[3] = {"Page &Heading:", "Report &Name:", "Table &Caption:"};
    for (int i = 0; i < 3; ++i) {
        QLineEdit* box = *boxes[i] = new QLineEdit;
        box->setObjectName(names[i]);
        box->setMinimumWidth(Twips(5400));
        SelectAllOnFocus(box);
        grid->addWidget(Caption(captions[i], box), i, 0);
        grid->addWidget(box, i, 1, 1, 2);
    }
    grid->setRowMinimumHeight(3, kGap);
    for (int i = 0; i < 3; ++i) {
        lblColor[5 + i] =
            NewColorSwatch(QString("lblColor_%1").arg(5 + i), kHeadingColorTips[i], this);
        grid->addWidget(Caption(kHeadingColors[i]), 4 + i, 0, 1, 1);
        grid->addWidget(lblColor[5 + i], 4 + i, 1, Qt::AlignLeft);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(7, 1);
    return fraTab[0];
}

QWidget* frmExport::TableTab() {
    fraTab[1] = Frame(1);
    auto* tab = new QHBoxLayout(fraTab[1]);
    tab->setContentsMargins(Twips(60), Twips(120), Twips(60), Twips(60));

    auto* layoutFrame = new QGroupBox("Layout");
    layoutFrame->setObjectName("fraLayout");
    auto* layoutGrid = new QGridLayout(layoutFrame);
    for (int i = 0; i < 3; ++i) {
        txtLayout[i] = new QLineEdit;
        txtLayout[i]->setObjectName(QString("txtLayout_%1").arg(i));
        txtLayout[i]->setToolTip("Integer between 0 and 100");
        txtLayout[i]->setFixedWidth(Twips(600));
        txtLayout[i]->setValidator(
            new QRegularExpressionValidator(QRegularExpression("[0-9]*"), txtLayout[i]));
        txtLayout[i]->installEventFilter(this);
        SelectAllOnFocus(txtLayout[i]);
        layoutGrid->addWidget(Caption(kLayoutCaptions[i], txtLayout[i]), i, 0);
        layoutGrid->addWidget(txtLayout[i], i, 1);
    }
    layoutGrid->setRowStretch(3, 1);

    auto* colorFrame = new QGroupBox("Colors");
    colorFrame->setObjectName("fraColors");
    auto* colorGrid = new QGridLayout(colorFrame);
    colorGrid->setHorizontalSpacing(Twips(90));
    for (int i = 0; i < 10; ++i) {
        lblRowColors[i] = new QLabel(kSwatchCaptions[i]);
        lblRowColors[i]->setObjectName(QString("lblRowColors_%1").arg(i));
    }
    for (int k = 8; k < 18; ++k) {
        lblColor[k] = NewColorSwatch(QString("lblColor_%1").arg(k), {}, this);
    }
    // Each caption stands beside the swatch it names; the alternate rows list their
    // background caption first.
    const int captionOf[10] = {0, 1, 2, 3, 5, 4, 6, 7, 8, 9};
    for (int i = 0; i < 5; ++i) {
        chkRowColors[i] = new QCheckBox(kRowColorCaptions[i]);
        chkRowColors[i]->setObjectName(QString("chkRowColors_%1").arg(i));
        connect(chkRowColors[i], &QCheckBox::toggled, this, [this, i] { chkRowColors_Click(i); });
        colorGrid->addWidget(chkRowColors[i], i, 0);
        for (int j = 0; j < 2; ++j) {
            const int swatch = 2 * i + 8 + j;
            colorGrid->addWidget(lblRowColors[captionOf[2 * i + j]], i, 1 + 2 * j,
                                 Qt::AlignRight | Qt::AlignVCenter);
            colorGrid->addWidget(lblColor[swatch], i, 2 + 2 * j, Qt::AlignLeft);
        }
    }
    // The table background has one colour, and the check box names it.
    lblRowColors[8]->hide();
    lblRowColors[9]->hide();
    lblColor[17]->hide();
    colorGrid->addWidget(lblColor[16], 4, 2, Qt::AlignLeft);
    colorGrid->setColumnMinimumWidth(1, Twips(1100));
    colorGrid->setColumnMinimumWidth(3, Twips(1100));

    tab->addWidget(layoutFrame);
    tab->addWidget(colorFrame, 1);
    return fraTab[1];
}

QWidget* frmExport::PageTab() {
    fraTab[2] = Frame(2);
    auto* tab = new QVBoxLayout(fraTab[2]);
    tab->setContentsMargins(Twips(60), Twips(120), Twips(60), Twips(60));

    auto* options = new QGroupBox("Page Options:");
    options->setObjectName("fraPageOptions");
    auto* grid = new QGridLayout(options);
    for (int i = 0; i < 5; ++i) {
        lblColor[i] = NewColorSwatch(QString("lblColor_%1").arg(i), kPageColorTips[i], this);
        lblColor[i]->setText(kPageColors[i]);
        lblColor[i]->setFixedSize(Twips(1800), Twips(375));
        grid->addWidget(lblColor[i], i / 3, i % 3);
    }
    chkBGImage = new QCheckBox("Background &Image");
    chkBGImage->setObjectName("chkBGImage");
    connect(chkBGImage, &QCheckBox::toggled, this, [this] { chkBGImage_Click(); });
    txtBGImage = new QLineEdit;
    txtBGImage->setObjectName("txtBGImage");
    SelectAllOnFocus(txtBGImage);
    cmdBGImage = new QPushButton("&Browse");
    cmdBGImage->setObjectName("cmdBGImage");
    cmdBGImage->setAutoDefault(false);
    connect(cmdBGImage, &QPushButton::clicked, this, [this] { cmdBGImage_Click(); });
    auto* image = new QHBoxLayout;
    image->addWidget(txtBGImage, 1);
    image->addWidget(cmdBGImage);
    grid->setRowMinimumHeight(2, kGap);
    grid->addWidget(chkBGImage, 3, 0, 1, 3);
    grid->addLayout(image, 4, 0, 1, 3);

    auto* font = new QGroupBox("Page Font:");
    font->setObjectName("fraPageFont");
    auto* fontGrid = new QGridLayout(font);
    cboFontList = new QComboBox;
    cboFontList->setObjectName("cboFontList");
    // The page names a font for its readers' browsers, which may have fonts this desktop lacks.
    cboFontList->setEditable(true);
    cboFontList->setInsertPolicy(QComboBox::NoInsert);
    cboFontList->setMinimumWidth(Twips(3000));
    cboFontSize = new QComboBox;
    cboFontSize->setObjectName("cboFontSize");
    for (const char* size : kFontSizes) {
        cboFontSize->addItem(size);
    }
    fontGrid->addWidget(Caption("&Font:", cboFontList), 0, 0);
    fontGrid->addWidget(cboFontList, 0, 1);
    fontGrid->addWidget(Caption("&Size:", cboFontSize), 0, 2);
    fontGrid->addWidget(cboFontSize, 0, 3);
    fontGrid->setColumnStretch(1, 1);

    tab->addWidget(options);
    tab->addWidget(font);
    tab->addStretch(1);
    return fraTab[2];
}

void frmExport::Load() {
    BusyPointer busy;
    const ExportDialogSettings s = LoadExportDialogSettings(league_->Db());
    txtHeading->setText(Q(s.heading));
    txtRepName->setText(Q(s.reportName));
    txtCaption->setText(Q(s.caption));

    cboFontList->clear();
    for (const QString& name : TheDesktop().FontNames()) {
        if (!name.isEmpty()) {
            cboFontList->addItem(name);
        }
    }
    const QString font = ComboIndexOf(cboFontList, Q(s.font)) >= 0 ? Q(s.font) : designed::kFont;
    cboFontList->setCurrentIndex(ComboIndexOf(cboFontList, font));
    cboFontList->setEditText(font);
    cboFontSize->setCurrentIndex(s.fontSize >= 0 && s.fontSize < cboFontSize->count() ? s.fontSize
                                                                                      : 0);

    chkBGImage->setChecked(s.useBGImage);
    chkBGImage_Click();
    txtBGImage->setText(Q(s.bgImage));
    for (int i = 0; i < 18; ++i) {
        SetColor(i, s.colors[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < 5; ++i) {
        chkRowColors[i]->setChecked(s.useTableColors[static_cast<std::size_t>(i)]);
        chkRowColors_Click(i);
        if (i < 3) {
            txtLayout[i]->setText(Q(s.layout[static_cast<std::size_t>(i)]));
        }
    }
    tabExport->setCurrentIndex(0);
}

ExportDialogSettings frmExport::Settings() const {
    ExportDialogSettings s;
    s.heading = S(txtHeading->text());
    s.reportName = S(txtRepName->text());
    s.caption = S(txtCaption->text());
    s.font = S(cboFontList->currentText());
    s.fontSize = cboFontSize->currentIndex();
    s.useBGImage = chkBGImage->isChecked();
    s.bgImage = S(txtBGImage->text());
    s.colors = colors_;
    for (std::size_t i = 0; i < s.useTableColors.size(); ++i) {
        s.useTableColors[i] = chkRowColors[i]->isChecked();
    }
    for (std::size_t i = 0; i < s.layout.size(); ++i) {
        s.layout[i] = S(txtLayout[i]->text());
    }
    return s;
}

void frmExport::SetColor(int index, std::int32_t color) {
    colors_[static_cast<std::size_t>(index)] = color;
    ShowSwatchColor(lblColor[index], color);
}

void frmExport::chkRowColors_Click(int index) {
    const bool on = chkRowColors[index]->isChecked();
    for (int j = 0; j < 2; ++j) {
        lblColor[2 * index + 8 + j]->setEnabled(on);
        lblRowColors[2 * index + j]->setEnabled(on);
    }
    if (index == 1) {
        chkRowColors[2]->setEnabled(on);
        if (!on) {
            chkRowColors[2]->setChecked(false);
        }
    }
}

void frmExport::chkBGImage_Click() {
    const bool on = chkBGImage->isChecked();
    txtBGImage->setEnabled(on);
    cmdBGImage->setEnabled(on);
}

void frmExport::cmdBGImage_Click() {
    const QString chosen = ChooseBackgroundImage(this, txtBGImage->text());
    if (!chosen.isEmpty()) {
        txtBGImage->setText(chosen);
    }
}

void frmExport::lblColor_Click(int index) {
    SetColor(index, TheDesktop().ChooseColor(this, colors_[static_cast<std::size_t>(index)]));
}

void frmExport::txtLayout_LostFocus(int index) {
    const int value = std::clamp(LayoutValue(S(txtLayout[index]->text())), 0, 100);
    txtLayout[index]->setText(QString::number(value));
}

void frmExport::cmdPreview_Click() {
    for (int i = 0; i < 3; ++i) {
        txtLayout_LostFocus(i);
    }
    const std::string file = JoinPath(program_->Folder(), "Preview.htm");
    CExport page(league_->Db(), program_->Db());
    page.DecimalSeparator = program_->DecimalSeparator();
    page.ExportType = exportType_;
    page.ReportID = reportId_;
    page.Title = S(txtHeading->text());
    page.Title2 = S(txtCaption->text());
    page.ReportName = S(txtRepName->text());
    page.Footer = PreviewFooter();
    page.Style = PageStyleOf(Settings());
    bool written = false;
    {
        BusyPointer busy;
        written = page.HTML(file);
    }
    if (!written) {
        ShowMessage(this, "Error creating HTML file...", "Scorewell");
        RemoveFileIfExists(file);
        return;
    }
    if (!TheDesktop().ShellOpen(Q(file))) {
        ShowMessage(this, "Error viewing preview...", "Error", MessageIcon::Exclamation);
    }
}

void frmExport::Export() {
    for (int i = 0; i < 3; ++i) {
        txtLayout_LostFocus(i);
    }
    try {
        SaveExportDialogSettings(league_->Db(), Settings());
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return;
    }
    cancelled_ = false;
    done(QDialog::Accepted);
}

void frmExport::reject() {
    cancelled_ = true;
    done(QDialog::Rejected);
}

bool frmExport::eventFilter(QObject* watched, QEvent* event) {
    for (int i = 0; i < 18; ++i) {
        if (watched == lblColor[i] && event->type() == QEvent::MouseButtonRelease) {
            lblColor_Click(i);
            return true;
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (watched == txtLayout[i] && event->type() == QEvent::FocusOut) {
            txtLayout_LostFocus(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace scorewell::gui
