// What the player interface asks of the main window. The main window defines these; the bar,
// the keys and the menus only call them.
#pragma once

#include "i18n/language.hpp"

#include <windows.h>

namespace ondrel {

struct AppState;

// Places the video window and the control bar in the client area.
void layout_children(AppState& state);

void set_full_screen(AppState& state, bool on);
void set_always_on_top(AppState& state, bool on);

// Flips multi-instance for later launches and saves it.
void toggle_multi_instance(AppState& state);

// Switches the interface language, remembers it in the settings file and gives every open
// window its new texts.
void switch_language(AppState& state, Language language);

// Writes the settings in force to the settings file now.
void save_current_settings(const AppState& state);

} // namespace ondrel
