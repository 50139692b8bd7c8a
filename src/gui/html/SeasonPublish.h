#pragma once

#include "app/LeagueCommands.h"

namespace scorewell::gui {

// File > Publish Season...: asks for a folder, publishes the season there with a progress
// window, and opens the index in the browser.
void PublishSeasonSite(LeagueCommandContext& context);

} // namespace scorewell::gui
