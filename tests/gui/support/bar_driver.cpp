#include "gui/support/bar_driver.hpp"

#include "ui/bar_paint_win32.hpp"

namespace ondrel::testing {

BarGeometry bar_geometry(const AppState& state) {
    RECT client{};
    GetClientRect(state.main_window, &client);
    BarGeometry geometry;
    geometry.height = bar_strip_height(state.dpi);
    geometry.top = client.bottom - geometry.height;
    geometry.layout =
        bar_layout(state.dpi, client.right, geometry.height, compression_running(state));
    return geometry;
}

POINT item_centre(const AppState& state, std::uint8_t item) {
    const BarGeometry geometry = bar_geometry(state);
    BarRect rect = item == item_seek     ? geometry.layout.seek
                   : item == item_volume ? geometry.layout.volume
                                         : geometry.layout.time;
    for (const BarButton& button : geometry.layout.buttons) {
        rect = button.item == item ? button.rect : rect;
    }
    return POINT{(rect.left + rect.right) / 2, geometry.top + (rect.top + rect.bottom) / 2};
}

POINT slider_point(const AppState& state, std::uint8_t slider, double fraction) {
    const BarGeometry geometry = bar_geometry(state);
    const BarRect& rect = slider == item_seek ? geometry.layout.seek : geometry.layout.volume;
    return POINT{rect.left + static_cast<LONG>(fraction * rect.width()),
                 geometry.top + geometry.height / 2};
}

void send_mouse(HWND main, UINT message, POINT point) {
    const bool pressed = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
    SendMessageW(main, message, pressed ? MK_LBUTTON : 0, MAKELPARAM(point.x, point.y));
}

void click(HWND main, POINT point) {
    send_mouse(main, WM_LBUTTONDOWN, point);
    send_mouse(main, WM_LBUTTONUP, point);
}

Picture paint_bar_picture(const AppState& state) {
    RECT client{};
    GetClientRect(state.main_window, &client);
    const int height = bar_strip_height(state.dpi);
    return paint_picture(client.right, height,
                         [&](HDC dc) { paint_bar(state, dc, client.right, height); });
}

} // namespace ondrel::testing
