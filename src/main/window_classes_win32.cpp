#include "main/window_classes_win32.hpp"

#include "compress_ui/compress_window_win32.hpp"
#include "ui/app_state_win32.hpp"

namespace ondrel {
namespace {

// The control bar until its own painting exists: a dark strip at the bottom of the window.
LRESULT CALLBACK bar_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        UniqueBrush strip(CreateSolidBrush(RGB(28, 28, 30)));
        FillRect(dc, &client, strip.get());
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, w, l);
    }
}

struct ClassRow {
    const wchar_t* name;
    UINT style;
    HBRUSH background;
    WNDPROC procedure;
};

} // namespace

void register_window_classes(HINSTANCE instance) {
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    // The help overlay and About windows draw themselves; until they exist their classes
    // only carry the styles.
    const ClassRow rows[] = {
        {main_window_class, CS_DBLCLKS, black, main_window_procedure},
        {video_window_class, 0, black, DefWindowProcW},
        {bar_window_class, 0, nullptr, bar_window_procedure},
        {help_window_class, CS_DROPSHADOW, nullptr, DefWindowProcW},
        {compress_window_class, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
         compress_window_procedure},
        {about_window_class, CS_DROPSHADOW, nullptr, DefWindowProcW},
    };
    const HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    for (const ClassRow& row : rows) {
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.style = row.style;
        window_class.lpfnWndProc = row.procedure;
        window_class.hInstance = instance;
        window_class.hIcon = icon;
        window_class.hCursor = arrow;
        window_class.hbrBackground = row.background;
        window_class.lpszClassName = row.name;
        RegisterClassExW(&window_class);
    }
}

} // namespace ondrel
