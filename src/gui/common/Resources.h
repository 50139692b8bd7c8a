#pragma once

namespace scorewell::gui {

// Makes the pictures compiled into the program (splash, icon) available; safe to call again.
void InitResources();

} // namespace scorewell::gui
