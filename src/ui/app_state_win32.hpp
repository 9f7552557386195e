// The one record of the running player, owned by the GUI thread.
#pragma once

#include "mpv/player.hpp"
#include "platform/win32/handles.hpp"
#include "settings/settings.hpp"
#include "ui/about_win32.hpp"
#include "ui/compression_link_win32.hpp"
#include "ui/fonts_win32.hpp"

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <windows.h>

namespace ondrel {

inline constexpr UINT WM_APP_TOOL_CLOSED = WM_APP + 2;

inline constexpr UINT_PTR TIMER_AUTOHIDE = 1;
inline constexpr UINT TIMER_AUTOHIDE_MS = 2500;
inline constexpr UINT_PTR TIMER_RESUME_SAVE = 2;
inline constexpr UINT TIMER_RESUME_SAVE_MS = 30000;

// What the control bar is doing with the mouse.
enum class DragKind : std::uint8_t { None = 0, SeekBar = 1, VolumeSlider = 2 };
inline constexpr std::uint8_t no_pressed_item = 255;
inline constexpr std::uint8_t no_hovered_item = 10;

struct AppState {
    Settings settings;

    HWND main_window = nullptr;
    HWND video_window = nullptr;
    HWND control_bar = nullptr;
    HWND tooltip_window = nullptr;
    HWND help_overlay = nullptr;

    // The player and the playback it mirrors (current file, position, volume, flags).
    PlayerSession session;

    std::int32_t last_mouse_x = INT32_MIN;
    std::int32_t last_mouse_y = INT32_MIN;
    double seek_preview = 0;
    // The bar's and the help overlay's fonts, for the current DPI.
    InterfaceFonts fonts;
    WINDOWPLACEMENT saved_placement{};
    std::uint32_t dpi = 96;

    // The compression window while it exists (shown, or hidden while its job runs).
    CompressWindowPtr compression;
    // The About window while it is open.
    std::unique_ptr<AboutWindow> about;

    bool closing = false;
    // Whether the help overlay was open when the mouse button now down was pressed. On Windows
    // the press activates the player, and the overlay closes before the button is released.
    bool help_open_at_press = false;
    // TIMER_RESUME_SAVE runs only while something plays, so that nothing wakes an idle player.
    bool resume_timer_running = false;
    bool full_screen = false;
    bool bar_shown_in_full_screen = true;
    bool cursor_hidden = false;
    bool mouse_leave_armed = false;
    DragKind drag = DragKind::None;
    std::uint8_t pressed_item = no_pressed_item;
    std::uint8_t hovered_item = no_hovered_item;
};

// The process-wide pointer every window procedure reaches the state through; null before
// start-up creates it.
AppState* app();

// Creates the state in one allocation and publishes it at once.
AppState& create_app_state(Settings settings);

} // namespace ondrel
