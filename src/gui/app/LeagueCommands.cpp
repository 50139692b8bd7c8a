#include "app/LeagueCommands.h"

#include <map>

#include "editing/frmEditRace.h"
#include "html/PageExport.h"
#include "import/frmAddRaces.h"
#include "reports/frmStats.h"

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
    // Each window of a league command adds one line here as it arrives, e.g.
    //   SetLeagueCommand(LeagueCommand::Import, ShowAddRaces);
    // where ShowAddRaces(LeagueCommandContext&) sets the window's properties and shows it
    // through TheDesktop().ShowModal.
    SetLeagueCommand(LeagueCommand::Calculate, ShowStats);
    SetLeagueCommand(LeagueCommand::RaceHTML, ExportRaceResults);
    SetLeagueCommand(LeagueCommand::Import, ShowAddRaces);
    SetLeagueCommand(LeagueCommand::Edit, ShowEditRace);
}

} // namespace scorewell::gui
