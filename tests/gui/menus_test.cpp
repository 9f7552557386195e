// The right-click menu and the track menus as Windows holds them, every command they send,
// the open dialog's request, and the way into the compression tool.
#include "gui/support/menu_driving.hpp"
#include "gui/support/player_test.hpp"
#include "platform/win32/wide.hpp"
#include "ui/menu_win32.hpp"
#include "ui/open_dialog_win32.hpp"
#include "ui/track_menu_win32.hpp"

#include <fstream>

namespace ondrel::testing {
namespace {

using GuiMenus = PlayerTest;
using Calls = std::vector<std::string>;

std::vector<std::wstring> texts_of(const std::vector<MenuLine>& lines) {
    std::vector<std::wstring> texts;
    for (const MenuLine& line : lines) {
        texts.push_back(line.separator ? L"-" : line.text);
    }
    return texts;
}

// The texts and states of each line are the menu builder's own tests; here, that Windows
// holds them as built: ids, checked states, separators, submenus, literal "&".
TEST_F(GuiMenus, MainMenuWithAFileAndTracksTitledQAndA) {
    session.write_settings("language=en\nwheel_invert=1\n");
    ASSERT_TRUE(play(tracks_scenario()));
    const UniqueMenu menu = build_main_menu(state());
    const std::vector<MenuLine> lines = read_menu(menu.get());
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_TRUE(lines[9].checked); // the saved inverted wheel
    EXPECT_FALSE(lines[8].checked);
    EXPECT_NE(lines[13].submenu, nullptr);

    const std::vector<MenuLine> audio = read_menu(lines[4].submenu);
    EXPECT_EQ(texts_of(audio), (std::vector<std::wstring>{L"Q&&A (aac, stereo)",
                                                          L"French — Commentary (aac, stereo)"}));
    EXPECT_EQ(audio[1].id, 1002u);
    EXPECT_TRUE(audio[0].checked);
    EXPECT_FALSE(audio[1].checked);
    const std::vector<MenuLine> subtitles = read_menu(lines[5].submenu);
    EXPECT_EQ(texts_of(subtitles),
              (std::vector<std::wstring>{L"Off", L"Q&&A", L"-", L"Load a subtitle file…"}));
    EXPECT_EQ(subtitles[3].id, 2999u);
    // The same items on their own, as the subtitle button shows them.
    const UniqueMenu alone(CreatePopupMenu());
    build_track_menu(alone.get(), state(), "sub");
    EXPECT_EQ(texts_of(read_menu(alone.get())), texts_of(subtitles));
}

TEST_F(GuiMenus, AudioMenuOfAVideoWithoutSound) {
    ASSERT_TRUE(play({{"default", {{"duration", 60}, {"audio", nlohmann::json::array()}}}}));
    const UniqueMenu menu(CreatePopupMenu());
    build_track_menu(menu.get(), state(), "audio");
    const std::vector<MenuLine> lines = read_menu(menu.get());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, L"No audio track");
    EXPECT_EQ(lines[0].id, 0u);
    EXPECT_TRUE(lines[0].grayed);
}

// Each command of the menus, one after the other on one window, and what it did.
TEST_F(GuiMenus, EveryCommandDoesItsJob) {
    session.write_settings("language=en\nhide_about=1\n");
    ASSERT_TRUE(play(tracks_scenario()));
    ScopedDialogRecorder dialog;
    const std::pair<std::uint32_t, Calls> cases[] = {
        {0, {}},
        {2, {"pause=1", "write-watch-later-config"}},
        {1002, {"set aid 2", "show-text Audio: French — Commentary (aac, stereo) 2000"}},
        {2001, {"set sid 1", "show-text Subtitles: Q&A 2000"}},
        {2000, {"set sid no", "show-text Subtitles: off 2000"}},
        {2999, {}},                                                  // the dialog is cancelled
        {8, {"show-text Open a video file to compress first 2500"}}, // film.mkv is not on disk
        {7, {}},                                                     // no message
        {9, {}},
        {3001, {"show-text Langue : français 1500"}},
        {3002, {"show-text Language: English 1500"}},
    };
    for (const auto& [id, calls] : cases) {
        clear_double_record();
        dispatch_menu_command(state(), id);
        EXPECT_EQ(player_calls(), calls) << id;
    }
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests[0].filter.substr(0, 10), std::wstring(L"Subtitles\0", 10));
    EXPECT_TRUE(session.saved_settings().wheel_invert);
    EXPECT_TRUE(state().about);
    dispatch_menu_command(state(), 3001);
    EXPECT_EQ(current_language(), Language::French);
    EXPECT_EQ(session.saved_settings().language, "fr");
    dispatch_menu_command(state(), 3002);
    EXPECT_EQ(session.saved_settings().language, "en");

    // Switches: on, then off again.
    const std::pair<std::uint32_t, std::function<bool()>> switches[] = {
        {3, [&] { return state().full_screen; }},
        {10, [&] { return session.saved_settings().always_on_top; }},
        {4, [&] { return session.saved_settings().multi_instance; }},
        {7, [&] { return session.saved_settings().wheel_invert; }},
        {5, [&] { return state().help_overlay != nullptr; }},
    };
    for (const auto& [id, on] : switches) {
        const bool before = on();
        dispatch_menu_command(state(), id);
        EXPECT_NE(on(), before) << id;
        dispatch_menu_command(state(), id);
        EXPECT_EQ(on(), before) << id;
    }

    dialog.answer = L"C:\\videos\\next.mp4";
    dispatch_menu_command(state(), 1);
    EXPECT_EQ(state().session.playback.current_file, "C:\\videos\\next.mp4");
    const std::filesystem::path subtitles = session.app_data.path / L"next.srt";
    std::ofstream(subtitles) << "1\n00:00:01,000 --> 00:00:02,000\nHello\n";
    dialog.answer = subtitles.wstring();
    ASSERT_TRUE(pump_until([&] { return state().session.playback.file_loaded; }));
    clear_double_record();
    dispatch_menu_command(state(), 2999);
    EXPECT_EQ(player_calls(), (Calls{"sub-add " + path_to_utf8(subtitles) + " select",
                                     "show-text Subtitles: next.srt 2000"}));

    const HWND window = main();
    dispatch_menu_command(state(), 6);
    EXPECT_TRUE(IsWindow(window)); // posted, not sent
    EXPECT_TRUE(pump_until([&] { return !IsWindow(window); }));
}

TEST_F(GuiMenus, OpenDialogRequestAndPathConversion) {
    ASSERT_TRUE(session.start());
    ScopedDialogRecorder dialog;
    dialog.answer = std::wstring(L"C:\\v\\a") + wchar_t(0xD800) + L"b.mkv";
    store_language(Language::French);
    open_video_dialog(state());
    store_language(Language::English);
    ASSERT_EQ(dialog.requests.size(), 1u);
    const OPENFILENAMEW& asked = dialog.requests[0].dialog;
    EXPECT_EQ(asked.lStructSize, 152u);
    EXPECT_EQ(asked.hwndOwner, main());
    const std::wstring nul(1, L'\0');
    EXPECT_EQ(dialog.requests[0].filter,
              L"Vidéos" + nul +
                  L"*.mp4;*.m4v;*.mkv;*.webm;*.avi;*.mov;*.wmv;*.flv;*.mpg;*.mpeg;*.ts;*.m2ts;"
                  L"*.mts;*.3gp;*.ogv;*.vob;*.divx;*.f4v;*.asf;*.rm;*.rmvb" +
                  nul + L"Tous les fichiers" + nul + L"*.*" + nul + nul);
    EXPECT_EQ(asked.nFilterIndex, 1u);
    EXPECT_EQ(asked.nMaxFile, 32768u);
    EXPECT_TRUE(dialog.requests[0].buffer_zeroed);
    EXPECT_EQ(asked.Flags, static_cast<DWORD>(OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR));
    EXPECT_EQ(asked.lpstrTitle, nullptr);
    EXPECT_EQ(asked.lpstrInitialDir, nullptr);
    EXPECT_EQ(state().session.playback.current_file, "C:\\v\\a\xEF\xBF\xBD"
                                                     "b.mkv");
}

TEST_F(GuiMenus, CompressionNeedsALoadedRegularFile) {
    ASSERT_TRUE(play());
    std::optional<std::string>& file = state().session.playback.current_file;
    for (const std::string& not_a_file :
         {std::string("https://example.com/film.mp4"), path_to_utf8(session.app_data.path)}) {
        file = not_a_file;
        clear_double_record();
        open_compression(state());
        EXPECT_EQ(player_calls(), Calls{"show-text Open a video file to compress first 2500"})
            << not_a_file;
    }
    const std::filesystem::path clip = session.app_data.path / L"clip.mp4";
    std::ofstream(clip, std::ios::binary) << "not really a video";
    file = path_to_utf8(clip);
    // The compression window cannot be made here: its error comes in a box over the player.
    std::wstring box_text;
    std::wstring box_caption;
    EXPECT_TRUE(act_on_modal_window(
        L"#32770",
        [&](HWND box) {
            box_text = message_box_text(box);
            box_caption = window_text(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        },
        [&] { open_compression(state()); }));
    EXPECT_FALSE(box_text.empty());
    EXPECT_EQ(box_caption, L"Video compression");
    EXPECT_EQ(state().compression, nullptr);
}

// The menus on screen, for a person to look at, in both languages.
TEST_F(GuiMenus, ScreenshotsAndTheTrackMenuAboveItsButton) {
    ASSERT_TRUE(play(tracks_scenario()));
    SetWindowPos(main(), nullptr, 60, 40, 900, 560, SWP_NOZORDER);
    const RECT bar = window_rect(state().control_bar);
    for (const Language language : {Language::English, Language::French}) {
        store_language(language);
        const std::wstring suffix = language == Language::English ? L"-en.png" : L"-fr.png";
        SetCursorPos(200, 150);
        pump_for(std::chrono::milliseconds(100));
        const auto screenshot = [&](const wchar_t* name) {
            save_window_screenshot(GetDesktopWindow(), screenshot_folder() / (name + suffix));
            EndMenu();
        };
        EXPECT_TRUE(act_on_modal_window(
            L"#32768", [&](HWND) { screenshot(L"context-menu"); },
            [&] { SendMessageW(main(), WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1)); }));
        RECT placed{};
        EXPECT_TRUE(act_on_modal_window(
            L"#32768",
            [&](HWND menu) {
                placed = window_rect(menu);
                screenshot(L"subtitle-menu");
            },
            [&] { show_track_menu(state(), "sub", 6); }));
        // The menu rises from the bar's top edge at the subtitle button's left edge.
        EXPECT_EQ(placed.bottom, bar.top);
        EXPECT_EQ(placed.left, bar.right - 6 - 4 * 40);
    }
    store_language(Language::English);
}

} // namespace
} // namespace ondrel::testing
