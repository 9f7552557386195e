// Commands the control bar gives to the menus, the open dialog, the help overlay and the
// compression window, which define them.
#pragma once

#include <cstdint>
#include <string_view>

namespace ondrel {

struct AppState;

// The audio ("audio") or subtitle ("sub") menu, above bar button 5 or 6.
void show_track_menu(AppState& state, std::string_view kind, std::uint8_t button);

// Opens or closes the help overlay.
void toggle_help(AppState& state);

// Shows the compression window for the current video (or tells why it cannot).
void open_compression(AppState& state);

// The open dialog for videos, then open_file with the chosen one.
void open_video_dialog(AppState& state);

} // namespace ondrel
