// The control bar's mouse handling through the main window's real mouse messages.
#include "gui/support/bar_driver.hpp"
#include "ui/bar_mouse_win32.hpp"
#include "ui/help_win32.hpp"

#include <functional>

namespace ondrel::testing {
namespace {

using GuiBarMouse = PlayerTest;

TEST_F(GuiBarMouse, HoverFollowsThePointerAndLeaves) {
    ASSERT_TRUE(play());
    for (const std::uint8_t item : {item_open, item_help, item_seek, item_volume}) {
        send_mouse(main(), WM_MOUSEMOVE, item_centre(state(), item));
        EXPECT_EQ(state().hovered_item, item);
    }
    EXPECT_TRUE(state().mouse_leave_armed);
    EXPECT_EQ(state().last_mouse_x, item_centre(state(), item_volume).x);
    send_mouse(main(), WM_MOUSEMOVE, POINT{200, 100}); // the video
    EXPECT_EQ(state().hovered_item, no_hovered_item);
    send_mouse(main(), WM_MOUSEMOVE, item_centre(state(), item_back));
    SendMessageW(main(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(state().hovered_item, no_hovered_item);
    EXPECT_FALSE(state().mouse_leave_armed);
}

TEST_F(GuiBarMouse, ButtonsActOnPressAndTheVideoOnClickAndDoubleClick) {
    ASSERT_TRUE(play());
    click(main(), item_centre(state(), item_play_pause));
    EXPECT_TRUE(state().session.playback.paused);
    click(main(), POINT{300, 120}); // the video
    EXPECT_FALSE(state().session.playback.paused);
    const POINT empty_part{bar_geometry(state()).layout.time.left + 2,
                           item_centre(state(), item_open).y};
    click(main(), empty_part);
    EXPECT_FALSE(state().session.playback.paused);

    clear_double_record();
    click(main(), item_centre(state(), item_back));
    // A double click on "Forward 10 s" seeks twice in all.
    const POINT forward = item_centre(state(), item_forward);
    click(main(), forward);
    send_mouse(main(), WM_LBUTTONDBLCLK, forward);
    send_mouse(main(), WM_LBUTTONUP, forward);
    EXPECT_EQ(player_calls(), (std::vector<std::string>{"osd-msg-bar seek -10 relative+exact",
                                                        "osd-msg-bar seek 10 relative+exact",
                                                        "osd-msg-bar seek 10 relative+exact"}));
    click(main(), item_centre(state(), item_always_on_top));
    EXPECT_TRUE(state().settings.always_on_top);

    // The second press of a double click on the video switches full screen, keeping the pause.
    click(main(), POINT{300, 150});
    EXPECT_TRUE(state().session.playback.paused);
    send_mouse(main(), WM_LBUTTONDBLCLK, POINT{300, 150});
    send_mouse(main(), WM_LBUTTONUP, POINT{300, 150});
    EXPECT_FALSE(state().session.playback.paused);
    EXPECT_TRUE(state().full_screen);
}

TEST_F(GuiBarMouse, TrackButtonsWaitForTheReleaseOverTheSameButton) {
    ASSERT_TRUE(play());
    send_mouse(main(), WM_LBUTTONDOWN, item_centre(state(), item_subtitles));
    EXPECT_EQ(state().pressed_item, item_subtitles);
    send_mouse(main(), WM_LBUTTONUP, item_centre(state(), item_audio));
    EXPECT_EQ(state().pressed_item, no_pressed_item);
    // A double click on them is no second press.
    send_mouse(main(), WM_LBUTTONDBLCLK, item_centre(state(), item_audio));
    EXPECT_EQ(state().pressed_item, no_pressed_item);
}

TEST_F(GuiBarMouse, SeekDragPreviewsThenSeeksExactlyAtTheRelease) {
    ASSERT_TRUE(play({{"default", {{"duration", 200}}}}));
    clear_double_record();
    send_mouse(main(), WM_LBUTTONDOWN, slider_point(state(), item_seek, 0.5));
    EXPECT_EQ(state().drag, DragKind::SeekBar);
    EXPECT_EQ(GetCapture(), main());
    EXPECT_NEAR(state().seek_preview, 0.5, 0.01);
    // Beyond the end the preview stops at the end.
    POINT beyond = slider_point(state(), item_seek, 1.0);
    beyond.x += 300;
    send_mouse(main(), WM_MOUSEMOVE, beyond);
    EXPECT_DOUBLE_EQ(state().seek_preview, 1.0);
    const POINT quarter = slider_point(state(), item_seek, 0.25);
    send_mouse(main(), WM_MOUSEMOVE, quarter);
    send_mouse(main(), WM_LBUTTONUP, quarter);
    EXPECT_EQ(state().drag, DragKind::None);
    EXPECT_EQ(GetCapture(), nullptr);

    const std::vector<std::string> seeks = player_calls("seek ");
    ASSERT_EQ(seeks.size(), 4u); // the press, two moves, the release
    EXPECT_TRUE(seeks[0].ends_with(" absolute+keyframes"));
    EXPECT_EQ(seeks[1], "seek 200.000 absolute+keyframes");
    EXPECT_TRUE(seeks[2].ends_with(" absolute+keyframes"));
    // The release seeks exactly where the pointer is, to the millisecond.
    EXPECT_TRUE(seeks[3].ends_with(" absolute+exact"));
    const std::string position = seeks[3].substr(5, seeks[3].find(' ', 5) - 5);
    EXPECT_NEAR(std::stod(position), 50, 1);
    EXPECT_EQ(position.size() - position.find('.'), 4u);
}

TEST_F(GuiBarMouse, LosingTheMouseEndsASeekDragWithoutTheFinalSeek) {
    ASSERT_TRUE(play());
    clear_double_record();
    send_mouse(main(), WM_LBUTTONDOWN, slider_point(state(), item_seek, 0.3));
    ReleaseCapture(); // what Alt+Tab does
    EXPECT_EQ(state().drag, DragKind::None);
    send_mouse(main(), WM_LBUTTONUP, slider_point(state(), item_seek, 0.6));
    const std::vector<std::string> seeks = player_calls("seek ");
    ASSERT_EQ(seeks.size(), 1u);
    EXPECT_TRUE(seeks[0].ends_with(" absolute+keyframes"));
}

TEST_F(GuiBarMouse, VolumeDragSetsTheVolumeAndUnmutesWithoutAMessage) {
    session.write_settings("language=en\nvolume=80\nmute=1\n");
    ASSERT_TRUE(session.start());
    clear_double_record();
    send_mouse(main(), WM_LBUTTONDOWN, slider_point(state(), item_volume, 0.25));
    EXPECT_EQ(state().drag, DragKind::VolumeSlider);
    EXPECT_NEAR(state().session.playback.volume, 25, 1);
    EXPECT_FALSE(state().session.playback.muted);
    POINT far_right = slider_point(state(), item_volume, 1.0);
    far_right.x += 100;
    send_mouse(main(), WM_MOUSEMOVE, far_right);
    send_mouse(main(), WM_LBUTTONUP, far_right);
    EXPECT_EQ(state().session.playback.volume, 100);
    EXPECT_EQ(state().drag, DragKind::None);
    EXPECT_EQ(player_calls("volume=").back(), "volume=100.0");
    EXPECT_EQ(player_calls("show-text"), std::vector<std::string>{});
}

// Moves the real cursor, in screen coordinates, and waits until the system reports it there.
bool move_cursor(POINT target) {
    SetCursorPos(target.x, target.y);
    return pump_until([&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == target.x && now.y == target.y;
    });
}

TEST_F(GuiBarMouse, FullScreenAutoHideItsExceptionsAndAPressOnTheHiddenBar) {
    ASSERT_TRUE(play());
    SetForegroundWindow(main());
    set_full_screen(state(), true);
    const auto tick = [&] { SendMessageW(main(), WM_TIMER, TIMER_AUTOHIDE, 0); };
    send_mouse(main(), WM_MOUSEMOVE, POINT{state().last_mouse_x + 1, 200});
    ASSERT_TRUE(state().bar_shown_in_full_screen);
    ASSERT_TRUE(IsWindowVisible(state().control_bar));
    RECT bar = window_rect(state().control_bar);
    MapWindowPoints(nullptr, main(), reinterpret_cast<POINT*>(&bar), 2);
    RECT client{};
    GetClientRect(main(), &client);
    EXPECT_EQ(bar.bottom, client.bottom); // over the bottom of the video
    EXPECT_EQ(bar.right, client.right);
    pump_for(std::chrono::milliseconds(300)); // lets the screen catch up
    save_window_screenshot(main(), screenshot_folder() / L"bar-full-screen.png");

    state().drag = DragKind::VolumeSlider; // a drag keeps the bar
    tick();
    EXPECT_TRUE(state().bar_shown_in_full_screen);
    state().drag = DragKind::None;
    state().help_overlay = main(); // so does the help overlay
    tick();
    EXPECT_TRUE(state().bar_shown_in_full_screen);
    state().help_overlay = nullptr;
    // So does the pointer resting on a button.
    POINT on_button = item_centre(state(), item_play_pause);
    send_mouse(main(), WM_MOUSEMOVE, on_button);
    ClientToScreen(main(), &on_button);
    ASSERT_TRUE(move_cursor(on_button));
    tick();
    EXPECT_TRUE(state().bar_shown_in_full_screen);

    ASSERT_TRUE(move_cursor(POINT{200, 200}));
    send_mouse(main(), WM_MOUSEMOVE, POINT{200, 200});
    tick();
    EXPECT_FALSE(state().bar_shown_in_full_screen);
    EXPECT_FALSE(IsWindowVisible(state().control_bar));
    EXPECT_EQ(state().hovered_item, no_hovered_item);
    if (GetForegroundWindow() == main()) {
        EXPECT_TRUE(state().cursor_hidden);
        SendMessageW(main(), WM_SETCURSOR, reinterpret_cast<WPARAM>(main()),
                     MAKELPARAM(HTCLIENT, 0));
        EXPECT_EQ(GetCursor(), nullptr);
    }
    // The wheel brings both back.
    SendMessageW(main(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_TRUE(state().bar_shown_in_full_screen);
    EXPECT_FALSE(state().cursor_hidden);
    set_full_screen(state(), false);
    tick(); // outside full screen the timer does nothing
    EXPECT_TRUE(IsWindowVisible(state().control_bar));

    // A press where the hidden bar's button lies shows the bar and acts at once.
    set_full_screen(state(), true);
    ASSERT_FALSE(state().bar_shown_in_full_screen);
    const POINT button = item_centre(state(), item_full_screen);
    EXPECT_EQ(bar_hit_test(state(), button.x, button.y), item_none);
    click(main(), button);
    EXPECT_FALSE(state().full_screen);
    EXPECT_TRUE(IsWindowVisible(state().control_bar));
}

// KillTimer says whether the timer was set; it is set again as it was.
bool autohide_timer_set(HWND main) {
    const bool set = KillTimer(main, TIMER_AUTOHIDE) != FALSE;
    if (set) {
        SetTimer(main, TIMER_AUTOHIDE, TIMER_AUTOHIDE_MS, nullptr);
    }
    return set;
}

// What keeps the bar in full screen leaves no timer running while nothing moves; what ends it
// starts the wait again.
TEST_F(GuiBarMouse, AKeptBarWaitsWithoutATimer) {
    ASSERT_TRUE(play());
    SetForegroundWindow(main());
    set_full_screen(state(), true);
    const POINT on_button = item_centre(state(), item_play_pause);
    POINT on_screen = on_button;
    ClientToScreen(main(), &on_screen);
    ASSERT_TRUE(move_cursor(on_screen));
    const struct {
        const char* what;
        std::function<void()> keep, end;
    } cases[] = {
        {"pointer on a button", [] {}, [&] { SendMessageW(main(), WM_MOUSELEAVE, 0, 0); }},
        {"drag", [&] { state().drag = DragKind::VolumeSlider; },
         [&] { send_mouse(main(), WM_LBUTTONUP, on_button); }},
        {"help overlay", [&] { toggle_help(state()); },
         [&] {
             toggle_help(state());
             pump_until([&] { return state().help_overlay == nullptr; });
         }},
    };
    int nudge = 0;
    for (const auto& kept : cases) {
        SCOPED_TRACE(kept.what);
        // A move onto the button shows the bar and hovers the button.
        send_mouse(main(), WM_MOUSEMOVE, POINT{on_button.x + (++nudge % 2), on_button.y});
        ASSERT_EQ(state().hovered_item, item_play_pause);
        kept.keep();
        SendMessageW(main(), WM_TIMER, TIMER_AUTOHIDE, 0);
        EXPECT_TRUE(state().bar_shown_in_full_screen);
        EXPECT_FALSE(autohide_timer_set(main()));
        kept.end();
        EXPECT_TRUE(autohide_timer_set(main()));
    }
}

} // namespace
} // namespace ondrel::testing
