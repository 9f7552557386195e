#include "main/main_window_win32.hpp"

#include "compress_ui/background_win32.hpp"
#include "compress_ui/compress_window_win32.hpp"
#include "i18n/texts_shell.hpp"
#include "main/language_switch.hpp"
#include "main/main_layout.hpp"
#include "mpv/tracks.hpp"
#include "ui/tooltips_win32.hpp"

namespace ondrel {
namespace {

constexpr LONG_PTR overlapped_window_style = WS_OVERLAPPEDWINDOW;

std::optional<ShellPlacement> full_screen_placement(const AppState& state) {
    if (!state.full_screen) {
        return std::nullopt;
    }
    const RECT& r = state.saved_placement.rcNormalPosition;
    return ShellPlacement{WindowRect{r.left, r.top, r.right, r.bottom},
                          state.saved_placement.showCmd == SW_SHOWMAXIMIZED};
}

} // namespace

ShellWindow shell_window(HWND window) {
    return reinterpret_cast<ShellWindow>(window);
}

void layout_children(AppState& state) {
    if (state.video_window == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(state.main_window, &client);
    const ChildLayout layout =
        layout_main_children(client.right - client.left, client.bottom - client.top, state.dpi,
                             state.full_screen, state.bar_shown_in_full_screen);
    SetWindowPos(state.video_window, nullptr, layout.video.left, layout.video.top,
                 layout.video.width(), layout.video.height(), SWP_NOACTIVATE | SWP_NOZORDER);
    if (!layout.bar_visible) {
        ShowWindow(state.control_bar, SW_HIDE);
    } else {
        // Raised to the top of the children: in full screen the bar lies over the video.
        SetWindowPos(state.control_bar, nullptr, layout.bar.left, layout.bar.top,
                     layout.bar.width(), layout.bar.height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
        InvalidateRect(state.control_bar, nullptr, FALSE);
    }
    place_tooltips(state, client.right - client.left, client.bottom - client.top,
                   layout.bar_visible);
}

void set_full_screen(AppState& state, bool on) {
    if (state.full_screen == on) {
        return;
    }
    const HWND main = state.main_window;
    if (on) {
        state.saved_placement = WINDOWPLACEMENT{};
        state.saved_placement.length = sizeof(WINDOWPLACEMENT);
        GetWindowPlacement(main, &state.saved_placement);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor);
        state.full_screen = true;
        state.bar_shown_in_full_screen = false;
        SetWindowLongPtrW(main, GWL_STYLE,
                          GetWindowLongPtrW(main, GWL_STYLE) & ~overlapped_window_style);
        const RECT& r = monitor.rcMonitor;
        // Raised too, so no other window covers part of the full-screen picture.
        SetWindowPos(main, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
        SetTimer(main, TIMER_AUTOHIDE, TIMER_AUTOHIDE_MS, nullptr);
    } else {
        state.full_screen = false;
        state.bar_shown_in_full_screen = true;
        state.cursor_hidden = false;
        KillTimer(main, TIMER_AUTOHIDE);
        SetWindowLongPtrW(main, GWL_STYLE,
                          GetWindowLongPtrW(main, GWL_STYLE) | overlapped_window_style);
        SetWindowPlacement(main, &state.saved_placement);
        SetWindowPos(main, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
    layout_children(state);
    InvalidateRect(state.control_bar, nullptr, FALSE);
}

void set_always_on_top(AppState& state, bool on) {
    state.settings.always_on_top = on;
    SetWindowPos(state.main_window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    // The choice holds for this session; a later save writes it once the file can be written.
    (void)save_settings(state.settings);
    if (state.session.player) {
        show_text(state.session, tr(on ? texts::always_on_top_on : texts::always_on_top_off), 1500);
    }
    InvalidateRect(state.control_bar, nullptr, FALSE);
}

void switch_language(AppState& state, Language language) {
    set_language(state.settings, language);
}

void save_current_settings(const AppState& state) {
    // The preference holds for this session; a later save writes it once the file can be written.
    (void)save_settings(state.settings);
}

void remember_placement(AppState& state) {
    const ShellPlacement placement = full_screen_placement(state).value_or(
        shell_window_placement(shell_window(state.main_window)));
    remember_window_and_sound(state.settings, placement, state.session.playback);
}

void save_for_end_of_session(AppState& state) {
    // Without a player the window is only showing its start-up error, and a failed start
    // writes no settings.
    if (state.session.player) {
        save_resume_position(state.session);
        remember_placement(state);
        // Windows is ending the session: there is nobody left to tell.
        (void)save_settings(state.settings);
    }
    // No dialog now: a running compression is stopped and its unfinished output deleted.
    if (state.compression) {
        abort_compression(*state.compression);
    }
}

void run_closing_sequence(AppState& state) {
    if (state.closing) {
        return;
    }
    state.closing = true; // from now on hand-offs are refused
    std::unique_ptr<AboutWindow> about = std::move(state.about);
    about.reset(); // its window, fonts and picture
    if (state.help_overlay != nullptr) {
        DestroyWindow(state.help_overlay);
        state.help_overlay = nullptr;
    }
    close_player(state.session, state.settings, shell_window(state.main_window),
                 full_screen_placement(state));
    if (compression_running(state)) {
        // The compression outlives the player: its window is hidden and a dialog follows it
        // to the end, then reports the outcome unless the user abandoned it.
        ShowWindow(compression_window_handle(*state.compression), SW_HIDE);
        if (!run_background_dialog(state)) {
            show_completion_dialog(state);
        }
    }
    state.compression.reset(); // disposes of the window; a job still running is stopped
    DestroyWindow(state.main_window);
}

void open_dropped_file(AppState& state, const std::string& path) {
    if (is_subtitle_file(path)) {
        add_subtitle_file(state.session, path);
    } else {
        open_file(state.session, path);
    }
    SetForegroundWindow(state.main_window);
}

void dispose_closed_tool_windows(AppState& state) {
    // The tool windows flag themselves closed and post WM_APP_TOOL_CLOSED. Each state is taken
    // out first, so the window's last messages find no state and get the default handling.
    if (state.compression && state.compression->close_requested) {
        CompressWindowPtr closed = std::move(state.compression);
        closed.reset();
        SetFocus(state.main_window);
        layout_children(state);
    }
    if (state.about && state.about->closed) {
        std::unique_ptr<AboutWindow> about = std::move(state.about);
        about.reset();
        SetFocus(state.main_window);
    }
}

} // namespace ondrel
