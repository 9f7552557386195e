// The tooltips of the bar's buttons, read back from the tooltip control in this process.
#include "gui/support/bar_driver.hpp"
#include "main/language_switch.hpp"
#include "platform/win32/wide.hpp"
#include "ui/bar_mouse_win32.hpp"

#include <array>
#include <commctrl.h>
#include <string_view>

namespace ondrel::testing {
namespace {

using GuiBarTooltips = PlayerTest;

// The buttons' tooltips by item, in English and in French.
constexpr std::array<std::array<std::string_view, 10>, 2> written_tooltips{{
    {"Open a file (Ctrl+O)", "Play / Pause (Space)", "Back 10 s (← : 5 s)",
     "Forward 10 s (→ : 5 s)", "Mute (M) — wheel or ↑/↓ for volume", "Audio track (A: next)",
     "Subtitles (S: next / off)", "Always on top (T)",
     "Full screen (F, double-click) — Esc to exit", "Help (F1)"},
    {"Ouvrir un fichier (Ctrl+O)", "Lecture / Pause (Espace)", "Reculer de 10 s (← : 5 s)",
     "Avancer de 10 s (→ : 5 s)", "Muet (M) — molette ou ↑/↓ pour le volume",
     "Piste audio (A : suivante)", "Sous-titres (S : suivant / désactiver)",
     "Toujours au premier plan (T)", "Plein écran (F, double-clic) — Échap pour sortir",
     "Aide (F1)"},
}};

// Every tool of the control is a button: the bar's height, the button's width, its text in the
// current language; or empty while the bar is hidden.
void expect_tools(const AppState& state, bool hidden, bool french = false) {
    const HWND tooltips = state.tooltip_window;
    ASSERT_EQ(SendMessageW(tooltips, TTM_GETTOOLCOUNT, 0, 0), 10);
    const BarGeometry geometry = bar_geometry(state);
    for (WPARAM i = 0; i < 10; ++i) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        ASSERT_TRUE(SendMessageW(tooltips, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)));
        SCOPED_TRACE(tool.uId);
        ASSERT_TRUE(tool.uId >= 1 && tool.uId <= 10);
        wchar_t text[256] = {};
        tool.lpszText = text;
        SendMessageW(tooltips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
        const auto item = static_cast<std::uint8_t>(tool.uId - 1);
        EXPECT_EQ(narrow(text), written_tooltips[french ? 1 : 0][item]);
        EXPECT_EQ(tool.hwnd, state.main_window);
        EXPECT_NE(tool.uFlags & TTF_SUBCLASS, 0u);
        RECT expected{};
        for (const BarButton& button : geometry.layout.buttons) {
            if (button.item == item && !hidden) {
                expected = {button.rect.left, geometry.top, button.rect.right,
                            geometry.top + geometry.height};
            }
        }
        EXPECT_EQ(sides(tool.rect), sides(expected));
    }
}

TEST_F(GuiBarTooltips, TenToolsFollowTheLayoutTheLanguageAndTheHiddenBar) {
    ASSERT_TRUE(session.start());
    const HWND first = state().tooltip_window;
    EXPECT_EQ(class_name(first), L"tooltips_class32");
    EXPECT_EQ(GetWindow(first, GW_OWNER), main());
    EXPECT_NE(GetWindowLongPtrW(first, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    const LONG_PTR styles = WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP;
    EXPECT_EQ(GetWindowLongPtrW(first, GWL_STYLE) & styles, styles);
    expect_tools(state(), false);
    // A narrower window moves the right-hand buttons.
    SetWindowPos(main(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    expect_tools(state(), false);
    // A new language makes a new control with the new texts.
    set_language(state().settings, Language::French);
    EXPECT_FALSE(IsWindow(first));
    expect_tools(state(), false, true);
    set_language(state().settings, Language::English);

    set_full_screen(state(), true);
    expect_tools(state(), true);
    show_controls(state());
    expect_tools(state(), false);
}

} // namespace
} // namespace ondrel::testing
