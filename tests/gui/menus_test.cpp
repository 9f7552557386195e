// The right-click menu and the track menus as Windows holds them, every command they send,
// the open dialog's request, and the way into the compression tool.
#include "gui/support/desktop.hpp"
#include "gui/support/gui_session.hpp"
#include "gui/support/menu_driving.hpp"
#include "platform/win32/wide.hpp"
#include "ui/menu_win32.hpp"
#include "ui/open_dialog_win32.hpp"
#include "ui/track_menu_win32.hpp"

#include <fstream>
#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

// Two audio tracks and one subtitle track, the first of each titled "Q&A".
const char* const tracks_scenario = R"({"default": {"duration": 120,
    "audio": [{"title": "Q&A"}, {"title": "Commentary", "lang": "fre"}],
    "sub": [{"title": "Q&A", "codec": ""}], "aid": 1}})";

void start_with_file(GuiSession& session, const char* scenario = tracks_scenario,
                     const std::wstring& file = L"C:\\videos\\film.mkv") {
    session.write_scenario(nlohmann::json::parse(scenario));
    ASSERT_TRUE(session.start(L"Ondrel.exe \"" + file + L"\""));
    ASSERT_TRUE(pump_until([&] { return session.state().session.playback.file_loaded; }));
}

std::vector<std::wstring> texts_of(const std::vector<MenuLine>& lines) {
    std::vector<std::wstring> texts;
    for (const MenuLine& line : lines) {
        texts.push_back(line.separator ? L"-" : line.text);
    }
    return texts;
}

// The texts and states of each line are the menu builder's own tests; here, that Windows
// holds them as built: ids, greyed and checked states, separators, submenus, literal "&".
TEST(GuiMenus, MainMenuWithAFileAndTracksTitledQAndA) {
    GuiSession session;
    session.write_settings("language=en\nwheel_invert=1\n");
    start_with_file(session);
    const UniqueMenu menu = build_main_menu(session.state());
    const std::vector<MenuLine> lines = read_menu(menu.get());
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[0].text, L"Open…\tCtrl+O");
    EXPECT_EQ(lines[0].id, 1u);
    EXPECT_TRUE(lines[3].separator);
    EXPECT_TRUE(lines[9].checked);
    EXPECT_FALSE(lines[9].grayed);
    EXPECT_FALSE(lines[8].checked);
    EXPECT_NE(lines[13].submenu, nullptr);
    EXPECT_TRUE(read_menu(lines[13].submenu)[1].checked); // English

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
    build_track_menu(alone.get(), session.state(), "sub");
    EXPECT_EQ(texts_of(read_menu(alone.get())), texts_of(subtitles));
}

TEST(GuiMenus, AudioMenuOfAVideoWithoutSound) {
    GuiSession session;
    start_with_file(session, R"({"default": {"duration": 60, "audio": []}})");
    const UniqueMenu menu(CreatePopupMenu());
    build_track_menu(menu.get(), session.state(), "audio");
    const std::vector<MenuLine> lines = read_menu(menu.get());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, L"No audio track");
    EXPECT_EQ(lines[0].id, 0u);
    EXPECT_TRUE(lines[0].grayed);
}

// Each command of the menus, one after the other on one window, and what it did.
TEST(GuiMenus, EveryCommandDoesItsJob) {
    GuiSession session;
    start_with_file(session);
    AppState& state = session.state();
    ScopedDialogRecorder dialog;
    struct Case {
        std::uint32_t id;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {0, {}},
        {2, {"pause=1", "write-watch-later-config"}},
        {1002, {"set aid 2", "show-text Audio: French — Commentary (aac, stereo) 2000"}},
        {2001, {"set sid 1", "show-text Subtitles: Q&A 2000"}},
        {2000, {"set sid no", "show-text Subtitles: off 2000"}},
        {1000, {}},                                                  // not a track
        {2999, {}},                                                  // the dialog is cancelled
        {8, {"show-text Open a video file to compress first 2500"}}, // film.mkv is not on disk
        {9, {}},
    };
    for (const Case& c : cases) {
        clear_double_record();
        dispatch_menu_command(state, c.id);
        EXPECT_EQ(player_calls(), c.calls) << c.id;
    }
    ASSERT_EQ(dialog.recorder.requests.size(), 1u);
    EXPECT_EQ(dialog.recorder.requests[0].filter.substr(0, 10), std::wstring(L"Subtitles\0", 10));

    dispatch_menu_command(state, 3);
    EXPECT_TRUE(state.full_screen);
    dispatch_menu_command(state, 3);
    EXPECT_FALSE(state.full_screen);
    dispatch_menu_command(state, 10);
    EXPECT_TRUE(session.saved_settings().always_on_top);
    dispatch_menu_command(state, 4);
    EXPECT_TRUE(session.saved_settings().multi_instance);

    clear_double_record();
    dispatch_menu_command(state, 7);
    EXPECT_TRUE(state.settings.wheel_invert);
    EXPECT_TRUE(session.saved_settings().wheel_invert);
    EXPECT_EQ(player_calls(), std::vector<std::string>{}); // no message
    dispatch_menu_command(state, 7);
    EXPECT_FALSE(session.saved_settings().wheel_invert);

    dispatch_menu_command(state, 5);
    EXPECT_NE(state.help_overlay, nullptr);
    dispatch_menu_command(state, 5);
    EXPECT_EQ(state.help_overlay, nullptr);

    clear_double_record();
    dispatch_menu_command(state, 3001);
    EXPECT_EQ(current_language(), Language::French);
    EXPECT_EQ(session.saved_settings().language, "fr");
    dispatch_menu_command(state, 3002);
    EXPECT_EQ(current_language(), Language::English);
    EXPECT_EQ(session.saved_settings().language, "en");
    EXPECT_EQ(player_calls(), (std::vector<std::string>{"show-text Langue : français 1500",
                                                        "show-text Language: English 1500"}));

    dialog.recorder.answer = L"C:\\videos\\next.mp4";
    clear_double_record();
    dispatch_menu_command(state, 1);
    EXPECT_EQ(state.session.playback.current_file, "C:\\videos\\next.mp4");
    const std::filesystem::path subtitles = session.app_data.path / L"next.srt";
    std::ofstream(subtitles) << "1\n00:00:01,000 --> 00:00:02,000\nHello\n";
    dialog.recorder.answer = subtitles.wstring();
    ASSERT_TRUE(pump_until([&] { return state.session.playback.file_loaded; }));
    clear_double_record();
    dispatch_menu_command(state, 2999);
    EXPECT_EQ(player_calls(),
              (std::vector<std::string>{"sub-add " + path_to_utf8(subtitles) + " select",
                                        "show-text Subtitles: next.srt 2000"}));

    const HWND main = session.main();
    dispatch_menu_command(state, 6);
    EXPECT_TRUE(IsWindow(main)); // posted, not sent
    EXPECT_TRUE(pump_until([&] { return !IsWindow(main); }));
}

TEST(GuiMenus, OpenDialogRequestAndPathConversion) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    ScopedDialogRecorder dialog;
    dialog.recorder.answer = std::wstring(L"C:\\v\\a") + wchar_t(0xD800) + L"b.mkv";
    store_language(Language::French);
    open_video_dialog(session.state());
    store_language(Language::English);
    ASSERT_EQ(dialog.recorder.requests.size(), 1u);
    const DialogRequest& request = dialog.recorder.requests[0];
    EXPECT_EQ(request.structure_size, 152u);
    EXPECT_EQ(request.owner, session.main());
    const std::wstring pattern =
        L"*.mp4;*.m4v;*.mkv;*.webm;*.avi;*.mov;*.wmv;*.flv;*.mpg;*.mpeg;*.ts;*.m2ts;*.mts;*.3gp;"
        L"*.ogv;*.vob;*.divx;*.f4v;*.asf;*.rm;*.rmvb";
    EXPECT_EQ(request.filter, L"Vidéos" + std::wstring(1, L'\0') + pattern +
                                  std::wstring(1, L'\0') + L"Tous les fichiers" +
                                  std::wstring(1, L'\0') + L"*.*" + std::wstring(2, L'\0'));
    EXPECT_EQ(request.filter_index, 1u);
    EXPECT_EQ(request.max_file, 32768u);
    EXPECT_TRUE(request.buffer_zeroed);
    EXPECT_EQ(request.flags, static_cast<DWORD>(OFN_EXPLORER | OFN_FILEMUSTEXIST));
    EXPECT_FALSE(request.has_title);
    EXPECT_FALSE(request.has_initial_folder);
    EXPECT_EQ(session.state().session.playback.current_file, "C:\\v\\a\xEF\xBF\xBD"
                                                             "b.mkv");
}

std::vector<std::string> compression_messages() {
    std::vector<std::string> found;
    for (const std::string& call : player_calls()) {
        if (call.find("compress") != std::string::npos) {
            found.push_back(call);
        }
    }
    return found;
}

TEST(GuiMenus, CompressionNeedsARealFile) {
    // A URL, a folder and a missing file cannot be compressed.
    for (const std::wstring name : {L"url", L"folder", L"missing"}) {
        GuiSession session;
        const std::wstring file = name == L"url" ? L"https://example.com/film.mp4"
                                  : name == L"folder"
                                      ? session.app_data.path.wstring()
                                      : (session.app_data.path / L"gone.mp4").wstring();
        start_with_file(session, R"({"default": {"duration": 60}})", file);
        clear_double_record();
        open_compression(session.state());
        EXPECT_EQ(compression_messages(),
                  std::vector<std::string>{"show-text Open a video file to compress first 2500"})
            << narrow(name);
    }
    GuiSession session;
    const std::filesystem::path clip = session.app_data.path / L"clip.mp4";
    std::ofstream(clip, std::ios::binary) << "not really a video";
    start_with_file(session, R"({"default": {"duration": 60}})", clip.wstring());
    // The compression window cannot be made here: its error comes in a box over the player.
    std::wstring box_text;
    std::wstring box_caption;
    const bool shown = act_on_modal_window(
        L"#32770",
        [&](HWND box) {
            box_text = message_box_text(box);
            box_caption = window_text(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        },
        [&] { open_compression(session.state()); });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(box_text.empty());
    EXPECT_EQ(box_caption, L"Video compression");
    EXPECT_EQ(session.state().compression, nullptr);
}

// The menus on screen, for a person to look at, in both languages.
TEST(GuiMenus, ScreenshotsAndTheTrackMenuAboveItsButton) {
    GuiSession session;
    start_with_file(session);
    SetWindowPos(session.main(), nullptr, 60, 40, 900, 560, SWP_NOZORDER);
    RECT bar{};
    GetWindowRect(session.state().control_bar, &bar);
    const LONG bar_width = bar.right - bar.left;
    for (const Language language : {Language::English, Language::French}) {
        store_language(language);
        const std::wstring suffix = language == Language::English ? L"-en.png" : L"-fr.png";
        SetCursorPos(200, 150);
        pump_for(std::chrono::milliseconds(100));
        EXPECT_TRUE(act_on_modal_window(
            L"#32768",
            [&](HWND) {
                save_window_screenshot(GetDesktopWindow(),
                                       screenshot_folder() / (L"context-menu" + suffix));
                EndMenu();
            },
            [&] { SendMessageW(session.main(), WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1)); }));
        RECT placed{};
        EXPECT_TRUE(act_on_modal_window(
            L"#32768",
            [&](HWND menu) {
                GetWindowRect(menu, &placed);
                save_window_screenshot(GetDesktopWindow(),
                                       screenshot_folder() / (L"subtitle-menu" + suffix));
                EndMenu();
            },
            [&] { show_track_menu(session.state(), "sub", 6); }));
        // The menu rises from the bar's top edge at the subtitle button's left edge.
        EXPECT_EQ(placed.bottom, bar.top);
        EXPECT_EQ(placed.left, bar.left + bar_width - 6 - 4 * 40);
    }
    store_language(Language::English);
}

} // namespace
} // namespace ondrel::testing
