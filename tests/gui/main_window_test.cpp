// The main window's own behaviour: layout, DPI, full screen, always on top, drops, closing, and
// what a second Ondrel.exe hands over to it.
#include "gui/support/player_test.hpp"
#include "main/handoff_payload.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <vector>

namespace ondrel::testing {
namespace {

using GuiMainWindow = PlayerTest;
using GuiHandoff = PlayerTest;

// The menu requests (SC_KEYMENU) the main window got, by character, kept from the menu loop.
WNDPROC main_procedure = nullptr;
std::vector<LPARAM> key_menus;
LRESULT CALLBACK record_key_menu(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_SYSCOMMAND && (w & 0xFFF0) == SC_KEYMENU) {
        key_menus.push_back(l);
        return 0;
    }
    return CallWindowProcW(main_procedure, window, message, w, l);
}

RECT client_rect_in_parent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::pair<LONG, LONG> minimum_size(HWND window) {
    MINMAXINFO info{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return {info.ptMinTrackSize.x, info.ptMinTrackSize.y};
}

void expect_children_fill_client(const GuiSession& session, int bar_height) {
    RECT client{};
    GetClientRect(session.main(), &client);
    const RECT video = client_rect_in_parent(session.state().video_window);
    const RECT bar = client_rect_in_parent(session.state().control_bar);
    EXPECT_EQ(bar.bottom - bar.top, bar_height);
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(bar.right - bar.left, client.right);
    EXPECT_EQ(video.top, 0);
    EXPECT_EQ(video.bottom, client.bottom - bar_height);
}

TEST_F(GuiMainWindow, LayoutAt96DpiAndAfterADpiChange) {
    ASSERT_TRUE(session.start());
    ASSERT_EQ(state().dpi, 96u);
    expect_children_fill_client(session, 44);
    EXPECT_EQ(minimum_size(main()), std::pair(580L, 300L));
    save_window_screenshot(main(), screenshot_folder() / L"main-window-96dpi.png");

    RECT suggested{50, 40, 50 + 1440, 40 + 885};
    SendMessageW(main(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(state().dpi, 144u);
    EXPECT_EQ(window_rect(main()).left, 50);
    EXPECT_EQ(extent(window_rect(main())), std::pair(1440L, 885L));
    expect_children_fill_client(session, 66);
    EXPECT_EQ(minimum_size(main()), std::pair(870L, 450L));
}

// Whether `upper` comes before `lower` among its siblings (nearer the top).
bool is_above(HWND upper, HWND lower) {
    for (HWND window = GetWindow(lower, GW_HWNDPREV); window != nullptr;
         window = GetWindow(window, GW_HWNDPREV)) {
        if (window == upper) {
            return true;
        }
    }
    return false;
}

TEST_F(GuiMainWindow, FullScreenAndBackRestoresTheWindow) {
    ASSERT_TRUE(session.start());
    SetWindowPos(main(), nullptr, 120, 90, 800, 500, SWP_NOZORDER);
    const RECT before = window_rect(main());
    // Another program's window over part of ours.
    const HWND other = CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", L"other", WS_POPUP, 300, 200,
                                       200, 150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ASSERT_TRUE(is_above(other, main()));

    SendMessageW(main(), WM_SYSKEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(is_above(main(), other));
    DestroyWindow(other);
    EXPECT_TRUE(state().full_screen);
    EXPECT_EQ(GetWindowLongPtrW(main(), GWL_STYLE) & WS_CAPTION, 0);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(main(), MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(sides(window_rect(main())), sides(monitor.rcMonitor));
    // The bar starts hidden over the video, which covers the whole screen.
    EXPECT_FALSE(IsWindowVisible(state().control_bar));
    const RECT video = client_rect_in_parent(state().video_window);
    EXPECT_EQ(video.bottom - video.top, monitor.rcMonitor.bottom - monitor.rcMonitor.top);
    save_window_screenshot(main(), screenshot_folder() / L"main-window-full-screen.png");
    // Once shown, the bar lies over the video, not hidden behind it.
    state().bar_shown_in_full_screen = true;
    layout_children(state());
    EXPECT_TRUE(IsWindowVisible(state().control_bar));
    EXPECT_TRUE(is_above(state().control_bar, state().video_window));
    state().bar_shown_in_full_screen = false;
    layout_children(state());

    SendMessageW(main(), WM_SYSKEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(state().full_screen);
    EXPECT_EQ(sides(window_rect(main())), sides(before));
    EXPECT_NE(GetWindowLongPtrW(main(), GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_TRUE(IsWindowVisible(state().control_bar));
    // Alt+Enter's character is swallowed; others go on to the default handling, which asks
    // for the menu (and, finding no mnemonic, beeps).
    main_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(main(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record_key_menu)));
    constexpr LPARAM alt_down = LPARAM{1} << 29;
    SendMessageW(main(), WM_SYSCHAR, 13, alt_down);
    SendMessageW(main(), WM_SYSCHAR, 'x', alt_down);
    SetWindowLongPtrW(main(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(main_procedure));
    EXPECT_EQ(key_menus, std::vector<LPARAM>{'x'});
}

TEST_F(GuiMainWindow, MaximizedWindowReturnsMaximizedAndClosingInFullScreenSavesTheOldRectangle) {
    ASSERT_TRUE(session.start());
    SetWindowPos(main(), nullptr, 100, 80, 960, 590, SWP_NOZORDER);
    ShowWindow(main(), SW_MAXIMIZE);
    SendMessageW(main(), WM_SYSKEYDOWN, VK_RETURN, 0);
    SendMessageW(main(), WM_SYSKEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(IsZoomed(main()));
    SendMessageW(main(), WM_SYSKEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(state().full_screen);
    session.close();
    const Settings saved = session.saved_settings();
    ASSERT_TRUE(saved.window.has_value());
    EXPECT_EQ(*saved.window, (WindowRect{100, 80, 1060, 670}));
    EXPECT_TRUE(saved.maximized);
}

TEST_F(GuiMainWindow, AlwaysOnTopIsAppliedAndSaved) {
    session.write_settings("language=en\nalways_on_top=1\n");
    ASSERT_TRUE(session.start());
    EXPECT_NE(GetWindowLongPtrW(main(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    set_always_on_top(state(), false);
    EXPECT_EQ(GetWindowLongPtrW(main(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(session.saved_settings().always_on_top);
    set_always_on_top(state(), true);
    EXPECT_TRUE(session.saved_settings().always_on_top);
    const std::vector<std::string> confirmations = shown_texts("1500");
    EXPECT_NE(std::ranges::find(confirmations, "Always on top: on"), confirmations.end());
}

// An HDROP as Explorer would send it, with one or more files.
HGLOBAL make_drop(const std::vector<std::wstring>& files) {
    std::wstring list;
    for (const auto& f : files) {
        list += f;
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    const SIZE_T bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(),
                list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

std::vector<std::vector<std::string>> sync_commands(const char* name) {
    return recorded_commands("mpv_command", name);
}

TEST_F(GuiMainWindow, DroppedSubtitlesAreAddedAndOtherFilesOpened) {
    ASSERT_TRUE(play());

    SendMessageW(main(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(make_drop({L"C:\\videos\\MOVIE.SRT", L"C:\\other.mp4"})),
                 0);
    SendMessageW(main(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(make_drop({L"C:\\videos\\notes.txt"})), 0);
    const auto subtitles = sync_commands("sub-add");
    ASSERT_EQ(subtitles.size(), 2u);
    EXPECT_EQ(subtitles[0][1], "C:\\videos\\MOVIE.SRT");
    EXPECT_EQ(subtitles[1][1], "C:\\videos\\notes.txt");

    SendMessageW(main(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(make_drop({L"C:\\videos\\next.mp4"})), 0);
    const auto loads = sync_commands("loadfile");
    ASSERT_EQ(loads.size(), 2u); // the command-line file, then the dropped video
    EXPECT_EQ(loads[1][1], "C:\\videos\\next.mp4");
}

// KillTimer says whether the timer was set; it is set again as it was.
bool resume_timer_set(HWND main) {
    const bool set = KillTimer(main, TIMER_RESUME_SAVE) != FALSE;
    if (set) {
        SetTimer(main, TIMER_RESUME_SAVE, TIMER_RESUME_SAVE_MS, nullptr);
    }
    return set;
}

// Nothing wakes an idle player: the resume timer runs while a file plays, and only then.
TEST_F(GuiMainWindow, ResumeTimerRunsOnlyWhileAFilePlays) {
    ASSERT_TRUE(play());
    EXPECT_TRUE(pump_until([&] { return resume_timer_set(main()); }));
    toggle_pause(state().session);
    EXPECT_TRUE(pump_until([&] { return !resume_timer_set(main()); }));
    toggle_pause(state().session);
    EXPECT_TRUE(pump_until([&] { return resume_timer_set(main()); }));
}

TEST_F(GuiMainWindow, CloseWritesPositionPlacementVolumeAndMute) {
    session.write_settings("volume=40\nlanguage=fr\n");
    ASSERT_TRUE(play());
    SetWindowPos(main(), nullptr, 30, 40, 900, 600, SWP_NOZORDER);
    SendMessageW(main(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    toggle_mute(state().session);
    pump_for(std::chrono::milliseconds(200));
    session.close();

    EXPECT_FALSE(sync_commands("write-watch-later-config").empty());
    EXPECT_EQ(recorded("mpv_terminate_destroy").size(), 1u);
    const Settings saved = session.saved_settings();
    ASSERT_TRUE(saved.window.has_value());
    EXPECT_EQ(*saved.window, (WindowRect{30, 40, 930, 640}));
    EXPECT_FALSE(saved.maximized);
    EXPECT_EQ(saved.volume, 45);
    EXPECT_TRUE(saved.mute);
    EXPECT_EQ(saved.language, "fr");
}

TEST_F(GuiMainWindow, EndOfSessionSavesWithoutClosing) {
    ASSERT_TRUE(play());
    SetWindowPos(main(), nullptr, 10, 20, 700, 400, SWP_NOZORDER);
    set_volume(state().session, 33, false);
    pump_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(session.saved_settings().window.has_value());
    SendMessageW(main(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(IsWindow(main()));
    EXPECT_FALSE(sync_commands("write-watch-later-config").empty());
    const Settings saved = session.saved_settings();
    ASSERT_TRUE(saved.window.has_value());
    EXPECT_EQ(*saved.window, (WindowRect{10, 20, 710, 420}));
    EXPECT_EQ(saved.volume, 33);
}

TEST_F(GuiHandoff, SecondLaunchShowsNoWindowAndTheFirstOpensTheFile) {
    ASSERT_TRUE(play(nullptr, L"C:\\videos\\first.mkv"));
    ShowWindow(main(), SW_MINIMIZE);

    const std::filesystem::path file = session.app_data.path / L"Ἀθῆναι 映画 é.mp4";
    StartedProgram second = start_program(build_folder() / L"Ondrel.exe", {file.wstring()},
                                          {{L"APPDATA", session.app_data.path.wstring()}});
    ASSERT_TRUE(second.process);
    bool second_showed_a_window = false;
    // The hand-off is a synchronous message: this thread must keep handling messages.
    ASSERT_TRUE(pump_until(
        [&] {
            second_showed_a_window |= !windows_of_process(second.id).empty();
            return WaitForSingleObject(second.process.get(), 0) == WAIT_OBJECT_0;
        },
        std::chrono::milliseconds(30000)));
    EXPECT_EQ(wait_for_exit(second), 0u);
    EXPECT_FALSE(second_showed_a_window);

    EXPECT_FALSE(IsIconic(main())); // restored before the file is opened
    const auto loads = sync_commands("loadfile");
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[1].at(1), path_to_utf8(file));
    // The first video's position was saved before the second was opened.
    EXPECT_FALSE(sync_commands("write-watch-later-config").empty());
}

TEST_F(GuiHandoff, LaunchWithoutAFileOnlyBringsTheWindowBack) {
    ASSERT_TRUE(session.start());
    ShowWindow(main(), SW_MINIMIZE);
    StartedProgram second = start_program(build_folder() / L"Ondrel.exe", {},
                                          {{L"APPDATA", session.app_data.path.wstring()}});
    ASSERT_TRUE(
        pump_until([&] { return WaitForSingleObject(second.process.get(), 0) == WAIT_OBJECT_0; },
                   std::chrono::milliseconds(30000)));
    EXPECT_EQ(wait_for_exit(second), 0u);
    EXPECT_FALSE(IsIconic(main()));
    EXPECT_TRUE(sync_commands("loadfile").empty());
}

LRESULT send_copy_data(HWND window, ULONG_PTR tag, const void* data, DWORD bytes) {
    COPYDATASTRUCT copy{tag, bytes, const_cast<void*>(data)};
    return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

TEST_F(GuiHandoff, HostilePayloadsAreReadSafely) {
    ASSERT_TRUE(session.start());
    const std::u16string path = build_handoff_payload("C:\\Vidéos\\映画.mkv");
    const std::u16string no_nul = u"C:\\a.mp4";
    struct Case {
        const char* name;
        ULONG_PTR tag;
        const void* data;
        DWORD bytes;
        LRESULT answer;
    };
    const Case cases[] = {
        {"wrong tag", 0x12345678, path.data(), static_cast<DWORD>(path.size() * 2), 0},
        {"no data", handoff_tag, nullptr, 0, 1},
        {"null pointer with a size", handoff_tag, nullptr, 64, 1},
        {"one byte", handoff_tag, path.data(), 1, 1},
        {"odd size", handoff_tag, no_nul.data(), 7, 1},
        {"no NUL", handoff_tag, no_nul.data(), static_cast<DWORD>(no_nul.size() * 2), 1},
        {"huge size stops at the NUL", handoff_tag, path.data(), 0x7FFFFFFF, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(send_copy_data(main(), c.tag, c.data, c.bytes), c.answer) << c.name;
    }
    const auto loads = sync_commands("loadfile");
    ASSERT_EQ(loads.size(), 3u);    // the empty texts open nothing
    EXPECT_EQ(loads[0][1], "C:\\"); // three whole units of the seven bytes
    EXPECT_EQ(loads[1][1], "C:\\a.mp4");
    EXPECT_EQ(loads[2][1], "C:\\Vidéos\\映画.mkv");
}

TEST_F(GuiHandoff, ClosingWindowRefuses) {
    ASSERT_TRUE(session.start());
    const std::u16string path = build_handoff_payload("C:\\a.mp4");
    state().closing = true;
    EXPECT_EQ(send_copy_data(main(), handoff_tag, path.data(), static_cast<DWORD>(path.size() * 2)),
              0);
    EXPECT_TRUE(sync_commands("loadfile").empty());
    state().closing = false;
}

} // namespace
} // namespace ondrel::testing
