// Drives the control bar of the running main window: where its items are, real mouse messages
// to them, and the bar painted into a bitmap.
#pragma once

#include "gui/support/player_test.hpp"
#include "ui/bar_layout.hpp"
#include "ui/bar_look.hpp"

#include <cstdint>

namespace ondrel::testing {

// The bar's layout for the main window's client size, and where the bar starts.
struct BarGeometry {
    BarLayout layout;
    int top = 0;
    int height = 0;
};
BarGeometry bar_geometry(const AppState& state);

// The middle of a bar item in main-window client coordinates.
POINT item_centre(const AppState& state, std::uint8_t item);

// A point at `fraction` along a slider (seek or volume), in main-window client coordinates.
POINT slider_point(const AppState& state, std::uint8_t slider, double fraction);

// A mouse message at the point (with MK_LBUTTON on presses and double clicks).
void send_mouse(HWND main, UINT message, POINT point);
// A press and a release at the same place.
void click(HWND main, POINT point);

// The bar as paint_bar draws it, at its size.
Picture paint_bar_picture(const AppState& state);

// A colour as the pictures hold it, 0xRRGGBB.
constexpr std::uint32_t packed(Rgb colour) {
    return (std::uint32_t{colour.red} << 16) | (std::uint32_t{colour.green} << 8) | colour.blue;
}

} // namespace ondrel::testing
