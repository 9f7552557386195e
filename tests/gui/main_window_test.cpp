// The main window's own behaviour: layout, DPI, full screen, always on top, drops, closing.
#include "gui/support/desktop.hpp"
#include "gui/support/gui_session.hpp"
#include "main/handoff_payload.hpp"

#include <gtest/gtest.h>
#include <shlobj.h>

namespace ondrel::testing {
namespace {

RECT client_rect_in_parent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

MINMAXINFO min_max_info(HWND window) {
    MINMAXINFO info{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
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

TEST(GuiMainWindow, LayoutAt96DpiAndAfterADpiChange) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    ASSERT_EQ(session.state().dpi, 96u);
    expect_children_fill_client(session, 44);
    EXPECT_EQ(min_max_info(session.main()).ptMinTrackSize.x, 580);
    EXPECT_EQ(min_max_info(session.main()).ptMinTrackSize.y, 300);
    save_window_screenshot(session.main(), screenshot_folder() / L"main-window-96dpi.png");

    RECT suggested{50, 40, 50 + 1440, 40 + 885};
    SendMessageW(session.main(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(session.state().dpi, 144u);
    RECT window{};
    GetWindowRect(session.main(), &window);
    EXPECT_EQ(window.left, 50);
    EXPECT_EQ(window.right - window.left, 1440);
    EXPECT_EQ(window.bottom - window.top, 885);
    expect_children_fill_client(session, 66);
    EXPECT_EQ(min_max_info(session.main()).ptMinTrackSize.x, 870);
    EXPECT_EQ(min_max_info(session.main()).ptMinTrackSize.y, 450);
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

TEST(GuiMainWindow, FullScreenAndBackRestoresTheWindow) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    SetWindowPos(session.main(), nullptr, 120, 90, 800, 500, SWP_NOZORDER);
    RECT before{};
    GetWindowRect(session.main(), &before);
    // Another program's window over part of ours.
    const HWND other = CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", L"other", WS_POPUP, 300, 200,
                                       200, 150, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ASSERT_TRUE(is_above(other, session.main()));

    SendMessageW(session.main(), WM_SYSKEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(is_above(session.main(), other));
    DestroyWindow(other);
    EXPECT_TRUE(session.state().full_screen);
    EXPECT_EQ(GetWindowLongPtrW(session.main(), GWL_STYLE) & WS_CAPTION, 0);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(session.main(), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT full{};
    GetWindowRect(session.main(), &full);
    EXPECT_TRUE(EqualRect(&full, &monitor.rcMonitor));
    // The bar starts hidden over the video, which covers the whole screen.
    EXPECT_FALSE(IsWindowVisible(session.state().control_bar));
    const RECT video = client_rect_in_parent(session.state().video_window);
    EXPECT_EQ(video.bottom - video.top, monitor.rcMonitor.bottom - monitor.rcMonitor.top);
    save_window_screenshot(session.main(), screenshot_folder() / L"main-window-full-screen.png");
    // Once shown, the bar lies over the video, not hidden behind it.
    session.state().bar_shown_in_full_screen = true;
    layout_children(session.state());
    EXPECT_TRUE(IsWindowVisible(session.state().control_bar));
    EXPECT_TRUE(is_above(session.state().control_bar, session.state().video_window));
    session.state().bar_shown_in_full_screen = false;
    layout_children(session.state());

    SendMessageW(session.main(), WM_SYSKEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(session.state().full_screen);
    RECT after{};
    GetWindowRect(session.main(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_NE(GetWindowLongPtrW(session.main(), GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_TRUE(IsWindowVisible(session.state().control_bar));
    // Alt+Enter's character is swallowed; others go on.
    EXPECT_EQ(SendMessageW(session.main(), WM_SYSCHAR, 13, 0), 0);
}

TEST(GuiMainWindow, MaximizedWindowReturnsMaximizedAndClosingInFullScreenSavesTheOldRectangle) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    SetWindowPos(session.main(), nullptr, 100, 80, 960, 590, SWP_NOZORDER);
    ShowWindow(session.main(), SW_MAXIMIZE);
    SendMessageW(session.main(), WM_SYSKEYDOWN, VK_RETURN, 0);
    SendMessageW(session.main(), WM_SYSKEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(IsZoomed(session.main()));
    SendMessageW(session.main(), WM_SYSKEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(session.state().full_screen);
    session.close();
    const Settings saved = session.saved_settings();
    ASSERT_TRUE(saved.window.has_value());
    EXPECT_EQ(*saved.window, (WindowRect{100, 80, 1060, 670}));
    EXPECT_TRUE(saved.maximized);
}

TEST(GuiMainWindow, AlwaysOnTopIsAppliedAndSaved) {
    GuiSession session;
    session.write_settings("language=en\nalways_on_top=1\n");
    ASSERT_TRUE(session.start());
    EXPECT_NE(GetWindowLongPtrW(session.main(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    set_always_on_top(session.state(), false);
    EXPECT_EQ(GetWindowLongPtrW(session.main(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(session.saved_settings().always_on_top);
    set_always_on_top(session.state(), true);
    EXPECT_TRUE(session.saved_settings().always_on_top);
    bool confirmed = false;
    for (const auto& line : recorded("mpv_command_async")) {
        const auto args = line.at("args").get<std::vector<std::string>>();
        confirmed |= args.size() == 3 && args[1] == "Always on top: on" && args[2] == "1500";
    }
    EXPECT_TRUE(confirmed);
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
    std::vector<std::vector<std::string>> found;
    for (const auto& line : recorded("mpv_command")) {
        auto args = line.at("args").get<std::vector<std::string>>();
        if (!args.empty() && args[0] == name) {
            found.push_back(std::move(args));
        }
    }
    return found;
}

TEST(GuiMainWindow, DroppedSubtitlesAreAddedAndOtherFilesOpened) {
    GuiSession session;
    ASSERT_TRUE(session.start(L"Ondrel.exe C:\\videos\\film.mkv"));
    ASSERT_TRUE(pump_until([&] { return session.state().session.playback.file_loaded; }));

    SendMessageW(session.main(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(make_drop({L"C:\\videos\\MOVIE.SRT", L"C:\\other.mp4"})),
                 0);
    SendMessageW(session.main(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(make_drop({L"C:\\videos\\notes.txt"})), 0);
    const auto subtitles = sync_commands("sub-add");
    ASSERT_EQ(subtitles.size(), 2u);
    EXPECT_EQ(subtitles[0][1], "C:\\videos\\MOVIE.SRT");
    EXPECT_EQ(subtitles[1][1], "C:\\videos\\notes.txt");

    SendMessageW(session.main(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(make_drop({L"C:\\videos\\next.mp4"})), 0);
    const auto loads = sync_commands("loadfile");
    ASSERT_EQ(loads.size(), 2u); // the command-line file, then the dropped video
    EXPECT_EQ(loads[1][1], "C:\\videos\\next.mp4");
}

TEST(GuiMainWindow, CloseWritesPositionPlacementVolumeAndMute) {
    GuiSession session;
    session.write_settings("volume=40\nlanguage=fr\n");
    ASSERT_TRUE(session.start(L"Ondrel.exe C:\\videos\\film.mkv"));
    ASSERT_TRUE(pump_until([&] { return session.state().session.playback.file_loaded; }));
    SetWindowPos(session.main(), nullptr, 30, 40, 900, 600, SWP_NOZORDER);
    SendMessageW(session.main(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    toggle_mute(session.state().session);
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

TEST(GuiMainWindow, EndOfSessionSavesWithoutClosing) {
    GuiSession session;
    ASSERT_TRUE(session.start(L"Ondrel.exe C:\\videos\\film.mkv"));
    ASSERT_TRUE(pump_until([&] { return session.state().session.playback.file_loaded; }));
    SetWindowPos(session.main(), nullptr, 10, 20, 700, 400, SWP_NOZORDER);
    set_volume(session.state().session, 33, false);
    pump_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(session.saved_settings().window.has_value());
    SendMessageW(session.main(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(IsWindow(session.main()));
    EXPECT_FALSE(sync_commands("write-watch-later-config").empty());
    const Settings saved = session.saved_settings();
    ASSERT_TRUE(saved.window.has_value());
    EXPECT_EQ(*saved.window, (WindowRect{10, 20, 710, 420}));
    EXPECT_EQ(saved.volume, 33);
}

LRESULT send_copy_data(HWND window, ULONG_PTR tag, const void* data, DWORD bytes) {
    COPYDATASTRUCT copy{tag, bytes, const_cast<void*>(data)};
    return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

TEST(GuiHandoff, HostilePayloadsAreReadSafely) {
    GuiSession session;
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
        EXPECT_EQ(send_copy_data(session.main(), c.tag, c.data, c.bytes), c.answer) << c.name;
    }
    const auto loads = sync_commands("loadfile");
    ASSERT_EQ(loads.size(), 3u);    // the empty texts open nothing
    EXPECT_EQ(loads[0][1], "C:\\"); // three whole units of the seven bytes
    EXPECT_EQ(loads[1][1], "C:\\a.mp4");
    EXPECT_EQ(loads[2][1], "C:\\Vidéos\\映画.mkv");
}

TEST(GuiHandoff, ClosingWindowRefuses) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    const std::u16string path = build_handoff_payload("C:\\a.mp4");
    session.state().closing = true;
    EXPECT_EQ(send_copy_data(session.main(), handoff_tag, path.data(),
                             static_cast<DWORD>(path.size() * 2)),
              0);
    EXPECT_TRUE(sync_commands("loadfile").empty());
    session.state().closing = false;
}

} // namespace
} // namespace ondrel::testing
