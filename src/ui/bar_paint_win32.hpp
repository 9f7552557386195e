// The control bar's window: it only paints; its mouse input reaches the main window.
#pragma once

#include <windows.h>

namespace ondrel {

struct AppState;

// The window procedure of class Ondrel.Bar.
LRESULT CALLBACK bar_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);

// Draws the whole bar, `width` x `height` pixels, into `dc` from the state.
void paint_bar(const AppState& state, HDC dc, int width, int height);

} // namespace ondrel
