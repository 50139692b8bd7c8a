#pragma once

#include <QString>

#include "app/LeagueCommands.h"

class QWidget;

namespace scorewell {
class League;
} // namespace scorewell

namespace scorewell::gui {

class ExportDialog;

// What every export does once its dialog was left with Export: asks for the file, asks before
// replacing one, and writes the page with the dialog's texts and the styling it saved.
void WriteExportedPage(QWidget* owner, const ExportDialog& dialog, const QString& proposedName);

// Race > HTML: the results of the selected race.
void ExportRaceResults(LeagueCommandContext& context);

} // namespace scorewell::gui
