// The open dialog for videos and subtitles.
#pragma once

#include "ui/app_state_win32.hpp"

#include <commdlg.h>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

// The call that shows the dialog. The program always uses GetOpenFileNameW; the GUI tests put
// a recorder in its place, since a real dialog cannot be driven reliably under Wine.
using OpenFileNameCall = BOOL(WINAPI*)(OPENFILENAMEW*);
void set_open_file_name_call(OpenFileNameCall call); // null puts GetOpenFileNameW back

// The chosen path, or nothing when the user cancelled or the dialog failed.
std::optional<std::string> open_dialog(const AppState& state, std::string_view label,
                                       std::string_view pattern);

// The Open button, Ctrl+O and the menu's Open item: asks for a video and opens it.
void open_video_dialog(AppState& state);

} // namespace ondrel
