#include "main/window_classes_win32.hpp"

#include "compress_ui/compress_window_win32.hpp"
#include "ui/about_win32.hpp"
#include "ui/app_state_win32.hpp"
#include "ui/bar_paint_win32.hpp"
#include "ui/help_win32.hpp"

namespace ondrel {
namespace {

struct ClassRow {
    const wchar_t* name;
    UINT style;
    HBRUSH background;
    WNDPROC procedure;
};

} // namespace

void register_window_classes(HINSTANCE instance) {
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const ClassRow rows[] = {
        {main_window_class, CS_DBLCLKS, black, main_window_procedure},
        {video_window_class, 0, black, DefWindowProcW},
        {bar_window_class, 0, nullptr, bar_window_procedure},
        {help_window_class, CS_DROPSHADOW, nullptr, help_window_procedure},
        {compress_window_class, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
         compress_window_procedure},
        {about_window_class, CS_DROPSHADOW, nullptr, about_window_procedure},
    };
    const HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    // The small icon is loaded once for every class: without it, each registration would make
    // its own from the resource, a millisecond apiece before the window shows.
    const auto small_icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    for (const ClassRow& row : rows) {
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.style = row.style;
        window_class.lpfnWndProc = row.procedure;
        window_class.hInstance = instance;
        window_class.hIcon = icon;
        window_class.hIconSm = small_icon;
        window_class.hCursor = arrow;
        window_class.hbrBackground = row.background;
        window_class.lpszClassName = row.name;
        RegisterClassExW(&window_class);
    }
}

} // namespace ondrel
