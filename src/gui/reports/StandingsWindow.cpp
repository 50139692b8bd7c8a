#include "reports/StandingsWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>

#include <algorithm>

#include "common/Controls.h"
#include "data/League.h"
#include "data/Program.h"
#include "data/Settings.h"
#include "desktop/Desktop.h"
#include "editing/AdjustmentsWindow.h"
#include "html/ExportDialog.h"
#include "html/PageExport.h"
#include "html/PageSettings.h"
#include "reports/ColumnEditor.h"
#include "reports/Dropped.h"
#include "reports/ReportEngine.h"

namespace scorewell::gui {

namespace {

constexpr int kMargin = Twips(120);

// The grid's alignment codes 0 to 8: left, centre or right (code / 3), each at the top, the
// middle or the bottom (code % 3). Any other code is "general": numbers right, texts left.
Qt::Alignment GridAlignment(int code, const Value& value) {
    constexpr Qt::AlignmentFlag kHorizontal[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    constexpr Qt::AlignmentFlag kVertical[3] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    if (code < 0 || code > 8) {
        return (value.IsNumber() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
    return kHorizontal[code / 3] | kVertical[code % 3];
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

StandingsWindow::StandingsWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("frmStats");
    setWindowTitle("Points and Stats");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);

    auto* reportCaption = new QLabel("Statistic to view:");
    reportCaption->setObjectName("Label1");
    reports_ = new QComboBox;
    reports_->setObjectName("cboStat");
    reportCaption->setBuddy(reports_);
    connect(reports_, &QComboBox::currentIndexChanged, this, [this] { ReportChosen(); });
    caption_ = new QLabel("Results:");
    caption_->setObjectName("Label2");

    grid_ = new QTableWidget(1, 2);
    grid_->setObjectName("fgCalcs");
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->horizontalHeader()->setMinimumSectionSize(0);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);
    grid_->setTextElideMode(Qt::ElideNone);
    grid_->setHorizontalHeaderLabels({QString(), QString()});
    grid_->setColumnWidth(0, Twips(300));

    // What the buttons open may fail on the league; the window stays.
    auto guarded = [this](void (StandingsWindow::*run)()) {
        return [this, run] {
            try {
                (this->*run)();
            } catch (const std::exception& e) {
                ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
            }
        };
    };
    const std::array<QPushButton*, 3> buttons = NewIndexedButtons(
        nullptr,
        {{"HTML...", "Export this report into an HTML file."},
         {"Columns..."},
         {"Adjustments...", "Penalties and points given back."}},
        Twips(1215),
        {guarded(&StandingsWindow::ExportStandings), guarded(&StandingsWindow::EditColumns),
         guarded(&StandingsWindow::EditAdjustments)});
    html_ = buttons[0];
    columns_ = buttons[1];
    adjustments_ = buttons[2];

    // The list and the grid share the width; the buttons stand in a column to their right,
    // from the list's top down.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setHorizontalSpacing(kMargin);
    layout->setVerticalSpacing(Twips(60));
    layout->addWidget(reportCaption, 0, 0);
    layout->addWidget(reports_, 1, 0);
    layout->addWidget(html_, 1, 1);
    layout->addWidget(caption_, 2, 0);
    layout->addWidget(columns_, 2, 1);
    layout->addWidget(adjustments_, 3, 1, Qt::AlignTop);
    layout->addWidget(grid_, 3, 0);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);
}

void StandingsWindow::Load() {
    BusyPointer busy;
    const DroppedMarking marking =
        MarkDroppedResults(league_->Db(), league_->Settings().droppedRaces);
    caption_->setText(Q(StandingsCaption(marking)));

    {
        const QSignalBlocker blocker(reports_);
        reports_->clear();
        for (const ReportInfo& report : ListReports(league_->GetProgram().Db())) {
            reports_->addItem(Q(report.name), report.id);
        }
    }
    const bool any = reports_->count() > 0;
    html_->setEnabled(any);
    columns_->setEnabled(any);
    if (any) {
        reports_->setCurrentIndex(0);
        ReportChosen();
    }

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        resize(screen->size() * 3 / 4);
    }
}

std::int32_t StandingsWindow::SelectedReport() const {
    return reports_->currentData().toInt();
}

void StandingsWindow::ReportChosen() {
    if (reports_->currentIndex() < 0) {
        return;
    }
    try {
        LoadReport(SelectedReport());
    } catch (const std::exception& e) {
        ShowMessage(this, Q(e.what()), "Error", MessageIcon::Exclamation);
    }
}

void StandingsWindow::LoadReport(std::int32_t reportId) {
    BusyPointer busy;
    const ReportDefinition report = LoadReportDefinition(league_->GetProgram().Db(), reportId);
    if (report.columns.empty()) {
        return;
    }
    // The query runs before the grid is touched, so a report that fails leaves it as it was.
    const ReportTable table =
        RunReport(league_->Db(), report, league_->GetProgram().DecimalSeparator());

    const int columns = static_cast<int>(report.columns.size());
    grid_->setUpdatesEnabled(false);
    grid_->clear();
    grid_->setRowCount(0);
    grid_->setColumnCount(1 + columns);
    QStringList headers{QString()};
    for (const ReportColumn& column : report.columns) {
        headers << Q(column.caption);
    }
    grid_->setHorizontalHeaderLabels(headers);
    for (int i = 1; i <= columns; ++i) {
        const ReportColumn& column = report.columns[static_cast<std::size_t>(i - 1)];
        // A caption wider than its stored column width widens the column: the stored widths
        // were set for a smaller font than the desktop's.
        const int caption =
            grid_->horizontalHeader()->fontMetrics().horizontalAdvance(Q(column.caption)) + 12;
        grid_->setColumnWidth(i, column.hidden ? 0 : std::max(Twips(column.width), caption));
        grid_->horizontalHeaderItem(i)->setTextAlignment(GridAlignment(column.alignment, Value()) |
                                                         Qt::AlignVCenter);
    }

    const int rows = static_cast<int>(table.RowCount());
    // Wider than its usual width when the row numbers need it: that width fits two digits only
    // in a small font.
    grid_->setColumnWidth(
        0,
        std::max(Twips(300), grid_->fontMetrics().horizontalAdvance(QString::number(rows)) + 10));
    grid_->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        grid_->setItem(r, 0, FixedCell(QString::number(r + 1), palette()));
        const auto& texts = table.texts[static_cast<std::size_t>(r)];
        const auto& values = table.values[static_cast<std::size_t>(r)];
        for (int i = 1; i <= columns; ++i) {
            const auto c = static_cast<std::size_t>(i - 1);
            auto* cell = new QTableWidgetItem(Q(texts[c]));
            cell->setTextAlignment(GridAlignment(report.columns[c].alignment, values[c]));
            grid_->setItem(r, i, cell);
        }
    }
    if (rows > 0) {
        grid_->setCurrentCell(0, 1);
    }
    grid_->setUpdatesEnabled(true);
}

void StandingsWindow::EditColumns() {
    ColumnEditor editor(this);
    editor.SetReport(league_->GetProgram().Db(), SelectedReport(), reports_->currentText());
    editor.Load();
    TheDesktop().ShowModal(&editor);
    if (!editor.Cancelled()) {
        ReportChosen();
    }
}

void StandingsWindow::EditAdjustments() {
    AdjustmentsWindow window(this);
    window.SetLeague(*league_);
    window.Load();
    TheDesktop().ShowModal(&window);
    // The totals, intervals and order the shown report has are those before the change.
    if (window.Changed()) {
        ReportChosen();
    }
}

void StandingsWindow::ExportStandings() {
    WriteSetting(league_->Db(), SettingId::Caption, StandingsPageCaption(S(caption_->text())));

    ExportDialog dialog(this);
    dialog.SetLeague(*league_);
    dialog.SetReport(SelectedReport());
    dialog.setWindowTitle("Export to HTML");
    dialog.Load();
    dialog.SetReportName(reports_->currentText());
    TheDesktop().ShowModal(&dialog);
    if (!dialog.Cancelled()) {
        WriteExportedPage(this, dialog, reports_->currentText() + ".htm");
    }
}

void ShowStandingsWindow(LeagueCommandContext& context) {
    StandingsWindow window(context.owner);
    window.SetLeague(context.league);
    window.Load();
    TheDesktop().ShowModal(&window);
}

} // namespace scorewell::gui
