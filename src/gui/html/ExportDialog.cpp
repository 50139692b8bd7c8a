#include "html/ExportDialog.h"

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

#include "common/ColorSwatch.h"
#include "common/Controls.h"
#include "common/PageStyleEditor.h"
#include "common/Paths.h"
#include "common/Platform.h"
#include "data/League.h"
#include "data/Program.h"
#include "desktop/Desktop.h"
#include "html/PageWriter.h"

namespace scorewell::gui {

namespace {

const char* const kRowColorCaptions[5] = {"Header row colors:", "Default row colors:",
                                          "Alternate Row Colors:", "Border", "Table Background:"};
const char* const kSwatchCaptions[10] = {
    "Text:", "Background:", "Text:", "Background:", "Background:",
    "Text:", "Light:",      "Dark:", "*Hidden*",    "***"};
const char* const kHeadingColors[3] = {
    "Color for Page Heading:", "Color for Report Name:", "Color for Table Caption:"};
const char* const kHeadingColorTips[3] = {"Color for Page Heading", "Color for Report Name",
                                          "Color for Caption"};
const char* const kLayoutCaptions[3] = {"Border Size:", "Cell Padding:", "Cell Spacing:"};
const char* const kFontSizes[8] = {"Normal",     "1  (  8 pt)", "2  (10 pt)", "3  (12 pt)",
                                   "4  (14 pt)", "5  (18 pt)",  "6  (24 pt)", "7  (36 pt)"};

// The first swatch the dialog keeps itself; those before it are the page style editor's.
constexpr int kFirstSwatch = 5;
constexpr int kSwatches = 18;
constexpr int kFirstTableSwatch = 8;

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

std::array<std::int32_t, 5> PageColorsOf(const std::array<std::int32_t, kSwatches>& colors) {
    std::array<std::int32_t, 5> page{};
    std::copy_n(colors.begin(), page.size(), page.begin());
    return page;
}

} // namespace

ExportDialog::ExportDialog(QWidget* parent) : ModalDialog(parent) {
    setObjectName("frmExport");
    setWindowTitle("Export as HTML");

    tabs_ = new QTabWidget;
    tabs_->setObjectName("tabExport");
    tabs_->addTab(TextTab(), "Text");
    tabs_->addTab(TableTab(), "Table");
    tabs_->addTab(PageTab(), "Page");
    tabs_->setTabToolTip(0, "Text Properties");
    tabs_->setTabToolTip(1, "Table Properties");
    tabs_->setTabToolTip(2, "Page Properties");

    auto* preview = new QPushButton("&Preview");
    preview->setObjectName("cmdPreview");
    preview->setAutoDefault(false);
    connect(preview, &QPushButton::clicked, this, [this] { Preview(); });
    const std::array<QPushButton*, 2> buttons =
        NewIndexedButtons(nullptr, {{"&Export"}, {"Cancel"}}, 0,
                          {[this] { Export(); },
                           [this] {
                               reject();
                           }});
    buttons[0]->setDefault(true);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(kGap);
    buttonRow->addWidget(preview);
    buttonRow->addWidget(buttons[0]);
    buttonRow->addWidget(buttons[1]);
    buttonRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Twips(120), Twips(120), Twips(120), Twips(120));
    layout->setSpacing(kGap);
    layout->addWidget(tabs_);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    pageStyle_->SetPageColors(PageColorsOf(PageDefaults::kSwatchColors));
    for (int i = kFirstSwatch; i < kSwatches; ++i) {
        swatches_[i - kFirstSwatch]->SetColor(PageDefaults::kSwatchColors[i]);
    }
    for (int i = 0; i < 5; ++i) {
        TableColorsSwitched(i);
    }
}

QWidget* ExportDialog::TextTab() {
    QFrame* tab = Frame(0);
    auto* grid = new QGridLayout(tab);
    grid->setContentsMargins(Twips(60), Twips(120), Twips(60), Twips(60));
    QLineEdit** boxes[3] = {&heading_, &reportName_, &caption_};
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
        ColorSwatch*& swatch = swatches_[5 + i - kFirstSwatch];
        swatch = new ColorSwatch(QString("lblColor_%1").arg(5 + i), kHeadingColorTips[i]);
        grid->addWidget(Caption(kHeadingColors[i]), 4 + i, 0, 1, 1);
        grid->addWidget(swatch, 4 + i, 1, Qt::AlignLeft);
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(7, 1);
    return tab;
}

QWidget* ExportDialog::TableTab() {
    QFrame* tab = Frame(1);
    auto* columns = new QHBoxLayout(tab);
    columns->setContentsMargins(Twips(60), Twips(120), Twips(60), Twips(60));

    auto* layoutFrame = new QGroupBox("Layout");
    layoutFrame->setObjectName("fraLayout");
    auto* layoutGrid = new QGridLayout(layoutFrame);
    for (int i = 0; i < 3; ++i) {
        QLineEdit* box = layout_[i] = new QLineEdit;
        box->setObjectName(QString("txtLayout_%1").arg(i));
        box->setToolTip("Integer between 0 and 100");
        box->setFixedWidth(Twips(600));
        box->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), box));
        box->installEventFilter(this);
        SelectAllOnFocus(box);
        layoutGrid->addWidget(Caption(kLayoutCaptions[i], box), i, 0);
        layoutGrid->addWidget(box, i, 1);
    }
    layoutGrid->setRowStretch(3, 1);

    auto* colorFrame = new QGroupBox("Colors");
    colorFrame->setObjectName("fraColors");
    auto* colorGrid = new QGridLayout(colorFrame);
    colorGrid->setHorizontalSpacing(Twips(90));
    for (int i = 0; i < 10; ++i) {
        tableColorCaptions_[i] = new QLabel(kSwatchCaptions[i]);
        tableColorCaptions_[i]->setObjectName(QString("lblRowColors_%1").arg(i));
    }
    for (int k = kFirstTableSwatch; k < kSwatches; ++k) {
        swatches_[k - kFirstSwatch] = new ColorSwatch(QString("lblColor_%1").arg(k), {});
    }
    // Each caption stands beside the swatch it names; the alternate rows list their
    // background caption first.
    const int captionOf[10] = {0, 1, 2, 3, 5, 4, 6, 7, 8, 9};
    for (int i = 0; i < 5; ++i) {
        useTableColors_[i] = new QCheckBox(kRowColorCaptions[i]);
        useTableColors_[i]->setObjectName(QString("chkRowColors_%1").arg(i));
        connect(useTableColors_[i], &QCheckBox::toggled, this,
                [this, i] { TableColorsSwitched(i); });
        colorGrid->addWidget(useTableColors_[i], i, 0);
        for (int j = 0; j < 2; ++j) {
            const int swatch = kFirstTableSwatch + 2 * i + j;
            colorGrid->addWidget(tableColorCaptions_[captionOf[2 * i + j]], i, 1 + 2 * j,
                                 Qt::AlignRight | Qt::AlignVCenter);
            colorGrid->addWidget(swatches_[swatch - kFirstSwatch], i, 2 + 2 * j, Qt::AlignLeft);
        }
    }
    // The table background has one colour, and the check box names it.
    tableColorCaptions_[8]->hide();
    tableColorCaptions_[9]->hide();
    swatches_[17 - kFirstSwatch]->hide();
    colorGrid->addWidget(swatches_[16 - kFirstSwatch], 4, 2, Qt::AlignLeft);
    colorGrid->setColumnMinimumWidth(1, Twips(1100));
    colorGrid->setColumnMinimumWidth(3, Twips(1100));

    columns->addWidget(layoutFrame);
    columns->addWidget(colorFrame, 1);
    return tab;
}

QWidget* ExportDialog::PageTab() {
    QFrame* tab = Frame(2);
    auto* rows = new QVBoxLayout(tab);
    rows->setContentsMargins(Twips(60), Twips(120), Twips(60), Twips(60));

    auto* options = new QGroupBox("Page Options:");
    options->setObjectName("fraPageOptions");
    pageStyle_ = new PageStyleEditor(PageStyleEditor::Look::Export);
    (new QVBoxLayout(options))->addWidget(pageStyle_);

    auto* fontFrame = new QGroupBox("Page Font:");
    fontFrame->setObjectName("fraPageFont");
    auto* fontGrid = new QGridLayout(fontFrame);
    font_ = new QComboBox;
    font_->setObjectName("cboFontList");
    // The page names a font for its readers' browsers, which may have fonts this desktop lacks.
    font_->setEditable(true);
    font_->setInsertPolicy(QComboBox::NoInsert);
    font_->setMinimumWidth(Twips(3000));
    fontSize_ = new QComboBox;
    fontSize_->setObjectName("cboFontSize");
    for (const char* size : kFontSizes) {
        fontSize_->addItem(size);
    }
    fontGrid->addWidget(Caption("&Font:", font_), 0, 0);
    fontGrid->addWidget(font_, 0, 1);
    fontGrid->addWidget(Caption("&Size:", fontSize_), 0, 2);
    fontGrid->addWidget(fontSize_, 0, 3);
    fontGrid->setColumnStretch(1, 1);
    // Classic is the page as exports always wrote it; Modern is HTML5 for phones and print,
    // which takes only the font from this dialog's page styling.
    look_ = new QComboBox;
    look_->setObjectName("cboPageStyle");
    look_->addItems({"Classic", "Modern"});
    fontGrid->addWidget(Caption("St&yle:", look_), 1, 0);
    fontGrid->addWidget(look_, 1, 1);

    rows->addWidget(options);
    rows->addWidget(fontFrame);
    rows->addStretch(1);
    return tab;
}

void ExportDialog::SetReport(std::int32_t reportId) {
    content_ = PageContent::Report;
    reportId_ = reportId;
}

void ExportDialog::SetRace(std::int32_t raceId) {
    content_ = PageContent::RaceResults;
    reportId_ = raceId;
}

void ExportDialog::SetHeading(const QString& heading) {
    heading_->setText(heading);
}

void ExportDialog::SetReportName(const QString& reportName) {
    reportName_->setText(reportName);
}

void ExportDialog::SetCaption(const QString& caption) {
    caption_->setText(caption);
}

void ExportDialog::Load() {
    BusyPointer busy;
    const ExportDialogSettings s = LoadExportDialogSettings(league_->Db());
    heading_->setText(Q(s.heading));
    reportName_->setText(Q(s.reportName));
    caption_->setText(Q(s.caption));

    font_->clear();
    for (const QString& name : TheDesktop().FontNames()) {
        if (!name.isEmpty()) {
            font_->addItem(name);
        }
    }
    const QString font = ComboIndexOf(font_, Q(s.font)) >= 0 ? Q(s.font) : PageDefaults::kFont;
    font_->setCurrentIndex(ComboIndexOf(font_, font));
    font_->setEditText(font);
    fontSize_->setCurrentIndex(s.fontSize >= 0 && s.fontSize < fontSize_->count() ? s.fontSize : 0);
    look_->setCurrentIndex(s.modern ? 1 : 0);

    pageStyle_->SetBackgroundImage(s.useBGImage, Q(s.bgImage));
    pageStyle_->SetPageColors(PageColorsOf(s.colors));
    for (int i = kFirstSwatch; i < kSwatches; ++i) {
        swatches_[i - kFirstSwatch]->SetColor(s.colors[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < 5; ++i) {
        useTableColors_[i]->setChecked(s.useTableColors[static_cast<std::size_t>(i)]);
        TableColorsSwitched(i);
        if (i < 3) {
            layout_[i]->setText(Q(s.layout[static_cast<std::size_t>(i)]));
        }
    }
    tabs_->setCurrentIndex(0);
}

ExportDialogSettings ExportDialog::Settings() const {
    ExportDialogSettings s;
    s.heading = S(heading_->text());
    s.reportName = S(reportName_->text());
    s.caption = S(caption_->text());
    s.font = S(font_->currentText());
    s.fontSize = fontSize_->currentIndex();
    s.modern = look_->currentIndex() == 1;
    s.useBGImage = pageStyle_->UsesBackgroundImage();
    s.bgImage = S(pageStyle_->BackgroundImage());
    const std::array<std::int32_t, 5> page = pageStyle_->PageColors();
    std::copy(page.begin(), page.end(), s.colors.begin());
    for (int i = kFirstSwatch; i < kSwatches; ++i) {
        s.colors[static_cast<std::size_t>(i)] = swatches_[i - kFirstSwatch]->Color();
    }
    for (std::size_t i = 0; i < s.useTableColors.size(); ++i) {
        s.useTableColors[i] = useTableColors_[i]->isChecked();
    }
    for (std::size_t i = 0; i < s.layout.size(); ++i) {
        s.layout[i] = S(layout_[i]->text());
    }
    return s;
}

PageRequest ExportDialog::ExportRequest() const {
    return ExportedPage(league_->Db(), content_, reportId_,
                        {S(heading_->text()), S(reportName_->text()), S(caption_->text())},
                        league_->GetProgram().DecimalSeparator());
}

bool ExportDialog::WritePage(const std::string& file, const PageRequest& request) const {
    Program& program = league_->GetProgram();
    PageWriter writer(league_->Db(), program.Db());
    BusyPointer busy;
    return writer.Write(request, file);
}

void ExportDialog::TableColorsSwitched(int index) {
    const bool on = useTableColors_[index]->isChecked();
    for (int j = 0; j < 2; ++j) {
        swatches_[kFirstTableSwatch + 2 * index + j - kFirstSwatch]->setEnabled(on);
        tableColorCaptions_[2 * index + j]->setEnabled(on);
    }
    // Alternate rows are drawn only over default row colours.
    if (index == 1) {
        useTableColors_[2]->setEnabled(on);
        if (!on) {
            useTableColors_[2]->setChecked(false);
        }
    }
}

void ExportDialog::CompleteLayout(int index) {
    const int value = std::clamp(LayoutValue(S(layout_[index]->text())), 0, 100);
    layout_[index]->setText(QString::number(value));
}

void ExportDialog::Preview() {
    for (int i = 0; i < 3; ++i) {
        CompleteLayout(i);
    }
    const std::string file = JoinPath(league_->GetProgram().Folder(), "Preview.htm");
    if (!WritePage(file, PreviewPage(Settings(), content_, reportId_,
                                     league_->GetProgram().DecimalSeparator()))) {
        ShowMessage(this, "Error creating HTML file...", "Scorewell");
        RemoveFileIfExists(file);
        return;
    }
    if (!TheDesktop().ShellOpen(Q(file))) {
        ShowMessage(this, "Error viewing preview...", "Error", MessageIcon::Exclamation);
    }
}

void ExportDialog::Export() {
    for (int i = 0; i < 3; ++i) {
        CompleteLayout(i);
    }
    try {
        SaveExportDialogSettings(league_->Db(), Settings());
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
        return;
    }
    Finish();
}

bool ExportDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (int i = 0; i < 3; ++i) {
            if (watched == layout_[i]) {
                CompleteLayout(i);
            }
        }
    }
    return ModalDialog::eventFilter(watched, event);
}

} // namespace scorewell::gui
