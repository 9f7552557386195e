// The audio and subtitle track menus: inside the right-click menu, and on their own above
// the bar's audio and subtitle buttons.
#pragma once

#include "ui/app_state_win32.hpp"
#include "ui/menu_model.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace ondrel {

// The entries of the "audio" or "sub" track menu for the current file.
std::vector<MenuEntry> track_entries(const AppState& state, std::string_view kind);

// Appends those entries to a popup menu.
void build_track_menu(HMENU menu, const AppState& state, std::string_view kind);

// The bar's audio (item 5) or subtitle (item 6) button: the track menu rises above the
// button, and the chosen track is selected.
void show_track_menu(AppState& state, std::string_view kind, std::uint8_t button);

// Ids 1001-1999, 2000-2998 and 2999; false for every other id, which the caller handles.
bool dispatch_track_command(AppState& state, std::uint32_t id);

} // namespace ondrel
