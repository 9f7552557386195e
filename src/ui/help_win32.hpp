// The help overlay: a borderless popup centred on the player that lists every action with
// its mouse and keyboard ways. It closes as soon as it loses activation.
#pragma once

#include "ui/app_state_win32.hpp"

namespace ondrel {

inline constexpr const wchar_t* help_overlay_class = L"Ondrel.Help";

// Opens the overlay, or closes it when it is open.
void toggle_help(AppState& state);

// The bar's Help button and the menu's Help item: an overlay that was open when the click
// began is closed and stays closed, even when the click itself already closed it.
void toggle_help_after_click(AppState& state);

// The window procedure of the Ondrel.Help class.
LRESULT CALLBACK help_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);

} // namespace ondrel
