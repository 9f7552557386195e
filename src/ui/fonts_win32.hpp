// The five GDI fonts of the player interface, made for the main window's DPI: two for the
// control bar, three for the help overlay.
#pragma once

#include "platform/win32/handles.hpp"

#include <cstdint>

namespace ondrel {

struct AppState;

struct InterfaceFonts {
    UniqueFont icon;       // Segoe MDL2 Assets 16: the bar's buttons
    UniqueFont text;       // Segoe UI 13: the bar's time and compression texts
    UniqueFont title;      // Segoe UI 20 semibold: the help overlay's title
    UniqueFont body;       // Segoe UI 14: the help overlay's lines
    UniqueFont large_icon; // Segoe MDL2 Assets 18: the help overlay's icons
};

InterfaceFonts make_interface_fonts(std::uint32_t dpi);

// Replaces the fonts in the state with new ones for state.dpi; the old ones are deleted first.
// At start-up and on every DPI change.
void create_fonts(AppState& state);

} // namespace ondrel
