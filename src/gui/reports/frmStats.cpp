#include "reports/frmStats.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>

#include <algorithm>

#include "common/Controls.h"
#include "data/League.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "desktop/Desktop.h"
#include "html/PageExport.h"
#include "html/PageSettings.h"
#include "html/frmExport.h"
#include "reports/Dropped.h"
#include "reports/ReportEngine.h"
#include "reports/frmEditColumns.h"

namespace scorewell::gui {

namespace {

constexpr int kMargin = Twips(120);

// The grid's alignment codes; "general" puts numbers right and texts left.
Qt::Alignment GridAlignment(int code, const Value& value) {
    switch (code) {
    case 0:
        return Qt::AlignLeft | Qt::AlignTop;
    case 1:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case 2:
        return Qt::AlignLeft | Qt::AlignBottom;
    case 3:
        return Qt::AlignHCenter | Qt::AlignTop;
    case 4:
        return Qt::AlignCenter;
    case 5:
        return Qt::AlignHCenter | Qt::AlignBottom;
    case 6:
        return Qt::AlignRight | Qt::AlignTop;
    case 7:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 8:
        return Qt::AlignRight | Qt::AlignBottom;
    default:
        return (value.IsNumber() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
}

// A cell of the fixed column: it looks like the header and is never selected.
QTableWidgetItem* FixedCell(const QString& text, const QPalette& palette) {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled);
    cell->setTextAlignment(Qt::AlignCenter);
    cell->setBackground(palette.color(QPalette::Button));
    cell->setForeground(palette.color(QPalette::ButtonText));
    return cell;
}

} // namespace

frmStats::frmStats(QWidget* parent) : QDialog(parent) {
    setObjectName("frmStats");
    setWindowTitle("Points and Stats");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);

    Label1 = new QLabel("Statistic to view:");
    Label1->setObjectName("Label1");
    cboStat = new QComboBox;
    cboStat->setObjectName("cboStat");
    Label1->setBuddy(cboStat);
    connect(cboStat, &QComboBox::currentIndexChanged, this, [this] { cboStat_Click(); });
    Label2 = new QLabel("Results:");
    Label2->setObjectName("Label2");

    fgCalcs = new QTableWidget(1, 2);
    fgCalcs->setObjectName("fgCalcs");
    fgCalcs->verticalHeader()->hide();
    fgCalcs->verticalHeader()->setDefaultSectionSize(fgCalcs->fontMetrics().height() + 6);
    fgCalcs->horizontalHeader()->setHighlightSections(false);
    fgCalcs->horizontalHeader()->setMinimumSectionSize(0);
    fgCalcs->setSelectionBehavior(QAbstractItemView::SelectRows);
    fgCalcs->setSelectionMode(QAbstractItemView::SingleSelection);
    fgCalcs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fgCalcs->setWordWrap(false);
    fgCalcs->setTextElideMode(Qt::ElideNone);
    fgCalcs->setHorizontalHeaderLabels({QString(), QString()});
    fgCalcs->setColumnWidth(0, Twips(300));

    const char* const captions[2] = {"HTML...", "Columns..."};
    for (int i = 0; i < 2; ++i) {
        cmdButton[i] = new QPushButton(captions[i]);
        cmdButton[i]->setObjectName(QString("cmdButton_%1").arg(i));
        cmdButton[i]->setAutoDefault(false);
        cmdButton[i]->setMinimumWidth(Twips(1215));
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
    }
    cmdButton[0]->setToolTip("Export this report into an HTML file.");

    // The list and the grid share the width; the buttons stand in a column to their right,
    // from the list's top down.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setHorizontalSpacing(kMargin);
    layout->setVerticalSpacing(Twips(60));
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(cboStat, 1, 0);
    layout->addWidget(cmdButton[0], 1, 1);
    layout->addWidget(Label2, 2, 0);
    layout->addWidget(cmdButton[1], 2, 1);
    layout->addWidget(fgCalcs, 3, 0);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);
}

void frmStats::Load() {
    BusyPointer busy;
    const DroppedMarking marking = MarkDroppedResults(league_->Db(), dropped_);
    numEvents_ = marking.numEvents;
    Label2->setText(Q(StandingsCaption(marking)));

    {
        const QSignalBlocker blocker(cboStat);
        cboStat->clear();
        for (const ReportInfo& report : ListReports(program_->Db())) {
            cboStat->addItem(Q(report.name), report.id);
        }
    }
    const bool reports = cboStat->count() > 0;
    cmdButton[0]->setEnabled(reports);
    cmdButton[1]->setEnabled(reports);
    if (reports) {
        cboStat->setCurrentIndex(0);
        cboStat_Click();
    }

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        resize(screen->size() * 3 / 4);
    }
}

std::int32_t frmStats::SelectedReport() const {
    return cboStat->currentData().toInt();
}

void frmStats::cboStat_Click() {
    if (cboStat->currentIndex() < 0) {
        return;
    }
    try {
        LoadReport(SelectedReport());
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
    }
}

void frmStats::cmdButton_Click(int index) {
    try {
        if (index == 0) {
            ExportStandings();
        } else {
            EditColumns();
        }
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
    }
}

void frmStats::LoadReport(std::int32_t reportId) {
    BusyPointer busy;
    const ReportDefinition report = LoadReportDefinition(program_->Db(), reportId);
    if (report.columns.empty()) {
        return;
    }
    // The query runs before the grid is touched, so a report that fails leaves it as it was.
    const ReportTable table = RunReport(league_->Db(), report, program_->DecimalSeparator());

    const int columns = static_cast<int>(report.columns.size());
    fgCalcs->setUpdatesEnabled(false);
    fgCalcs->clear();
    fgCalcs->setRowCount(0);
    fgCalcs->setColumnCount(1 + columns);
    QStringList headers{QString()};
    for (const ReportColumn& column : report.columns) {
        headers << Q(column.caption);
    }
    fgCalcs->setHorizontalHeaderLabels(headers);
    for (int i = 1; i <= columns; ++i) {
        const ReportColumn& column = report.columns[static_cast<std::size_t>(i - 1)];
        // A caption wider than its designed column widens it: the designed widths fit the
        // original's smaller font.
        const int caption =
            fgCalcs->horizontalHeader()->fontMetrics().horizontalAdvance(Q(column.caption)) + 12;
        fgCalcs->setColumnWidth(i, column.hidden ? 0 : std::max(Twips(column.width), caption));
        fgCalcs->horizontalHeaderItem(i)->setTextAlignment(
            GridAlignment(column.alignment, Value()) | Qt::AlignVCenter);
    }

    const int rows = static_cast<int>(table.RowCount());
    // Wider than designed when the row numbers need it: the designed width fits two digits only
    // in the original's smaller font.
    fgCalcs->setColumnWidth(
        0,
        std::max(Twips(300), fgCalcs->fontMetrics().horizontalAdvance(QString::number(rows)) + 10));
    fgCalcs->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        fgCalcs->setItem(r, 0, FixedCell(QString::number(r + 1), palette()));
        const auto& texts = table.texts[static_cast<std::size_t>(r)];
        const auto& values = table.values[static_cast<std::size_t>(r)];
        for (int i = 1; i <= columns; ++i) {
            const auto c = static_cast<std::size_t>(i - 1);
            auto* cell = new QTableWidgetItem(Q(texts[c]));
            cell->setTextAlignment(GridAlignment(report.columns[c].alignment, values[c]));
            fgCalcs->setItem(r, i, cell);
        }
    }
    if (rows > 0) {
        fgCalcs->setCurrentCell(0, 1);
    }
    fgCalcs->setUpdatesEnabled(true);
}

void frmStats::EditColumns() {
    frmEditColumns editor(this);
    editor.setDatabase(&program_->Db());
    editor.setReportName(cboStat->currentText());
    editor.setReportID(SelectedReport());
    editor.Load();
    TheDesktop().ShowModal(&editor);
    if (!editor.Cancelled()) {
        cboStat_Click();
    }
}

void frmStats::ExportStandings() {
    WriteSetting(league_->Db(), kSettingCaption, StandingsPageCaption(S(Label2->text())));

    frmExport dialog(this);
    dialog.setDatabase(league_);
    dialog.setSLDatabase(program_);
    dialog.setReportID(SelectedReport());
    dialog.setWindowTitle("Export to HTML");
    dialog.Load();
    dialog.txtRepName->setText(cboStat->currentText());
    TheDesktop().ShowModal(&dialog);
    if (!dialog.Cancelled()) {
        WriteExportedPage(this, *league_, *program_, dialog, cboStat->currentText() + ".htm");
    }
}

void ShowStats(LeagueCommandContext& context) {
    frmStats window(context.owner);
    window.setDatabase(&context.league);
    window.setSLDatabase(&context.program);
    window.setDropped(context.league.Settings().droppedRaces);
    window.Load();
    TheDesktop().ShowModal(&window);
}

} // namespace scorewell::gui
