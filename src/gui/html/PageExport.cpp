#include "html/PageExport.h"

#include <QLineEdit>

#include "common/Controls.h"
#include "common/Paths.h"
#include "data/League.h"
#include "data/Program.h"
#include "desktop/Desktop.h"
#include "html/CExport.h"
#include "html/PageSettings.h"
#include "html/frmExport.h"

namespace scorewell::gui {

void WriteExportedPage(QWidget* owner, League& league, Program& program, const frmExport& dialog,
                       const QString& proposedName) {
    const QString file =
        TheDesktop().ShowSaveDialog(owner, "HTML File (*.htm)|*.htm", proposedName, QString());
    if (file.isEmpty()) {
        return;
    }
    if (FileExists(S(file)) &&
        ShowMessage(owner, "The file " + Quoted(file) + " already exists!  Overwrite it?",
                    "File Exists", MessageIcon::None,
                    MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    CExport page(league.Db(), program.Db());
    page.DecimalSeparator = program.DecimalSeparator();
    page.ExportType = dialog.ExportType();
    page.ReportID = dialog.ReportID();
    page.Title = S(dialog.txtHeading->text());
    page.Title2 = S(dialog.txtCaption->text());
    page.ReportName = S(dialog.txtRepName->text());
    page.Footer = StandardFooter();
    page.Style = SavedPageStyle(league.Db());
    bool written = false;
    {
        BusyPointer busy;
        written = page.HTML(S(file));
    }
    if (!written) {
        ShowMessage(owner, "Error creating HTML file...", "Scorewell");
    }
}

void ExportRaceResults(LeagueCommandContext& context) {
    League& league = context.league;
    Program& program = context.program;
    const RaceHeading race =
        ReadRaceHeading(league.Db(), context.raceId, program.DecimalSeparator());

    frmExport dialog(context.owner);
    dialog.setDatabase(&league);
    dialog.setSLDatabase(&program);
    dialog.setReportID(context.raceId);
    dialog.setExportType(CExport::kRaceResults);
    dialog.setWindowTitle("Export Race Results to HTML");
    dialog.Load();
    dialog.txtHeading->setText(Q(SavedPageHeading(league.Db())));
    dialog.txtRepName->setText(Q(race.name));
    dialog.txtCaption->setText(Q(race.caption));
    TheDesktop().ShowModal(&dialog);
    if (!dialog.Cancelled()) {
        WriteExportedPage(context.owner, league, program, dialog, "Race Result.htm");
    }
}

} // namespace scorewell::gui
