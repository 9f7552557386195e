// Opening the About window and its window procedure. Closing only sets the closed flag: the
// main window disposes of the window when WM_APP_TOOL_CLOSED arrives.
#include "ui/about_layout_win32.hpp"
#include "ui/about_texts.hpp"
#include "ui/app_state_win32.hpp"

#include "platform/win32/wide.hpp"

#include <shellapi.h>
#include <windowsx.h>

namespace ondrel {
namespace {

constexpr wchar_t about_class[] = L"Ondrel.About";
constexpr std::int32_t about_width = 560;
constexpr float header_band = 44;

LinkOpener link_opener = ShellExecuteW;

// The window's outer size for a client area, so that the painted layout is the measured one.
SIZE outer_size(std::int32_t client_width, std::int32_t client_height, DWORD style,
                DWORD extended_style) {
    RECT rect{0, 0, client_width, client_height};
    AdjustWindowRectEx(&rect, style, FALSE, extended_style);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

const HotSpot* hot_spot_under(const AboutWindow& about, LPARAM l) {
    return hot_spot_at(about.hot_spots, GET_X_LPARAM(l), GET_Y_LPARAM(l));
}

LRESULT on_paint(AboutWindow& about, HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    paint_about(about, dc, client);
    EndPaint(window, &paint);
    return 0;
}

LRESULT on_set_cursor(const AboutWindow& about, HWND window, UINT message, WPARAM w, LPARAM l) {
    // Over the border or the dragging band the system picks the cursor.
    if (LOWORD(l) != HTCLIENT) {
        return DefWindowProcW(window, message, w, l);
    }
    SetCursor(LoadCursorW(nullptr, about.hover.kind == HotSpotKind::None ? IDC_ARROW : IDC_HAND));
    return 1;
}

LRESULT on_hit_test(const AboutWindow& about, HWND window, UINT message, WPARAM w, LPARAM l) {
    POINT point{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    ScreenToClient(window, &point);
    if (point.y < about_size(header_band, about.scale) && point.y >= 0 &&
        hot_spot_at(about.hot_spots, point.x, point.y) == nullptr) {
        const LRESULT inside = DefWindowProcW(window, message, w, l);
        if (inside == HTCLIENT) {
            return HTCAPTION; // the header drags the window
        }
        return inside;
    }
    return DefWindowProcW(window, message, w, l);
}

void track_leave(HWND window) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    TrackMouseEvent(&track);
}

LRESULT on_mouse_move(AboutWindow& about, HWND window, LPARAM l) {
    if (update_hover(about.hover, hot_spot_under(about, l))) {
        InvalidateRect(window, nullptr, FALSE);
    }
    track_leave(window);
    return 0;
}

LRESULT on_mouse_leave(AboutWindow& about, HWND window) {
    if (update_hover(about.hover, nullptr)) {
        InvalidateRect(window, nullptr, FALSE);
    }
    return 0;
}

LRESULT on_button_up(AboutWindow& about, HWND window, LPARAM l) {
    const HotSpot* spot = hot_spot_under(about, l);
    if (spot == nullptr) {
        return 0;
    }
    switch (spot->kind) {
    case HotSpotKind::Link:
        link_opener(window, L"open", widen(spot->address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        break;
    case HotSpotKind::CheckBox:
        about.hide_at_startup = !about.hide_at_startup;
        about.hide_changed = true;
        InvalidateRect(window, nullptr, FALSE);
        break;
    case HotSpotKind::Close:
        about.closed = true;
        break;
    case HotSpotKind::None:
        break;
    }
    return 0;
}

LRESULT on_key_down(AboutWindow& about, HWND window, UINT message, WPARAM w, LPARAM l) {
    if (w == VK_RETURN || w == VK_ESCAPE) {
        about.closed = true;
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

LRESULT handle(AboutWindow& about, HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_PAINT:
        return on_paint(about, window);
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        return on_set_cursor(about, window, message, w, l);
    case WM_NCHITTEST:
        return on_hit_test(about, window, message, w, l);
    case WM_MOUSEMOVE:
        return on_mouse_move(about, window, l);
    case WM_MOUSELEAVE:
        return on_mouse_leave(about, window);
    case WM_LBUTTONUP:
        return on_button_up(about, window, l);
    case WM_KEYDOWN:
        return on_key_down(about, window, message, w, l);
    case WM_CLOSE:
        about.closed = true; // the main window destroys it
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

// After every message: a changed box is saved at once, a closed window is reported.
void after_message(AppState& state, AboutWindow& about) {
    if (about.hide_changed) {
        about.hide_changed = false;
        state.settings.hide_about = about.hide_at_startup;
        // The choice holds for this session; a later save writes it once the file can be written.
        (void)save_settings(state.settings);
    }
    if (about.closed) {
        PostMessageW(state.main_window, WM_APP_TOOL_CLOSED, 0, 0);
    }
}

} // namespace

void set_about_link_opener(LinkOpener opener) {
    link_opener = opener == nullptr ? ShellExecuteW : opener;
}

void open_about(AppState& state) {
    if (state.about) {
        SetForegroundWindow(state.about->window.get());
        return;
    }
    auto about = std::make_unique<AboutWindow>();
    // The main window's DPI, kept up to date by WM_DPICHANGED.
    about->scale = about_scale(state.dpi);
    about->fonts = create_about_fonts(about->scale);
    const HINSTANCE module = GetModuleHandleW(nullptr);
    about->picture.reset(static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(2), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    about->hide_at_startup = state.settings.hide_about;

    constexpr DWORD style = WS_POPUP | WS_BORDER;
    constexpr DWORD extended_style = WS_EX_TOOLWINDOW;
    const std::int32_t width = about_size(about_width, about->scale);
    const SIZE frame = outer_size(0, 0, style, extended_style);
    std::int32_t client_height = 0;
    {
        const WindowDc screen(nullptr);
        client_height = layout_about(*about, screen.get(), width - frame.cx, false);
    }
    const std::int32_t height = client_height + frame.cy;

    RECT owner{};
    GetWindowRect(state.main_window, &owner);
    const std::int32_t x = owner.left + (owner.right - owner.left - width) / 2;
    std::int32_t y = owner.top + (owner.bottom - owner.top - height) / 2;
    if (y < 1) {
        y = 0;
    }
    about->window.reset(CreateWindowExW(extended_style, about_class,
                                        widen(tr(texts::about::title)).c_str(), style, x, y, width,
                                        height, state.main_window, nullptr, module, nullptr));
    if (!about->window) {
        return; // fonts and picture go with the record
    }
    const HWND window = about->window.get();
    state.about = std::move(about);
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
}

LRESULT CALLBACK about_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    AppState* state = app();
    if (state == nullptr || !state->about || state->about->window.get() != window) {
        return DefWindowProcW(window, message, w, l);
    }
    AboutWindow* about = state->about.get();
    LRESULT result = 0;
    try {
        result = handle(*about, window, message, w, l);
    } catch (...) {
        result = DefWindowProcW(window, message, w, l);
    }
    // Opening a link can run messages, and with them the disposal of a window closed just
    // before: only a record that still exists is looked at again.
    if (state->about.get() == about) {
        after_message(*state, *about);
    }
    return result;
}

} // namespace ondrel
