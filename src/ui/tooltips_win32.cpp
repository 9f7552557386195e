#include "ui/tooltips_win32.hpp"

#include "platform/win32/wide.hpp"
#include "ui/app_state_win32.hpp"
#include "ui/bar_layout.hpp"
#include "ui/bar_look.hpp"

#include <commctrl.h>

namespace ondrel {
namespace {

static_assert(sizeof(TOOLINFOW) == 72);

TOOLINFOW tool_info(const AppState& state, std::uint8_t item) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = state.main_window;
    tool.uId = tooltip_id(item);
    return tool;
}

} // namespace

void create_tooltips(AppState& state) {
    if (state.tooltip_window != nullptr) {
        DestroyWindow(state.tooltip_window);
        state.tooltip_window = nullptr;
    }
    // Owned by the main window, which destroys it with itself.
    state.tooltip_window =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, state.main_window, nullptr, nullptr, nullptr);
    if (state.tooltip_window == nullptr) {
        return;
    }
    for (std::uint8_t item = 0; item < 10; ++item) {
        // The control copies the text.
        std::wstring text = widen(bar_tooltip_text(item));
        TOOLINFOW tool = tool_info(state, item);
        tool.lpszText = text.data();
        SendMessageW(state.tooltip_window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void place_tooltips(const AppState& state, int client_width, int client_height, bool bar_visible) {
    if (state.tooltip_window == nullptr) {
        return;
    }
    const std::int32_t height = bar_strip_height(state.dpi);
    const std::int32_t top = client_height - height;
    const BarLayout layout =
        bar_layout(state.dpi, client_width, height, compression_running(state));
    for (const BarButton& button : layout.buttons) {
        TOOLINFOW tool = tool_info(state, button.item);
        if (bar_visible) {
            tool.rect = RECT{button.rect.left, button.rect.top + top, button.rect.right,
                             button.rect.bottom + top};
        }
        SendMessageW(state.tooltip_window, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

} // namespace ondrel
