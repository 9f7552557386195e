#include "ui/help_win32.hpp"

#include "platform/win32/wide.hpp"
#include "ui/bar_mouse_win32.hpp"
#include "ui/help_content.hpp"
#include "ui/keys_table.hpp"
#include "ui/shell_actions_win32.hpp"

#include <algorithm>
#include <utility>

namespace ondrel {
namespace {

constexpr COLORREF background_colour = RGB(36, 36, 39);
constexpr COLORREF light_colour = RGB(234, 234, 234);
constexpr COLORREF accent_colour = RGB(59, 142, 240);
constexpr COLORREF grey_colour = RGB(138, 138, 142);
constexpr COLORREF separator_colour = RGB(48, 48, 51);

RECT to_rect(const HelpRect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

void fill(HDC dc, const RECT& rect, COLORREF colour) {
    const UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

void draw_text(HDC dc, HFONT font, COLORREF colour, const std::wstring& text, RECT rect,
               UINT format) {
    const SelectedObject selected(dc, font);
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), -1, &rect, format);
}

void draw_help(HDC dc, const AppState& state, const RECT& client) {
    fill(dc, client, background_colour);
    SetBkMode(dc, TRANSPARENT);
    const InterfaceFonts& fonts = state.fonts;
    const std::vector<HelpRow> rows = help_rows(state.settings.multi_instance);
    const HelpLayout layout = help_layout(state.dpi, client.right, rows.size());
    constexpr UINT line = DT_SINGLELINE | DT_VCENTER;
    draw_text(dc, fonts.title.get(), light_colour, widen(help_title()), to_rect(layout.title),
              line);
    std::int32_t top = layout.first_row_top;
    for (const HelpRow& row : rows) {
        const std::int32_t bottom = top + layout.row_height;
        if (row.icon != 0) {
            draw_text(dc, fonts.large_icon.get(), accent_colour,
                      std::wstring(1, static_cast<wchar_t>(row.icon)),
                      RECT{layout.icon_left, top, layout.label_left, bottom}, line);
        }
        draw_text(dc, fonts.body.get(), light_colour, widen(row.label),
                  RECT{layout.label_left, top, layout.keys_left, bottom}, line | DT_NOPREFIX);
        draw_text(dc, fonts.body.get(), grey_colour, widen(row.keys),
                  RECT{layout.keys_left, top, layout.text_right, bottom}, line | DT_NOPREFIX);
        top = bottom;
    }
    fill(dc, to_rect(layout.separator), separator_colour);
    draw_text(dc, fonts.body.get(), grey_colour, widen(help_footer_remembered()),
              to_rect(layout.first_footer), line);
    draw_text(dc, fonts.body.get(), light_colour, widen(help_footer_close()),
              to_rect(layout.second_footer), line);
}

// Drawn off screen and copied in one go, so the overlay never flickers.
void paint(const AppState& state, HWND window) {
    PAINTSTRUCT paint_info;
    const HDC dc = BeginPaint(window, &paint_info);
    RECT client{};
    GetClientRect(window, &client);
    const int width = std::max<int>(1, client.right);
    const int height = std::max<int>(1, client.bottom);
    {
        const CompatibleDc memory(CreateCompatibleDC(dc));
        const UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
        if (memory && bitmap) {
            const SelectedObject selected(memory.get(), bitmap.get());
            draw_help(memory.get(), state, client);
            BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(window, &paint_info);
}

void post_close(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
}

LRESULT on_key_down(AppState& state, HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (w) {
    case virtual_key::enter:
    case virtual_key::escape:
    case virtual_key::space:
    case virtual_key::f1:
        post_close(window);
        return 0;
    case virtual_key::letter('I'):
        toggle_multi_instance(state); // repaints the overlay with the new state
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

LRESULT on_close(AppState& state, HWND window) {
    if (state.help_overlay == window) {
        state.help_overlay = nullptr;
        restart_autohide(state); // the bar waited for the overlay
    }
    DestroyWindow(window);
    SetFocus(state.main_window);
    return 0;
}

LRESULT handle(AppState& state, HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE) {
            post_close(window);
        }
        return DefWindowProcW(window, message, w, l);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        post_close(window);
        return 0;
    case WM_KEYDOWN:
        return on_key_down(state, window, message, w, l);
    case WM_CLOSE:
        return on_close(state, window);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint(state, window);
        return 0;
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

} // namespace

void toggle_help(AppState& state) {
    if (state.help_overlay != nullptr) {
        DestroyWindow(std::exchange(state.help_overlay, nullptr));
        restart_autohide(state); // the bar waited for the overlay
        return;
    }
    RECT main{};
    GetWindowRect(state.main_window, &main);
    const HelpRect r =
        help_overlay_rect(state.dpi, HelpRect{main.left, main.top, main.right, main.bottom});
    const HWND overlay =
        CreateWindowExW(WS_EX_TOOLWINDOW, help_overlay_class, nullptr, WS_POPUP | WS_BORDER, r.left,
                        r.top, r.right - r.left, r.bottom - r.top, state.main_window, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    if (overlay == nullptr) {
        return;
    }
    state.help_overlay = overlay;
    ShowWindow(overlay, SW_SHOW);
    SetFocus(overlay);
}

void toggle_help_after_click(AppState& state) {
    const bool was_open = std::exchange(state.help_open_at_press, false);
    if (!was_open || state.help_overlay != nullptr) {
        toggle_help(state);
    }
}

LRESULT CALLBACK help_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    AppState* state = app();
    if (state == nullptr) {
        return DefWindowProcW(window, message, w, l);
    }
    // Nothing may unwind through the system's frames.
    try {
        return handle(*state, window, message, w, l);
    } catch (...) {
        return DefWindowProcW(window, message, w, l);
    }
}

} // namespace ondrel
