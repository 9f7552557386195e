// The keyboard: WM_KEYDOWN and WM_CHAR of the main window.
#pragma once

#include "ui/app_state_win32.hpp"

#include <cstdint>

namespace ondrel {

// Runs the key's command with the current Ctrl and Shift state. False when the key is not
// the player's, so that the default handling gets it. Every auto-repeat runs it again.
bool handle_key_down(AppState& state, std::uint16_t virtual_key);

// Speed and frame steps by character, so that the keypad's plus and minus work too.
void handle_char(AppState& state, char16_t unit);

} // namespace ondrel
