// The tooltips of the bar's buttons, read back from the tooltip control in this process.
#include "gui/support/bar_driver.hpp"
#include "main/language_switch.hpp"
#include "platform/win32/wide.hpp"
#include "ui/bar_mouse_win32.hpp"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

struct Tool {
    UINT_PTR id = 0;
    UINT flags = 0;
    HWND window = nullptr;
    RECT rect{};
    std::string text;
};

std::vector<Tool> read_tools(HWND tooltips) {
    std::vector<Tool> tools;
    const auto count = SendMessageW(tooltips, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        if (!SendMessageW(tooltips, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(&info))) {
            continue;
        }
        std::wstring text(256, L'\0');
        TOOLINFOW query{};
        query.cbSize = sizeof query;
        query.hwnd = info.hwnd;
        query.uId = info.uId;
        query.lpszText = text.data();
        SendMessageW(tooltips, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&query));
        text.resize(wcslen(text.c_str()));
        tools.push_back({info.uId, info.uFlags, info.hwnd, info.rect, narrow(text)});
    }
    return tools;
}

// Every tool is a button's rectangle in main-window coordinates, or empty when `hidden`.
void expect_tools(const AppState& state, const std::vector<Tool>& tools, bool hidden) {
    ASSERT_EQ(tools.size(), 10u);
    const BarGeometry geometry = bar_geometry(state);
    for (const Tool& tool : tools) {
        SCOPED_TRACE(tool.id);
        ASSERT_GE(tool.id, 1u);
        ASSERT_LE(tool.id, 10u);
        const auto item = static_cast<std::uint8_t>(tool.id - 1);
        EXPECT_EQ(tool.window, state.main_window);
        EXPECT_NE(tool.flags & TTF_SUBCLASS, 0u);
        EXPECT_EQ(tool.text, bar_tooltip_text(item));
        if (hidden) {
            EXPECT_TRUE(IsRectEmpty(&tool.rect));
            continue;
        }
        for (const BarButton& button : geometry.layout.buttons) {
            if (button.item == item) {
                EXPECT_EQ(tool.rect.left, button.rect.left);
                EXPECT_EQ(tool.rect.right, button.rect.right);
                EXPECT_EQ(tool.rect.top, geometry.top);
                EXPECT_EQ(tool.rect.bottom, geometry.top + geometry.height);
            }
        }
    }
}

TEST(GuiBarTooltips, TenToolsFollowTheLayoutTheLanguageAndTheHiddenBar) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    AppState& state = session.state();
    const HWND first = state.tooltip_window;
    ASSERT_NE(first, nullptr);
    wchar_t class_name[64] = {};
    GetClassNameW(first, class_name, 64);
    EXPECT_STREQ(class_name, L"tooltips_class32");
    EXPECT_EQ(GetWindow(first, GW_OWNER), session.main());
    EXPECT_NE(GetWindowLongPtrW(first, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    const LONG_PTR style = GetWindowLongPtrW(first, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP),
              WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP);

    std::vector<Tool> tools = read_tools(first);
    expect_tools(state, tools, false);
    EXPECT_EQ(tools[0].text, "Open a file (Ctrl+O)");
    // A narrower window moves the right-hand buttons.
    SetWindowPos(session.main(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    expect_tools(state, read_tools(first), false);

    set_language(state.settings, Language::French);
    EXPECT_FALSE(IsWindow(first));
    ASSERT_NE(state.tooltip_window, nullptr);
    tools = read_tools(state.tooltip_window);
    expect_tools(state, tools, false);
    EXPECT_EQ(tools[9].text, "Aide (F1)");
    set_language(state.settings, Language::English);

    set_full_screen(state, true);
    expect_tools(state, read_tools(state.tooltip_window), true);
    show_controls(state);
    expect_tools(state, read_tools(state.tooltip_window), false);
}

} // namespace
} // namespace ondrel::testing
