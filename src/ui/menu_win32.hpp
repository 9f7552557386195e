// The right-click menu that holds every command, and the entry to the compression tool.
#pragma once

#include "ui/app_state_win32.hpp"
#include "ui/menu_model.hpp"

#include <cstdint>
#include <vector>

namespace ondrel {

// Appends the entries to a menu; a submenu's entries go into a popup menu of their own.
void append_menu_entries(HMENU menu, const std::vector<MenuEntry>& entries);

// A popup menu holding the entries, submenus included.
UniqueMenu build_popup_menu(const std::vector<MenuEntry>& entries);

// The right-click menu for the player's state now, in the current language.
UniqueMenu build_main_menu(AppState& state);

// WM_CONTEXTMENU: the menu at the mouse cursor, then the chosen command.
void show_context_menu(AppState& state);

// Runs a command of the right-click menu or of a track menu; 0 and unknown ids do nothing.
void dispatch_menu_command(AppState& state, std::uint32_t id);

// The C key, the menu item and the bar's progress text: shows the compression window, or
// opens one for the current file.
void open_compression(AppState& state);

} // namespace ondrel
