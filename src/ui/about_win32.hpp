// The About window: the program's name and version, the experimental-software warning, the
// licences, links and the "Don't show at startup" box. It never destroys itself: it sets its
// closed flag and posts WM_APP_TOOL_CLOSED, and the main window drops its state.
#pragma once

#include "platform/win32/handles.hpp"
#include "ui/about_hot_spots.hpp"

#include <array>
#include <memory>
#include <vector>
#include <windows.h>

namespace ondrel {

struct AppState;

// The nine fonts, made once for the window's scale.
enum class AboutFont : std::size_t {
    Header,
    Name,
    Body,
    Strong,
    Small,
    SmallStrong,
    Link,
    Icon,
    SmallIcon,
};
inline constexpr std::size_t about_font_count = 9;

// Owned by the AppState while the window exists. The window is declared last so that it is
// destroyed before the fonts and the bitmap it paints with.
struct AboutWindow {
    Hover hover;
    std::vector<HotSpot> hot_spots; // rebuilt by every layout pass
    UniqueBitmap picture;           // null when the resource cannot be loaded
    std::array<UniqueFont, about_font_count> fonts;
    float scale = 1;
    bool hide_at_startup = false;
    bool hide_changed = false;
    bool closed = false;
    UniqueWindow window;
};

// Brings the window to the front when it is open; otherwise opens it centred on the main
// window and keeps its state in the AppState.
void open_about(AppState& state);

// The procedure of the `Ondrel.About` class.
LRESULT CALLBACK about_window_procedure(HWND window, UINT message, WPARAM w, LPARAM l);

// How links are opened: ShellExecuteW unless a test records the calls instead.
using LinkOpener = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
void set_about_link_opener(LinkOpener opener);

} // namespace ondrel
