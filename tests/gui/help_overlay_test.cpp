// The help overlay: where it opens, how it closes, its I key, its pixels, both languages.
#include "gui/support/desktop.hpp"
#include "gui/support/gui_session.hpp"
#include "gui/support/menu_driving.hpp"
#include "ui/help_win32.hpp"
#include "ui/keys_win32.hpp"
#include "ui/menu_win32.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

HWND open_help(GuiSession& session) {
    toggle_help(session.state());
    const HWND overlay = session.state().help_overlay;
    if (overlay != nullptr) {
        UpdateWindow(overlay);
        pump_for(std::chrono::milliseconds(100));
    }
    return overlay;
}

bool closed(GuiSession& session, HWND overlay) {
    return pump_until([&] { return !IsWindow(overlay); }, std::chrono::milliseconds(3000)) &&
           session.state().help_overlay == nullptr;
}

TEST(GuiHelp, SizeAndPlaceAt96And144Dpi) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    SetWindowPos(session.main(), nullptr, 100, 50, 1000, 800, SWP_NOZORDER);
    const HWND overlay = open_help(session);
    ASSERT_NE(overlay, nullptr);
    RECT rect{};
    GetWindowRect(overlay, &rect);
    EXPECT_EQ(rect.left, 250);
    EXPECT_EQ(rect.top, 105);
    EXPECT_EQ(rect.right - rect.left, 700);
    EXPECT_EQ(rect.bottom - rect.top, 690);
    wchar_t class_name[64] = {};
    GetClassNameW(overlay, class_name, 64);
    EXPECT_STREQ(class_name, L"Ondrel.Help");
    EXPECT_EQ(GetWindow(overlay, GW_OWNER), session.main());
    EXPECT_NE(GetWindowLongPtrW(overlay, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(GetWindowLongPtrW(overlay, GWL_STYLE) & (WS_POPUP | WS_BORDER | WS_CAPTION),
              WS_POPUP | WS_BORDER);
    EXPECT_EQ(GetFocus(), overlay);
    // While it is open the main window leaves it the focus.
    SendMessageW(session.main(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), overlay);
    toggle_help(session.state());
    EXPECT_FALSE(IsWindow(overlay));
    EXPECT_EQ(session.state().help_overlay, nullptr);

    RECT suggested{50, 40, 50 + 1440, 40 + 885};
    SendMessageW(session.main(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    const HWND large = open_help(session);
    ASSERT_NE(large, nullptr);
    GetWindowRect(large, &rect);
    EXPECT_EQ(rect.left, 50 + (1440 - 1050) / 2);
    EXPECT_EQ(rect.top, 40 + (885 - 1035) / 2);
    EXPECT_EQ(rect.right - rect.left, 1050);
    EXPECT_EQ(rect.bottom - rect.top, 1035);
}

TEST(GuiHelp, ClosesOnItsKeysOnAClickAndOnLosingActivation) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    struct Case {
        const char* name;
        UINT message;
        WPARAM w;
    };
    const Case cases[] = {
        {"Enter", WM_KEYDOWN, VK_RETURN},  {"Esc", WM_KEYDOWN, VK_ESCAPE},
        {"Space", WM_KEYDOWN, VK_SPACE},   {"F1", WM_KEYDOWN, VK_F1},
        {"left click", WM_LBUTTONDOWN, 0}, {"right click", WM_RBUTTONDOWN, 0},
    };
    for (const Case& c : cases) {
        const HWND overlay = open_help(session);
        ASSERT_NE(overlay, nullptr) << c.name;
        SendMessageW(overlay, c.message, c.w, 0);
        EXPECT_TRUE(closed(session, overlay)) << c.name;
        EXPECT_EQ(GetFocus(), session.main()) << c.name;
    }
    const HWND overlay = open_help(session);
    SendMessageW(overlay, WM_KEYDOWN, 'Q', 0);
    pump_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(IsWindow(overlay));
    // A click on the player takes the activation away.
    SetActiveWindow(session.main());
    EXPECT_TRUE(closed(session, overlay));
    EXPECT_EQ(GetFocus(), session.main());
}

TEST(GuiHelp, KeyISwitchesMultiInstanceAndRepaintsAtOnce) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    const HWND overlay = open_help(session);
    ASSERT_NE(overlay, nullptr);
    clear_double_record();
    SendMessageW(overlay, WM_KEYDOWN, 'I', 0);
    EXPECT_TRUE(GetUpdateRect(overlay, nullptr, FALSE));
    EXPECT_TRUE(session.saved_settings().multi_instance);
    EXPECT_EQ(player_calls(),
              std::vector<std::string>{
                  "show-text Multi-instance on: each video opens in a new window 2500"});
    EXPECT_TRUE(IsWindow(overlay));
    // A language switch repaints it too.
    UpdateWindow(overlay);
    dispatch_menu_command(session.state(), 3001);
    EXPECT_TRUE(GetUpdateRect(overlay, nullptr, FALSE));
    dispatch_menu_command(session.state(), 3002);
}

// Fills are checked by their pixels; glyphs by their colour only, since Wine has no Segoe.
TEST(GuiHelp, PixelsAndScreenshotsInBothLanguages) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    SetWindowPos(session.main(), nullptr, 40, 20, 960, 740, SWP_NOZORDER);
    for (const Language language : {Language::English, Language::French}) {
        store_language(language);
        const HWND overlay = open_help(session);
        ASSERT_NE(overlay, nullptr);
        save_window_screenshot(overlay, screenshot_folder() / (language == Language::English
                                                                   ? L"help-overlay-en.png"
                                                                   : L"help-overlay-fr.png"));
        EXPECT_EQ(screen_pixel(overlay, 3, 3), 0x242427u); // background
        EXPECT_EQ(screen_pixel(overlay, 300, 5), 0x242427u);
        // The separator: one line below the rows, in its own grey, with background around.
        EXPECT_EQ(screen_pixel(overlay, 100, 608), 0x303033u);
        EXPECT_EQ(screen_pixel(overlay, 100, 607), 0x242427u);
        EXPECT_EQ(screen_pixel(overlay, 100, 609), 0x242427u);
        EXPECT_EQ(screen_pixel(overlay, 10, 608), 0x242427u); // outside the margins
        // Row 1 has an icon in the accent blue; row 5 has none.
        const auto blue_pixels = [&](int row) {
            int count = 0;
            for (int y = 56 + 30 * row; y < 56 + 30 * (row + 1); ++y) {
                for (int x = 22; x < 58; ++x) {
                    const std::uint32_t p = screen_pixel(overlay, x, y);
                    const int r = static_cast<int>(p >> 16);
                    const int b = static_cast<int>(p & 0xFF);
                    count += b > 150 && r < 120;
                }
            }
            return count;
        };
        EXPECT_GT(blue_pixels(0), 0);
        EXPECT_EQ(blue_pixels(4), 0);
        toggle_help(session.state());
    }
    store_language(Language::English);
}

} // namespace
} // namespace ondrel::testing
