// The help overlay: where it opens, how it closes, its I key, its pixels, both languages.
#include "gui/support/bar_driver.hpp"
#include "gui/support/player_test.hpp"
#include "ui/help_win32.hpp"
#include "ui/menu_win32.hpp"

#include <functional>

namespace ondrel::testing {
namespace {

class GuiHelp : public PlayerTest {
protected:
    void SetUp() override { ASSERT_TRUE(session.start()); }

    // Opens the overlay and lets it paint.
    HWND open_help() {
        toggle_help(state());
        const HWND overlay = state().help_overlay;
        if (overlay != nullptr) {
            UpdateWindow(overlay);
            pump_for(std::chrono::milliseconds(100));
        }
        return overlay;
    }

    bool closed(HWND overlay) {
        return pump_until([&] { return !IsWindow(overlay); }, std::chrono::seconds(3)) &&
               state().help_overlay == nullptr;
    }
};

TEST_F(GuiHelp, SizeAndPlaceAt96And144Dpi) {
    SetWindowPos(main(), nullptr, 100, 50, 1000, 800, SWP_NOZORDER);
    const HWND overlay = open_help();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(sides(window_rect(overlay)),
              (std::array<LONG, 4>{250, 105, 250 + 700, 105 + 690})); // centred on the main window
    EXPECT_EQ(class_name(overlay), L"Ondrel.Help");
    expect_owned_tool_popup(overlay, main());
    EXPECT_EQ(GetFocus(), overlay);
    // While it is open the main window leaves it the focus.
    SendMessageW(main(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), overlay);
    toggle_help(state());
    EXPECT_FALSE(IsWindow(overlay));
    EXPECT_EQ(state().help_overlay, nullptr);

    change_dpi(144); // the main window: 1440 × 885 at (100, 50)
    const HWND large = open_help();
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(sides(window_rect(large)), (std::array<LONG, 4>{295, -25, 295 + 1050, -25 + 1035}));
}

TEST_F(GuiHelp, ClosesOnItsKeysOnAClickAndOnLosingActivation) {
    const std::pair<UINT, WPARAM> closers[] = {
        {WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYDOWN, VK_SPACE},
        {WM_KEYDOWN, VK_F1},     {WM_LBUTTONDOWN, 0},     {WM_RBUTTONDOWN, 0},
    };
    for (const auto& [message, w] : closers) {
        const HWND overlay = open_help();
        ASSERT_NE(overlay, nullptr);
        SendMessageW(overlay, message, w, 0);
        EXPECT_TRUE(closed(overlay)) << message << " " << w;
        EXPECT_EQ(GetFocus(), main()) << message << " " << w;
    }
    const HWND overlay = open_help();
    SendMessageW(overlay, WM_KEYDOWN, 'Q', 0);
    pump_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(IsWindow(overlay));
    // A click on the player takes the activation away.
    SetActiveWindow(main());
    EXPECT_TRUE(closed(overlay));
    EXPECT_EQ(GetFocus(), main());
}

// On Windows a press on the player first takes the activation from the overlay, whose close
// (a posted message) runs before the release; Wine activates later, so the order is played
// here message by message. The release must not open the overlay again.
TEST_F(GuiHelp, HelpClickedWhileOpenStaysClosed) {
    const POINT help = item_centre(state(), item_help);
    const std::pair<UINT, std::function<void()>> ways[] = {
        {WM_LBUTTONDOWN, [&] { send_mouse(main(), WM_LBUTTONUP, help); }},
        {WM_RBUTTONDOWN, [&] { dispatch_menu_command(state(), menu_id::help); }},
    };
    for (const auto& [press, release] : ways) {
        const HWND overlay = open_help();
        ASSERT_NE(overlay, nullptr);
        send_mouse(main(), press, help);
        SendMessageW(overlay, WM_ACTIVATE, WA_INACTIVE, 0);
        EXPECT_TRUE(closed(overlay)) << press;
        release();
        pump_for(std::chrono::milliseconds(100));
        EXPECT_EQ(state().help_overlay, nullptr) << press;
    }
    // With the overlay closed, a click opens it.
    click(main(), help);
    EXPECT_NE(state().help_overlay, nullptr);
}

TEST_F(GuiHelp, KeyISwitchesMultiInstanceAndRepaintsAtOnce) {
    const HWND overlay = open_help();
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
    dispatch_menu_command(state(), 3001);
    EXPECT_TRUE(GetUpdateRect(overlay, nullptr, FALSE));
    dispatch_menu_command(state(), 3002);
}

// Fills are checked by their pixels; glyphs by their colour only, since Wine has no Segoe.
TEST_F(GuiHelp, PixelsAndScreenshotsInBothLanguages) {
    SetWindowPos(main(), nullptr, 40, 20, 960, 740, SWP_NOZORDER);
    for (const Language language : {Language::English, Language::French}) {
        store_language(language);
        const HWND overlay = open_help();
        ASSERT_NE(overlay, nullptr);
        save_window_screenshot(overlay, screenshot_folder() / (language == Language::English
                                                                   ? L"help-overlay-en.png"
                                                                   : L"help-overlay-fr.png"));
        // The background, and the separator: one line below the rows, inside the margins.
        const std::tuple<int, int, std::uint32_t> spots[] = {
            {3, 3, 0x242427u},     {300, 5, 0x242427u},   {100, 608, 0x303033u},
            {100, 607, 0x242427u}, {100, 609, 0x242427u}, {10, 608, 0x242427u}};
        for (const auto& [x, y, colour] : spots) {
            EXPECT_EQ(screen_pixel(overlay, x, y), colour) << x << "," << y;
        }
        // Row 1 has an icon in the accent blue; row 5 has none.
        const auto blue_pixels = [&](int row) {
            int count = 0;
            for (int y = 56 + 30 * row; y < 56 + 30 * (row + 1); ++y) {
                for (int x = 22; x < 58; ++x) {
                    const std::uint32_t p = screen_pixel(overlay, x, y);
                    count += (p & 0xFF) > 150 && (p >> 16) < 120;
                }
            }
            return count;
        };
        EXPECT_GT(blue_pixels(0), 0);
        EXPECT_EQ(blue_pixels(4), 0);
        toggle_help(state());
    }
    store_language(Language::English);
}

} // namespace
} // namespace ondrel::testing
