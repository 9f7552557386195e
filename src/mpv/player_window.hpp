// What the player needs from the windows it plays in: the wake-up message, repainting the
// control bar, the title, the focus check made when a file has loaded, and the window's
// placement when it closes. The Win32 shell defines these functions; the native tests link
// definitions that only record the calls.
#pragma once

#include "settings/settings.hpp"

#include <cstdint>
#include <string_view>

namespace ondrel {

// A window handle (HWND) as portable code carries it; 0 is no window.
using ShellWindow = std::uintptr_t;

// Posted to the main window when libmpv has events waiting (WM_APP + 1).
inline constexpr unsigned WM_APP_MPV_WAKEUP = 0x8000 + 1;

// Posts WM_APP_MPV_WAKEUP to the window. Called from libmpv's threads, so it touches nothing
// but the message queue. False when the message could not be posted (a full queue, a window
// that is gone).
bool shell_post_mpv_wakeup(ShellWindow window) noexcept;

// Marks the whole window for repainting. Nothing happens for window 0.
void shell_invalidate(ShellWindow window);

// The window's caption, from UTF-8.
void shell_set_window_title(ShellWindow window, std::string_view title);

// The keyboard-focus check made when a file has loaded: is the window the foreground window,
// does it hold the focus, and giving it the focus.
bool shell_is_foreground(ShellWindow window);
bool shell_has_focus(ShellWindow window);
void shell_set_focus(ShellWindow window);

// Where a top-level window sits when it is not maximized or minimized, and whether it is
// maximized now.
struct ShellPlacement {
    WindowRect normal;
    bool maximized = false;
    friend bool operator==(const ShellPlacement&, const ShellPlacement&) = default;
};

// The window's placement; an empty rectangle when it cannot be read.
ShellPlacement shell_window_placement(ShellWindow window);

void shell_hide_window(ShellWindow window);

} // namespace ondrel
