#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

namespace scorewell {
class League;
class Program;
} // namespace scorewell

namespace scorewell::gui {

// The commands of the main window that open a window of their own on the open league.
enum class LeagueCommand {
    Import,          // ImportDialog
    Edit,            // RaceResultsEditor
    Calculate,       // StandingsWindow
    RaceHTML,        // the race result export through ExportDialog
    DriverList,      // DriverListWindow
    PointSystem,     // PointSystemEditor
    OfflineSettings, // OfflineSettingsDialog
    Adjustments,     // AdjustmentsWindow
    PublishSeason,   // the season site, with a folder picker and a progress window
};

// What such a window receives. The main window does what follows the window's close itself
// (refreshing the race list after Import, reloading the point switches after Point System).
struct LeagueCommandContext {
    QWidget* owner;
    Program& program;
    League& league;
    // The RaceID of the race grid's current row (0 when there is none).
    std::int32_t raceId;
};

using LeagueCommandHandler = std::function<void(LeagueCommandContext&)>;

// Plugs a window into its command; an empty handler unplugs it.
void SetLeagueCommand(LeagueCommand command, LeagueCommandHandler handler);
// The handler of a command, or nullptr while its window is not there yet.
const LeagueCommandHandler* FindLeagueCommand(LeagueCommand command);

// Plugs in every window the program has; called once before the main window loads.
void RegisterLeagueWindows();

} // namespace scorewell::gui
