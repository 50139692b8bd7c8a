#include "common/PageStyleEditor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/ColorSwatch.h"
#include "common/Controls.h"
#include "common/Paths.h"
#include "desktop/Desktop.h"

namespace scorewell::gui {

namespace {

using Look = PageStyleEditor::Look;

// What each look writes on and beside its swatches; the two dialogs were worded apart.
struct LookDesign {
    const char* colorNames[5];
    const char* colorTips[5];
    const char* browse;
};

constexpr LookDesign kOptionsLook = {
    {"Background:", "Text:", "Hyperlink:", "Visited Hyperlink:", "ActiveHyperlink:"},
    {"Color of page background", "Color of page text (table)", "Color of hyperlinks",
     "Color of visited hyperlinks", "Color of the active hyperlink"},
    "Browse",
};

constexpr LookDesign kExportLook = {
    {"Background", "Text", "Hyperlink", "Visited Hyperlink", "Active Hyperlink"},
    {"Color of page background", "Color of page text (table)", "Color of hyperlinks",
     "Color of a visited hyperlink", "Color of the active hyperlink"},
    "&Browse",
};

constexpr int kGap = Twips(120);

} // namespace

PageStyleEditor::PageStyleEditor(Look look, QWidget* parent) : QWidget(parent) {
    const LookDesign& design = look == Look::Options ? kOptionsLook : kExportLook;

    useImage_ = new QCheckBox("Background &Image");
    useImage_->setObjectName("chkBGImage");
    connect(useImage_, &QCheckBox::toggled, this, [this] { UseImageChanged(); });
    image_ = new QLineEdit;
    image_->setObjectName("txtBGImage");
    SelectAllOnFocus(image_);
    browse_ = new QPushButton(design.browse);
    browse_->setObjectName("cmdBGImage");
    browse_->setAutoDefault(false);
    connect(browse_, &QPushButton::clicked, this, [this] { ChooseImage(); });
    auto* imageRow = new QHBoxLayout;
    imageRow->addWidget(image_, 1);
    imageRow->addWidget(browse_);

    for (int i = 0; i < 5; ++i) {
        swatches_[i] = new ColorSwatch(QString("lblColor_%1").arg(i), design.colorTips[i]);
    }

    if (look == Look::Options) {
        auto* swatchGrid = new QGridLayout;
        swatchGrid->setHorizontalSpacing(kGap);
        for (int i = 0; i < 5; ++i) {
            auto* caption = new QLabel(design.colorNames[i]);
            caption->setObjectName(QString("Label2_%1").arg(i));
            // Page colours down the first column, the two link states down the second.
            const int row = i % 3;
            const int col = (i / 3) * 3;
            swatchGrid->addWidget(caption, row, col, Qt::AlignRight | Qt::AlignVCenter);
            swatchGrid->addWidget(swatches_[i], row, col + 1, Qt::AlignLeft | Qt::AlignVCenter);
        }
        swatchGrid->setColumnMinimumWidth(2, Twips(600));
        swatchGrid->setColumnStretch(5, 1);

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(useImage_);
        layout->addLayout(imageRow);
        layout->addSpacing(kGap);
        layout->addLayout(swatchGrid);
    } else {
        auto* layout = new QGridLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        for (int i = 0; i < 5; ++i) {
            swatches_[i]->setText(design.colorNames[i]);
            swatches_[i]->setFixedSize(Twips(1800), Twips(375));
            layout->addWidget(swatches_[i], i / 3, i % 3);
        }
        layout->setRowMinimumHeight(2, kGap);
        layout->addWidget(useImage_, 3, 0, 1, 3);
        layout->addLayout(imageRow, 4, 0, 1, 3);
    }
    UseImageChanged();
}

void PageStyleEditor::SetBackgroundImage(bool use, const QString& file) {
    useImage_->setChecked(use);
    UseImageChanged();
    image_->setText(file);
}

bool PageStyleEditor::UsesBackgroundImage() const {
    return useImage_->isChecked();
}

QString PageStyleEditor::BackgroundImage() const {
    return image_->text();
}

void PageStyleEditor::SetPageColors(const std::array<std::int32_t, 5>& colors) {
    for (std::size_t i = 0; i < colors.size(); ++i) {
        swatches_[i]->SetColor(colors[i]);
    }
}

std::array<std::int32_t, 5> PageStyleEditor::PageColors() const {
    std::array<std::int32_t, 5> colors{};
    for (std::size_t i = 0; i < colors.size(); ++i) {
        colors[i] = swatches_[i]->Color();
    }
    return colors;
}

void PageStyleEditor::UseImageChanged() {
    const bool on = useImage_->isChecked();
    image_->setEnabled(on);
    browse_->setEnabled(on);
}

void PageStyleEditor::ChooseImage() {
    FileDialogRequest request;
    request.filter = "All Files (*.*)|*.*|GIF and JPEG (*.gif, *.jpg)|*.gif;*.jpg|Bitmap "
                     "(*.bmp)|*.bmp|TIFF (*.tif)|*.tif|Windows Metafile (*.wmf)|*.wmf|PCX "
                     "(*.pcx)|*.pcx|Targa (*.tga)|*.tga";
    request.filterIndex = 1;
    request.title = "Select Background Image";
    // The dialog starts in the folder of the image chosen before.
    request.initialFolder = Q(FolderOf(S(image_->text())));
    const QString chosen = TheDesktop().OpenFile(this, request);
    if (!chosen.trimmed().isEmpty()) {
        image_->setText(chosen);
    }
}

} // namespace scorewell::gui
