// The main window procedure: one case per message, each calling a named handler.
#include "main/main_window_win32.hpp"

#include "main/handoff.hpp"
#include "main/main_layout.hpp"
#include "main/window_classes_win32.hpp"
#include "platform/win32/wide.hpp"
#include "ui/bar_mouse_win32.hpp"
#include "ui/keys_win32.hpp"
#include "ui/menu_win32.hpp"

#include <shellapi.h>
#include <windowsx.h>

namespace ondrel {
namespace {

LRESULT on_activate(AppState& state, WPARAM w) {
    if (LOWORD(w) != WA_INACTIVE && state.help_overlay == nullptr) {
        SetFocus(state.main_window);
    }
    return 0;
}

LRESULT on_erase_background(HWND window, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    UniqueBrush black(CreateSolidBrush(RGB(0, 0, 0)));
    FillRect(dc, &client, black.get());
    return 1;
}

LRESULT on_set_cursor(AppState& state, HWND window, UINT message, WPARAM w, LPARAM l) {
    if (LOWORD(l) != HTCLIENT) {
        return DefWindowProcW(window, message, w, l);
    }
    SetCursor(state.cursor_hidden ? nullptr : LoadCursorW(nullptr, IDC_ARROW));
    return 1;
}

LRESULT on_get_min_max_info(const AppState& state, MINMAXINFO* info) {
    const PixelSize minimum = minimum_track_size(state.dpi);
    info->ptMinTrackSize = POINT{minimum.width, minimum.height};
    return 0;
}

LRESULT on_sys_key_down(AppState& state, HWND window, UINT message, WPARAM w, LPARAM l) {
    if (w == VK_RETURN) {
        set_full_screen(state, !state.full_screen);
        return 0;
    }
    return DefWindowProcW(window, message, w, l); // Alt+F4 and Alt+Space keep working
}

LRESULT on_sys_char(HWND window, UINT message, WPARAM w, LPARAM l) {
    // The character of Alt+Enter would make the window beep.
    return w == 13 ? 0 : DefWindowProcW(window, message, w, l);
}

LRESULT on_context_menu(AppState& state, LPARAM l) {
    // The keyboard's menu key follows no press.
    if (l == -1) {
        state.help_open_at_press = false;
    }
    // From the mouse or the keyboard's menu key alike, the menu opens at the cursor.
    show_context_menu(state);
    return 0;
}

LRESULT on_timer(AppState& state, HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (w) {
    case TIMER_AUTOHIDE:
        bar_autohide_tick(state);
        return 0;
    case TIMER_RESUME_SAVE:
        if (state.session.playback.file_loaded && !state.session.playback.paused) {
            save_resume_position(state.session);
        }
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

// Playback's state has just been mirrored: the resume timer runs exactly while a file plays.
// Paused, ended or with no file the program gets no periodic wake-up at all.
LRESULT on_mpv_wakeup(AppState& state) {
    pump_events(state.session);
    const PlaybackState& playback = state.session.playback;
    const bool playing = playback.file_loaded && !playback.paused && !playback.end_of_file;
    if (playing != state.resume_timer_running && state.main_window != nullptr) {
        if (playing) {
            SetTimer(state.main_window, TIMER_RESUME_SAVE, TIMER_RESUME_SAVE_MS, nullptr);
        } else {
            KillTimer(state.main_window, TIMER_RESUME_SAVE);
        }
        state.resume_timer_running = playing;
    }
    return 0;
}

LRESULT on_mouse_wheel(AppState& state, WPARAM w) {
    show_controls(state);
    const bool up = GET_WHEEL_DELTA_WPARAM(w) > 0;
    const bool louder = up != state.settings.wheel_invert;
    set_volume(state.session, state.session.playback.volume + (louder ? 5.0 : -5.0), true);
    return 0;
}

LRESULT on_drop_files(AppState& state, HDROP drop) {
    std::wstring path;
    {
        struct Release {
            HDROP drop;
            ~Release() { DragFinish(drop); }
        } release{drop};
        path.assign(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    }
    if (!path.empty()) {
        open_dropped_file(state, narrow(path));
    }
    return 0;
}

LRESULT on_mouse_leave(AppState& state) {
    state.mouse_leave_armed = false;
    if (state.hovered_item != no_hovered_item) {
        state.hovered_item = no_hovered_item;
        InvalidateRect(state.control_bar, nullptr, FALSE);
        restart_autohide(state); // the bar may have been kept for the pointer on it
    }
    return 0;
}

LRESULT on_dpi_changed(AppState& state, WPARAM w, const RECT* suggested) {
    state.dpi = HIWORD(w);
    create_fonts(state);
    SetWindowPos(state.main_window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    layout_children(state);
    return 0;
}

LRESULT handle(AppState& state, HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        return on_activate(state, w);
    case WM_CLOSE:
        run_closing_sequence(state);
        return 0;
    case WM_ERASEBKGND:
        return on_erase_background(window, reinterpret_cast<HDC>(w));
    case WM_ENDSESSION:
        if (w != FALSE) {
            save_for_end_of_session(state);
        }
        return 0;
    case WM_SETCURSOR:
        return on_set_cursor(state, window, message, w, l);
    case WM_GETMINMAXINFO:
        return on_get_min_max_info(state, reinterpret_cast<MINMAXINFO*>(l));
    case WM_COPYDATA:
        return receive_handoff(state, reinterpret_cast<const COPYDATASTRUCT*>(l));
    case WM_RBUTTONDOWN:
        state.help_open_at_press = state.help_overlay != nullptr;
        return DefWindowProcW(window, message, w, l);
    case WM_CONTEXTMENU:
        return on_context_menu(state, l);
    case WM_KEYDOWN:
        return handle_key_down(state, LOWORD(w)) ? 0 : DefWindowProcW(window, message, w, l);
    case WM_CHAR:
        handle_char(state, static_cast<char16_t>(w));
        return 0;
    case WM_SYSKEYDOWN:
        return on_sys_key_down(state, window, message, w, l);
    case WM_SYSCHAR:
        return on_sys_char(window, message, w, l);
    case WM_TIMER:
        return on_timer(state, window, message, w, l);
    case WM_MOUSEMOVE:
        bar_mouse_move(state, GET_X_LPARAM(l), GET_Y_LPARAM(l));
        return 0;
    case WM_LBUTTONDOWN:
        bar_button_down(state, GET_X_LPARAM(l), GET_Y_LPARAM(l));
        return 0;
    case WM_LBUTTONUP:
        bar_button_up(state, GET_X_LPARAM(l), GET_Y_LPARAM(l));
        return 0;
    case WM_LBUTTONDBLCLK:
        bar_double_click(state, GET_X_LPARAM(l), GET_Y_LPARAM(l));
        return 0;
    case WM_MOUSEWHEEL:
        return on_mouse_wheel(state, w);
    case WM_CAPTURECHANGED:
        bar_capture_lost(state);
        return 0;
    case WM_DROPFILES:
        return on_drop_files(state, reinterpret_cast<HDROP>(w));
    case WM_MOUSELEAVE:
        return on_mouse_leave(state);
    case WM_DPICHANGED:
        return on_dpi_changed(state, w, reinterpret_cast<const RECT*>(l));
    case WM_SIZE:
        layout_children(state);
        return 0;
    case WM_APP_MPV_WAKEUP:
        return on_mpv_wakeup(state);
    case WM_APP_TOOL_CLOSED:
        dispose_closed_tool_windows(state);
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

} // namespace

LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    // Until start-up has stored this window's handle (during CreateWindowExW and the
    // creation of the children), everything gets the default handling.
    AppState* state = app();
    if (state == nullptr || state->main_window != window) {
        return DefWindowProcW(window, message, w, l);
    }
    // Nothing may unwind through the system's frames: a handler that fails this way (out of
    // memory) leaves the message to the default handling and the program goes on.
    try {
        return handle(*state, window, message, w, l);
    } catch (...) {
        return DefWindowProcW(window, message, w, l);
    }
}

} // namespace ondrel
