#include "app/LeagueCommands.h"

#include <map>

#include "editing/DriverListWindow.h"
#include "editing/AdjustmentsWindow.h"
#include "editing/RaceResultsEditor.h"
#include "html/PageExport.h"
#include "html/SeasonPublish.h"
#include "import/ImportDialog.h"
#include "import/OfflineSettingsDialog.h"
#include "reports/StandingsWindow.h"
#include "scoring/PointSystemEditor.h"

namespace scorewell::gui {

namespace {

std::map<LeagueCommand, LeagueCommandHandler>& Handlers() {
    static std::map<LeagueCommand, LeagueCommandHandler> handlers;
    return handlers;
}

} // namespace

void SetLeagueCommand(LeagueCommand command, LeagueCommandHandler handler) {
    if (handler) {
        Handlers()[command] = std::move(handler);
    } else {
        Handlers().erase(command);
    }
}

const LeagueCommandHandler* FindLeagueCommand(LeagueCommand command) {
    auto it = Handlers().find(command);
    return it == Handlers().end() ? nullptr : &it->second;
}

void RegisterLeagueWindows() {
    // One line per league command: its handler gives the window what it needs and shows it
    // through TheDesktop().ShowModal.
    SetLeagueCommand(LeagueCommand::Calculate, ShowStandingsWindow);
    SetLeagueCommand(LeagueCommand::RaceHTML, ExportRaceResults);
    SetLeagueCommand(LeagueCommand::Import, ShowImportDialog);
    SetLeagueCommand(LeagueCommand::Edit, ShowRaceResultsEditor);
    SetLeagueCommand(LeagueCommand::DriverList, ShowDriverListWindow);
    SetLeagueCommand(LeagueCommand::PublishSeason, PublishSeasonSite);
    SetLeagueCommand(LeagueCommand::OfflineSettings, ShowOfflineSettings);
    SetLeagueCommand(LeagueCommand::PointSystem, ShowPointSystemEditor);
    SetLeagueCommand(LeagueCommand::Adjustments, ShowAdjustmentsWindow);
}

} // namespace scorewell::gui
