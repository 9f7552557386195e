#include "ui/bar_mouse_win32.hpp"

#include "ui/app_state_win32.hpp"
#include "ui/bar_layout.hpp"
#include "ui/help_win32.hpp"
#include "ui/menu_win32.hpp"
#include "ui/open_dialog_win32.hpp"
#include "ui/shell_actions_win32.hpp"
#include "ui/track_menu_win32.hpp"

#include <utility>

namespace ondrel {
namespace {

bool bar_visible(const AppState& state) {
    return !state.full_screen || state.bar_shown_in_full_screen;
}

struct BarPlace {
    BarLayout layout;
    std::int32_t top = 0; // the bar's top in main-window client coordinates
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool compressing = false;

    bool contains(int x, int y) const {
        return 0 <= x && x < width && top <= y && y < top + height;
    }
};

// The bar's layout for the main window's current client size.
BarPlace bar_place(const AppState& state) {
    RECT client{};
    GetClientRect(state.main_window, &client);
    BarPlace place;
    place.width = client.right - client.left;
    place.height = bar_strip_height(state.dpi);
    place.top = client.bottom - client.top - place.height;
    place.compressing = compression_running(state);
    place.layout = bar_layout(state.dpi, place.width, place.height, place.compressing);
    return place;
}

bool over_visible_bar(const AppState& state, int x, int y) {
    return bar_visible(state) && bar_place(state).contains(x, y);
}

void invalidate_bar(const AppState& state) {
    InvalidateRect(state.control_bar, nullptr, FALSE);
}

// One step of a drag at x: the seek preview and a seek (exact at the release), or the volume.
void drag_step(AppState& state, int x, bool release) {
    const BarPlace place = bar_place(state);
    PlaybackState& playback = state.session.playback;
    if (state.drag == DragKind::SeekBar) {
        if (!(playback.duration > 0)) {
            return;
        }
        state.seek_preview = slider_fraction(place.layout.seek, x);
        seek_to(state.session, playback.duration * state.seek_preview, release);
        invalidate_bar(state);
    } else if (state.drag == DragKind::VolumeSlider) {
        set_volume(state.session, slider_fraction(place.layout.volume, x) * 100.0, false);
    }
}

void start_drag(AppState& state, DragKind kind, int x) {
    state.drag = kind;
    SetCapture(state.main_window);
    drag_step(state, x, false);
}

void arm_mouse_leave(AppState& state) {
    if (state.mouse_leave_armed) {
        return;
    }
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = state.main_window;
    track.dwHoverTime = 0;
    TrackMouseEvent(&track);
    state.mouse_leave_armed = true;
}

// A press, or the second press of a double click, on whatever lies at (x, y).
void press(AppState& state, int x, int y) {
    const std::uint8_t item = bar_hit_test(state, x, y);
    switch (item) {
    case item_audio:
    case item_subtitles:
        state.pressed_item = item; // the menu opens on the release over the same button
        return;
    case item_seek:
        start_drag(state, DragKind::SeekBar, x);
        return;
    case item_volume:
        start_drag(state, DragKind::VolumeSlider, x);
        return;
    case item_compression:
        open_compression(state);
        return;
    case item_none:
        if (!over_visible_bar(state, x, y)) {
            toggle_pause(state.session); // a click on the video
        }
        return;
    default:
        run_bar_action(state, item);
        return;
    }
}

} // namespace

std::uint8_t bar_hit_test(const AppState& state, int x, int y) {
    if (!bar_visible(state)) {
        return item_none;
    }
    const BarPlace place = bar_place(state);
    if (!place.contains(x, y)) {
        return item_none;
    }
    return bar_item_at(place.layout, x, y - place.top, place.compressing);
}

void run_bar_action(AppState& state, std::uint8_t item) {
    switch (item) {
    case item_open:
        open_video_dialog(state);
        break;
    case item_play_pause:
        toggle_pause(state.session);
        break;
    case item_back:
        seek_by(state.session, -10);
        break;
    case item_forward:
        seek_by(state.session, 10);
        break;
    case item_mute:
        toggle_mute(state.session);
        break;
    case item_audio:
        show_track_menu(state, "audio", item);
        break;
    case item_subtitles:
        show_track_menu(state, "sub", item);
        break;
    case item_always_on_top:
        set_always_on_top(state, !state.settings.always_on_top);
        break;
    case item_full_screen:
        set_full_screen(state, !state.full_screen);
        break;
    case item_help:
        toggle_help_after_click(state);
        break;
    case item_compression:
        open_compression(state);
        break;
    default:
        break;
    }
}

void bar_mouse_move(AppState& state, int x, int y) {
    if (x != state.last_mouse_x || y != state.last_mouse_y) {
        state.last_mouse_x = x;
        state.last_mouse_y = y;
        if (state.full_screen) {
            show_controls(state);
        }
    }
    arm_mouse_leave(state);
    if (state.drag != DragKind::None) {
        drag_step(state, x, false);
        return;
    }
    const std::uint8_t item = bar_hit_test(state, x, y);
    if (item != state.hovered_item) {
        state.hovered_item = item;
        invalidate_bar(state);
    }
}

void bar_button_down(AppState& state, int x, int y) {
    state.help_open_at_press = state.help_overlay != nullptr;
    if (state.full_screen) {
        show_controls(state); // the press lands on the bar it has just brought back
    }
    SetFocus(state.main_window);
    press(state, x, y);
}

void bar_button_up(AppState& state, int x, int y) {
    if (state.pressed_item != no_pressed_item) {
        const std::uint8_t pressed = std::exchange(state.pressed_item, no_pressed_item);
        if (bar_hit_test(state, x, y) == pressed) {
            run_bar_action(state, pressed);
        }
    }
    if (state.drag != DragKind::None) {
        if (state.drag == DragKind::SeekBar) {
            drag_step(state, x, true);
        }
        // Cleared first, so the WM_CAPTURECHANGED that ReleaseCapture sends finds no drag.
        state.drag = DragKind::None;
        ReleaseCapture();
        invalidate_bar(state);
        restart_autohide(state);
    }
}

void bar_double_click(AppState& state, int x, int y) {
    if (over_visible_bar(state, x, y)) {
        const std::uint8_t item = bar_hit_test(state, x, y);
        if (item != item_audio && item != item_subtitles) {
            bar_button_down(state, x, y);
        }
        return;
    }
    toggle_pause(state.session); // undoes the first press of the double click
    set_full_screen(state, !state.full_screen);
}

void bar_capture_lost(AppState& state) {
    if (state.drag != DragKind::None) {
        state.drag = DragKind::None;
        invalidate_bar(state);
        restart_autohide(state);
    }
}

void show_controls(AppState& state) {
    if (!state.full_screen) {
        return;
    }
    if (state.cursor_hidden) {
        state.cursor_hidden = false;
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
    if (!state.bar_shown_in_full_screen) {
        state.bar_shown_in_full_screen = true;
        layout_children(state);
    }
    SetTimer(state.main_window, TIMER_AUTOHIDE, TIMER_AUTOHIDE_MS, nullptr);
}

void restart_autohide(const AppState& state) {
    if (state.full_screen) {
        SetTimer(state.main_window, TIMER_AUTOHIDE, TIMER_AUTOHIDE_MS, nullptr);
    }
}

void bar_autohide_tick(AppState& state) {
    KillTimer(state.main_window, TIMER_AUTOHIDE);
    if (!state.full_screen) {
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(state.main_window, &cursor);
    const bool resting_on_item = state.bar_shown_in_full_screen &&
                                 bar_place(state).contains(cursor.x, cursor.y) &&
                                 state.hovered_item != no_hovered_item;
    if (resting_on_item || state.drag != DragKind::None || state.help_overlay != nullptr) {
        return;
    }
    state.bar_shown_in_full_screen = false;
    state.hovered_item = no_hovered_item;
    // Another program in front keeps its cursor.
    if (GetForegroundWindow() == state.main_window) {
        state.cursor_hidden = true;
        SetCursor(nullptr);
    }
    layout_children(state);
}

} // namespace ondrel
