// Drives the control bar of a running GuiSession: where its items are on the main window,
// real mouse messages to them, the bar painted into a bitmap, and what libmpv was asked.
#pragma once

#include "gui/support/gui_session.hpp"
#include "ui/bar_layout.hpp"
#include "ui/bar_look.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ondrel::testing {

// The bar's layout for the main window's client size, and where the bar starts.
struct BarGeometry {
    BarLayout layout;
    int top = 0;
    int width = 0;
    int height = 0;
};
BarGeometry bar_geometry(const AppState& state);

// The middle of a bar item in main-window client coordinates.
POINT item_centre(const AppState& state, std::uint8_t item);

// A point at `fraction` along a slider (seek or volume), in main-window client coordinates.
POINT slider_point(const AppState& state, std::uint8_t slider, double fraction);

// Sends a mouse message with the point (and MK_LBUTTON for moves while dragging).
void send_mouse(HWND main, UINT message, POINT point);
// A press and a release at the same place.
void click(HWND main, POINT point);

// The bar painted into a 32-bit bitmap of its own size.
struct BarPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, row by row from the top

    Rgb at(int x, int y) const;
    bool save(const std::filesystem::path& file) const;
};
BarPicture paint_bar_picture(const AppState& state);

// The arguments of every asynchronous libmpv command whose first word is `name`, in order.
std::vector<std::vector<std::string>> async_commands(const char* name);

// Values written to a libmpv property through mpv_set_property_async, in order.
std::vector<nlohmann::json> property_writes(const std::string& name);

// Waits until the session has loaded its file.
bool wait_for_file(GuiSession& session);

} // namespace ondrel::testing
