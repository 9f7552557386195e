#include "main/shell_seam.hpp"

#include "i18n/texts_localization.hpp"
#include "ui/app_state_win32.hpp"
#include "main/main_window_win32.hpp"
#include "platform/win32/wide.hpp"

#include <windows.h>

namespace ondrel {
namespace {

static_assert(WM_APP_MPV_WAKEUP == WM_APP + 1);
static_assert(sizeof(ShellWindow) == sizeof(HWND));

HWND window_handle(ShellWindow window) {
    return reinterpret_cast<HWND>(window);
}

} // namespace

void shell_language_changed(Language) {
    AppState* state = app();
    if (state == nullptr || state->main_window == nullptr) {
        return;
    }
    // The tooltips are made again here once they exist, so that they take the new texts.
    layout_children(*state); // repaints the control bar
    if (state->help_overlay != nullptr) {
        ::InvalidateRect(state->help_overlay, nullptr, FALSE);
    }
    // The About window repaints here once it exists.
    if (state->session.player) {
        show_text(state->session, tr(texts::language_switched), 1500);
    }
}

bool shell_post_mpv_wakeup(ShellWindow window) noexcept {
    return ::PostMessageW(window_handle(window), WM_APP_MPV_WAKEUP, 0, 0) != FALSE;
}

void shell_invalidate(ShellWindow window) {
    if (window != 0) {
        ::InvalidateRect(window_handle(window), nullptr, FALSE);
    }
}

void shell_set_window_title(ShellWindow window, std::string_view title) {
    ::SetWindowTextW(window_handle(window), widen(title).c_str());
}

bool shell_is_foreground(ShellWindow window) {
    return window != 0 && ::GetForegroundWindow() == window_handle(window);
}

bool shell_has_focus(ShellWindow window) {
    return window != 0 && ::GetFocus() == window_handle(window);
}

void shell_set_focus(ShellWindow window) {
    ::SetFocus(window_handle(window));
}

ShellPlacement shell_window_placement(ShellWindow window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(window_handle(window), &placement)) {
        return {};
    }
    const RECT& r = placement.rcNormalPosition;
    return {WindowRect{r.left, r.top, r.right, r.bottom}, placement.showCmd == SW_SHOWMAXIMIZED};
}

void shell_hide_window(ShellWindow window) {
    ::ShowWindow(window_handle(window), SW_HIDE);
}

} // namespace ondrel
