// What the main window does besides routing its messages.
#pragma once

#include "ui/app_state_win32.hpp"
#include "ui/shell_actions_win32.hpp"

#include <string>

namespace ondrel {

// Copies the window placement (the one from before full screen, in full screen), the
// volume and the mute state into the settings.
void remember_placement(AppState& state);

// WM_CLOSE: saves everything, closes the player and the tool windows, destroys the window.
void run_closing_sequence(AppState& state);

// WM_ENDSESSION: Windows is logging off or shutting down and WM_CLOSE will not come.
void save_for_end_of_session(AppState& state);

// A file dropped on the window: subtitles are added, anything else is opened as a video.
void open_dropped_file(AppState& state, const std::string& path);

// WM_APP_TOOL_CLOSED: disposes of the tool windows that have flagged themselves closed.
void dispose_closed_tool_windows(AppState& state);

ShellWindow shell_window(HWND window);

} // namespace ondrel
