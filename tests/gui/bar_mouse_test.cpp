// The control bar's mouse handling through the main window's real mouse messages.
#include "gui/support/bar_driver.hpp"
#include "gui/support/desktop.hpp"
#include "platform/numbers.hpp"
#include "ui/bar_mouse_win32.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

constexpr wchar_t film[] = L"Ondrel.exe C:\\videos\\film.mkv";

std::vector<std::string> relative_seeks() {
    std::vector<std::string> lines;
    for (const auto& line : recorded("mpv_command_string")) {
        lines.push_back(line.value("command", ""));
    }
    return lines;
}

TEST(GuiBarMouse, HoverFollowsThePointerAndLeaves) {
    GuiSession session;
    ASSERT_TRUE(session.start(film));
    AppState& state = session.state();
    for (const std::uint8_t item : {item_open, item_help, item_seek, item_volume}) {
        send_mouse(session.main(), WM_MOUSEMOVE, item_centre(state, item));
        EXPECT_EQ(state.hovered_item, item);
    }
    EXPECT_TRUE(state.mouse_leave_armed);
    EXPECT_EQ(state.last_mouse_x, item_centre(state, item_volume).x);
    send_mouse(session.main(), WM_MOUSEMOVE, POINT{200, 100}); // the video
    EXPECT_EQ(state.hovered_item, no_hovered_item);
    send_mouse(session.main(), WM_MOUSEMOVE, item_centre(state, item_back));
    SendMessageW(session.main(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(state.hovered_item, no_hovered_item);
    EXPECT_FALSE(state.mouse_leave_armed);
}

TEST(GuiBarMouse, ButtonsActOnPressAndTheVideoTogglesPause) {
    GuiSession session;
    ASSERT_TRUE(session.start(film));
    ASSERT_TRUE(wait_for_file(session));
    AppState& state = session.state();
    const HWND main = session.main();

    click(main, item_centre(state, item_play_pause));
    EXPECT_TRUE(state.session.playback.paused);
    click(main, POINT{300, 120}); // the video
    EXPECT_FALSE(state.session.playback.paused);
    click(main, POINT{bar_geometry(state).layout.time.left + 2, item_centre(state, item_open).y});
    EXPECT_FALSE(state.session.playback.paused); // the bar's empty parts do nothing

    clear_double_record();
    click(main, item_centre(state, item_back));
    // A double click on "Forward 10 s" seeks twice in all.
    send_mouse(main, WM_LBUTTONDOWN, item_centre(state, item_forward));
    send_mouse(main, WM_LBUTTONUP, item_centre(state, item_forward));
    send_mouse(main, WM_LBUTTONDBLCLK, item_centre(state, item_forward));
    send_mouse(main, WM_LBUTTONUP, item_centre(state, item_forward));
    EXPECT_EQ(relative_seeks(), (std::vector<std::string>{"osd-msg-bar seek -10 relative+exact",
                                                          "osd-msg-bar seek 10 relative+exact",
                                                          "osd-msg-bar seek 10 relative+exact"}));

    click(main, item_centre(state, item_always_on_top));
    EXPECT_TRUE(state.settings.always_on_top);
}

TEST(GuiBarMouse, TrackButtonsWaitForTheReleaseOverTheSameButton) {
    GuiSession session;
    ASSERT_TRUE(session.start(film));
    AppState& state = session.state();
    const HWND main = session.main();
    send_mouse(main, WM_LBUTTONDOWN, item_centre(state, item_subtitles));
    EXPECT_EQ(state.pressed_item, item_subtitles);
    send_mouse(main, WM_LBUTTONUP, item_centre(state, item_audio));
    EXPECT_EQ(state.pressed_item, no_pressed_item);
    // A double click on them is no second press.
    send_mouse(main, WM_LBUTTONDBLCLK, item_centre(state, item_audio));
    EXPECT_EQ(state.pressed_item, no_pressed_item);
}

TEST(GuiBarMouse, SeekDragPreviewsThenSeeksExactlyAtTheRelease) {
    GuiSession session;
    session.write_scenario({{"default", {{"duration", 200}}}});
    ASSERT_TRUE(session.start(film));
    ASSERT_TRUE(wait_for_file(session));
    AppState& state = session.state();
    const HWND main = session.main();
    clear_double_record();

    send_mouse(main, WM_LBUTTONDOWN, slider_point(state, item_seek, 0.5));
    EXPECT_EQ(state.drag, DragKind::SeekBar);
    EXPECT_EQ(GetCapture(), main);
    EXPECT_NEAR(state.seek_preview, 0.5, 0.01);
    // Beyond the right end the preview stops at the end; the time text follows it.
    POINT beyond = slider_point(state, item_seek, 1.0);
    beyond.x += 300;
    send_mouse(main, WM_MOUSEMOVE, beyond);
    EXPECT_DOUBLE_EQ(state.seek_preview, 1.0);
    EXPECT_EQ(bar_time_text(state.session.playback, state.seek_preview), "3:20 / 3:20");
    POINT before_start = slider_point(state, item_seek, 0);
    before_start.x -= 50;
    send_mouse(main, WM_MOUSEMOVE, before_start);
    EXPECT_DOUBLE_EQ(state.seek_preview, 0.0);
    const POINT quarter = slider_point(state, item_seek, 0.25);
    send_mouse(main, WM_MOUSEMOVE, quarter);
    send_mouse(main, WM_LBUTTONUP, quarter);
    EXPECT_EQ(state.drag, DragKind::None);
    EXPECT_EQ(GetCapture(), nullptr);

    const auto seeks = async_commands("seek");
    ASSERT_EQ(seeks.size(), 5u); // the press, three moves, the release
    for (std::size_t i = 0; i + 1 < seeks.size(); ++i) {
        EXPECT_EQ(seeks[i][2], "absolute+keyframes");
    }
    EXPECT_EQ(seeks[1][1], "200.000");
    EXPECT_EQ(seeks[2][1], "0.000");
    EXPECT_EQ(seeks.back()[2], "absolute+exact");
    EXPECT_EQ(seeks.back()[1], format_fixed(200 * state.seek_preview, 3));
}

TEST(GuiBarMouse, LosingTheMouseEndsASeekDragWithoutTheFinalSeek) {
    GuiSession session;
    ASSERT_TRUE(session.start(film));
    ASSERT_TRUE(wait_for_file(session));
    AppState& state = session.state();
    const HWND main = session.main();
    clear_double_record();
    send_mouse(main, WM_LBUTTONDOWN, slider_point(state, item_seek, 0.3));
    ReleaseCapture(); // what Alt+Tab does
    EXPECT_EQ(state.drag, DragKind::None);
    send_mouse(main, WM_LBUTTONUP, slider_point(state, item_seek, 0.6));
    const auto seeks = async_commands("seek");
    ASSERT_EQ(seeks.size(), 1u);
    EXPECT_EQ(seeks[0][2], "absolute+keyframes");
}

TEST(GuiBarMouse, VolumeDragSetsTheVolumeAndUnmutes) {
    GuiSession session;
    session.write_settings("language=en\nvolume=80\nmute=1\n");
    ASSERT_TRUE(session.start());
    AppState& state = session.state();
    const HWND main = session.main();
    clear_double_record();
    send_mouse(main, WM_LBUTTONDOWN, slider_point(state, item_volume, 0.25));
    EXPECT_EQ(state.drag, DragKind::VolumeSlider);
    EXPECT_NEAR(state.session.playback.volume, 25, 1);
    EXPECT_FALSE(state.session.playback.muted);
    POINT far_right = slider_point(state, item_volume, 1.0);
    far_right.x += 100;
    send_mouse(main, WM_MOUSEMOVE, far_right);
    send_mouse(main, WM_LBUTTONUP, far_right);
    EXPECT_EQ(state.session.playback.volume, 100);
    EXPECT_EQ(state.drag, DragKind::None);
    EXPECT_EQ(property_writes("volume").back(), 100.0);
    // No message: the slider shows the volume itself.
    for (const auto& args : async_commands("show-text")) {
        EXPECT_EQ(args[1].find("Volume"), std::string::npos);
    }
}

TEST(GuiBarMouse, DoubleClickOnTheVideoSwitchesFullScreenKeepingThePause) {
    GuiSession session;
    ASSERT_TRUE(session.start(film));
    ASSERT_TRUE(wait_for_file(session));
    AppState& state = session.state();
    const HWND main = session.main();
    const POINT video{300, 150};
    send_mouse(main, WM_LBUTTONDOWN, video);
    send_mouse(main, WM_LBUTTONUP, video);
    EXPECT_TRUE(state.session.playback.paused);
    send_mouse(main, WM_LBUTTONDBLCLK, video);
    send_mouse(main, WM_LBUTTONUP, video);
    EXPECT_FALSE(state.session.playback.paused);
    EXPECT_TRUE(state.full_screen);
}

TEST(GuiBarMouse, FullScreenPressOnTheHiddenBarShowsItAndActs) {
    GuiSession session;
    ASSERT_TRUE(session.start(film));
    AppState& state = session.state();
    const HWND main = session.main();
    set_full_screen(state, true);
    ASSERT_FALSE(state.bar_shown_in_full_screen);
    const POINT button = item_centre(state, item_full_screen);
    EXPECT_EQ(bar_hit_test(state, button.x, button.y), item_none);
    send_mouse(main, WM_LBUTTONDOWN, button);
    send_mouse(main, WM_LBUTTONUP, button);
    EXPECT_FALSE(state.full_screen);
    EXPECT_TRUE(IsWindowVisible(state.control_bar));
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

TEST(GuiBarMouse, FullScreenAutoHideAndItsExceptions) {
    GuiSession session;
    ASSERT_TRUE(session.start(film));
    AppState& state = session.state();
    const HWND main = session.main();
    SetForegroundWindow(main);
    set_full_screen(state, true);
    const auto reveal = [&] {
        send_mouse(main, WM_MOUSEMOVE, POINT{state.last_mouse_x + 1, 200});
        ASSERT_TRUE(state.bar_shown_in_full_screen);
        ASSERT_TRUE(IsWindowVisible(state.control_bar));
    };
    const auto tick = [&] { SendMessageW(main, WM_TIMER, TIMER_AUTOHIDE, 0); };

    reveal();
    RECT bar{};
    GetWindowRect(state.control_bar, &bar);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&bar), 2);
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(bar.bottom, client.bottom); // over the bottom of the video
    EXPECT_EQ(bar.right, client.right);
    pump_for(std::chrono::milliseconds(300)); // lets the screen catch up
    save_window_screenshot(main, screenshot_folder() / L"bar-full-screen.png");
    state.drag = DragKind::VolumeSlider; // a drag keeps the bar
    tick();
    EXPECT_TRUE(state.bar_shown_in_full_screen);
    state.drag = DragKind::None;
    state.help_overlay = main; // so does the help overlay
    tick();
    EXPECT_TRUE(state.bar_shown_in_full_screen);
    state.help_overlay = nullptr;

    // The pointer resting on a button keeps the bar.
    POINT on_button = item_centre(state, item_play_pause);
    send_mouse(main, WM_MOUSEMOVE, on_button);
    ClientToScreen(main, &on_button);
    ASSERT_TRUE(move_cursor(on_button));
    tick();
    EXPECT_TRUE(state.bar_shown_in_full_screen);

    ASSERT_TRUE(move_cursor(POINT{200, 200}));
    send_mouse(main, WM_MOUSEMOVE, POINT{200, 200});
    tick();
    EXPECT_FALSE(state.bar_shown_in_full_screen);
    EXPECT_FALSE(IsWindowVisible(state.control_bar));
    EXPECT_EQ(state.hovered_item, no_hovered_item);
    if (GetForegroundWindow() == main) {
        EXPECT_TRUE(state.cursor_hidden);
        SendMessageW(main, WM_SETCURSOR, reinterpret_cast<WPARAM>(main), MAKELPARAM(HTCLIENT, 0));
        EXPECT_EQ(GetCursor(), nullptr);
    }
    // The wheel brings both back.
    SendMessageW(main, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_TRUE(state.bar_shown_in_full_screen);
    EXPECT_FALSE(state.cursor_hidden);
    set_full_screen(state, false);
    tick(); // outside full screen the timer does nothing
    EXPECT_TRUE(IsWindowVisible(state.control_bar));
}

} // namespace
} // namespace ondrel::testing
