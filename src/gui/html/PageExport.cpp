#include "html/PageExport.h"

#include "common/Controls.h"
#include "common/Paths.h"
#include "data/League.h"
#include "data/Program.h"
#include "desktop/Desktop.h"
#include "html/ExportDialog.h"
#include "html/PageSettings.h"

namespace scorewell::gui {

void WriteExportedPage(QWidget* owner, const ExportDialog& dialog, const QString& proposedName) {
    const QString file =
        TheDesktop().SaveFile(owner, "HTML File (*.htm)|*.htm", proposedName, QString());
    if (file.isEmpty()) {
        return;
    }
    if (FileExists(S(file)) &&
        ShowMessage(owner, "The file " + Quoted(file) + " already exists!  Overwrite it?",
                    "File Exists", MessageIcon::None,
                    MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    if (!dialog.WritePage(S(file), dialog.ExportRequest())) {
        ShowMessage(owner, "Error creating HTML file...", "Scorewell");
    }
}

void ExportRaceResults(LeagueCommandContext& context) {
    League& league = context.league;
    const RaceHeading race =
        ReadRaceHeading(league.Db(), context.raceId, context.program.DecimalSeparator());

    ExportDialog dialog(context.owner);
    dialog.SetLeague(league);
    dialog.SetRace(context.raceId);
    dialog.setWindowTitle("Export Race Results to HTML");
    dialog.Load();
    dialog.SetHeading(Q(SavedPageHeading(league.Db())));
    dialog.SetReportName(Q(race.name));
    dialog.SetCaption(Q(race.caption));
    TheDesktop().ShowModal(&dialog);
    if (!dialog.Cancelled()) {
        WriteExportedPage(context.owner, dialog, "Race Result.htm");
    }
}

} // namespace scorewell::gui
