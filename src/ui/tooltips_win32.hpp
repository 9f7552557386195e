// The tooltips of the control bar's ten buttons: one common-control tooltip window owned by the
// main window, with one tool per button (tool id = item id + 1).
#pragma once

#include <cstdint>

namespace ondrel {

struct AppState;

// Makes the tooltip window with the ten tools in the current language, replacing the previous
// one (a language switch). The rectangles stay empty until place_tooltips.
void create_tooltips(AppState& state);

// Gives each tool its button's rectangle in main-window client coordinates, for a client area
// `client_width` x `client_height`; empty rectangles while the bar is hidden.
void place_tooltips(const AppState& state, int client_width, int client_height, bool bar_visible);

// The tool id of a button.
inline constexpr std::uintptr_t tooltip_id(std::uint8_t item) {
    return static_cast<std::uintptr_t>(item) + 1;
}

} // namespace ondrel
