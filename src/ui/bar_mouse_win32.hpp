// The control bar's mouse handling. The bar is a disabled child, so its mouse messages are
// the main window's, in main-window client coordinates; the main window procedure calls these.
#pragma once

#include <cstdint>

namespace ondrel {

struct AppState;

// The bar item under a point of the main window's client area; 10 (none) outside the bar or
// while the bar is hidden in full screen.
std::uint8_t bar_hit_test(const AppState& state, int x, int y);

// WM_MOUSEMOVE: reveals the bar in full screen, arms the mouse-leave report, continues a drag
// or updates the hovered item.
void bar_mouse_move(AppState& state, int x, int y);

// WM_LBUTTONDOWN: runs a button's action (the track menus wait for the release), starts a
// seek or volume drag, opens the compression window, or toggles pause over the video.
void bar_button_down(AppState& state, int x, int y);

// WM_LBUTTONUP: opens the track menu pressed and released on the same button; ends a drag,
// with the final exact seek.
void bar_button_up(AppState& state, int x, int y);

// WM_LBUTTONDBLCLK: a second press on the bar (the track buttons ignore it); on the video,
// undoes the first press's pause toggle and switches full screen.
void bar_double_click(AppState& state, int x, int y);

// WM_CAPTURECHANGED: a drag that loses the mouse ends where it is, without the final seek.
void bar_capture_lost(AppState& state);

// What a click on a button does.
void run_bar_action(AppState& state, std::uint8_t item);

// In full screen: shows the cursor and the bar and restarts the auto-hide timer.
void show_controls(AppState& state);

// TIMER_AUTOHIDE: hides the bar and the cursor in full screen unless the pointer rests on a
// bar item, a drag is under way or the help overlay is open. In those cases the timer stays
// off, so a still pointer wakes nobody: the pointer's next move, the drag's end or the
// overlay's closing starts it again.
void bar_autohide_tick(AppState& state);

// In full screen: starts the auto-hide wait again, after something that kept the bar ended.
void restart_autohide(const AppState& state);

} // namespace ondrel
