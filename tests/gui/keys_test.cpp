// Every key and character of the player, with Ctrl and Shift set as the keyboard would,
// and what reached libmpv or the window.
#include "gui/support/desktop.hpp"
#include "gui/support/gui_session.hpp"
#include "gui/support/menu_driving.hpp"
#include "ui/help_win32.hpp"
#include "ui/keys_win32.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

const char* const tracks_scenario = R"({"default": {"duration": 600,
    "audio": [{"title": "One"}, {"title": "Two"}], "sub": [{"title": "Words", "codec": ""}],
    "aid": 1}})";

// Ctrl and Shift as GetKeyState will read them.
void set_modifiers(bool ctrl, bool shift) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_LCONTROL] = keys[VK_CONTROL];
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_LSHIFT] = keys[VK_SHIFT];
    SetKeyboardState(keys);
}

struct KeyCase {
    const char* name;
    WORD key;
    bool ctrl;
    bool shift;
    bool handled;
    std::vector<std::string> calls;
};

TEST(GuiKeys, EveryKeyOfTheTable) {
    GuiSession session;
    session.write_scenario(nlohmann::json::parse(tracks_scenario));
    ASSERT_TRUE(session.start(L"Ondrel.exe C:\\videos\\film.mkv"));
    AppState& state = session.state();
    ASSERT_TRUE(pump_until([&] { return state.session.playback.file_loaded; }));
    ScopedDialogRecorder dialog;
    const std::vector<std::string> none;
    const KeyCase cases[] = {
        {"Space", VK_SPACE, false, false, true, {"pause=1", "write-watch-later-config"}},
        {"K", 'K', false, false, true, {"pause=0"}},
        {"Ctrl+Space", VK_SPACE, true, false, true, {"pause=1", "write-watch-later-config"}},
        {"Ctrl+K", 'K', true, false, true, {"pause=0"}},
        {"Home", VK_HOME, false, false, true, {"seek 0.000 absolute+exact"}},
        {"Ctrl+Home", VK_HOME, true, false, true, {"seek 0.000 absolute+exact"}},
        {"Left", VK_LEFT, false, false, true, {"osd-msg-bar seek -5 relative+exact"}},
        {"Shift+Left", VK_LEFT, false, true, true, {"osd-msg-bar seek -1 relative+exact"}},
        {"Ctrl+Left", VK_LEFT, true, false, true, {"osd-msg-bar seek -60 relative+exact"}},
        {"Ctrl+Shift+Left", VK_LEFT, true, true, true, {"osd-msg-bar seek -60 relative+exact"}},
        {"Right", VK_RIGHT, false, false, true, {"osd-msg-bar seek 5 relative+exact"}},
        {"Shift+Right", VK_RIGHT, false, true, true, {"osd-msg-bar seek 1 relative+exact"}},
        {"Ctrl+Right", VK_RIGHT, true, false, true, {"osd-msg-bar seek 60 relative+exact"}},
        {"Up", VK_UP, false, false, true, {"volume=85.0", "show-text Volume: 85% 1000"}},
        {"Ctrl+Up", VK_UP, true, false, true, {"volume=90.0", "show-text Volume: 90% 1000"}},
        {"Down", VK_DOWN, false, false, true, {"volume=85.0", "show-text Volume: 85% 1000"}},
        {"Ctrl+Down", VK_DOWN, true, false, true, {"volume=80.0", "show-text Volume: 80% 1000"}},
        {"M", 'M', false, false, true, {"mute=1", "show-text Muted 1000"}},
        {"Ctrl+M", 'M', true, false, true, {"mute=0", "show-text Sound on 1000"}},
        {"A", 'A', false, false, true, {"set aid 2", "show-text Audio: Two (aac, stereo) 2000"}},
        {"S", 'S', false, false, true, {"set sid 1", "show-text Subtitles: Words 2000"}},
        {"Ctrl+A", 'A', true, false, false, none},
        {"Ctrl+S", 'S', true, false, false, none},
        {"Ctrl+T", 'T', true, false, false, none},
        {"Ctrl+I", 'I', true, false, false, none},
        {"Ctrl+C", 'C', true, false, false, none},
        {"O", 'O', false, false, false, none},
        {"C", 'C', false, false, true, {"show-text Open a video file to compress first 2500"}},
        {"Q", 'Q', false, false, false, none},
        {"F10", VK_F10, false, false, false, none},
        {"Numpad plus", VK_ADD, false, false, false, none},
    };
    for (const KeyCase& c : cases) {
        set_modifiers(c.ctrl, c.shift);
        clear_double_record();
        EXPECT_EQ(handle_key_down(state, c.key), c.handled) << c.name;
        EXPECT_EQ(player_calls(), c.calls) << c.name;
    }

    // Keys whose effect is on the window or the settings.
    struct StateCase {
        const char* name;
        WORD key;
        bool ctrl;
        std::function<bool()> changed;
    };
    const StateCase state_cases[] = {
        {"F", 'F', false, [&] { return state.full_screen; }},
        {"Ctrl+F", 'F', true, [&] { return !state.full_screen; }},
        {"Enter", VK_RETURN, false, [&] { return state.full_screen; }},
        {"Esc", VK_ESCAPE, false, [&] { return !state.full_screen; }},
        {"Ctrl+Esc", VK_ESCAPE, true, [&] { return !state.full_screen; }},
        {"F11", VK_F11, false, [&] { return state.full_screen; }},
        {"Ctrl+F11", VK_F11, true, [&] { return !state.full_screen; }},
        {"Ctrl+Enter", VK_RETURN, true, [&] { return state.full_screen; }},
        {"Esc leaves", VK_ESCAPE, false, [&] { return !state.full_screen; }},
        {"T", 'T', false, [&] { return session.saved_settings().always_on_top; }},
        {"I", 'I', false, [&] { return session.saved_settings().multi_instance; }},
        {"F1", VK_F1, false, [&] { return state.help_overlay != nullptr; }},
        {"Ctrl+F1", VK_F1, true, [&] { return state.help_overlay == nullptr; }},
        {"Ctrl+O", 'O', true, [&] { return dialog.recorder.requests.size() == 1; }},
    };
    for (const StateCase& c : state_cases) {
        set_modifiers(c.ctrl, false);
        EXPECT_TRUE(handle_key_down(state, c.key)) << c.name;
        EXPECT_TRUE(c.changed()) << c.name;
    }
    set_modifiers(false, false);
}

TEST(GuiKeys, EdgeCasesThroughTheWindowMessages) {
    GuiSession session;
    session.write_settings("language=en\nvolume=98\n");
    ASSERT_TRUE(session.start());
    AppState& state = session.state();
    set_modifiers(false, false);

    // Without a file: Home is taken and does nothing; "," and "." do nothing; "+" works.
    clear_double_record();
    EXPECT_TRUE(handle_key_down(state, VK_HOME));
    for (const wchar_t c : {L',', L'.'}) {
        SendMessageW(session.main(), WM_CHAR, c, 0);
    }
    EXPECT_EQ(player_calls(), std::vector<std::string>{});
    SendMessageW(session.main(), WM_CHAR, L'+', 0);
    EXPECT_EQ(player_calls(),
              (std::vector<std::string>{"speed=1.25", "show-text Speed: ×1.25 1000"}));

    // Up at 98 gives 100, and again 100 with the message shown again.
    clear_double_record();
    SendMessageW(session.main(), WM_KEYDOWN, VK_UP, 1);
    SendMessageW(session.main(), WM_KEYDOWN, VK_UP, 0x40000001); // auto-repeat
    EXPECT_EQ(player_calls(),
              (std::vector<std::string>{"volume=100.0", "show-text Volume: 100% 1000",
                                        "volume=100.0", "show-text Volume: 100% 1000"}));

    // The wheel: one step of 5 per message, up is louder unless the wheel is inverted.
    clear_double_record();
    SendMessageW(session.main(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)),
                 0);
    state.settings.wheel_invert = true;
    SendMessageW(session.main(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    SendMessageW(session.main(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-1)), 0);
    EXPECT_EQ(player_calls(),
              (std::vector<std::string>{"volume=95.0", "show-text Volume: 95% 1000", "volume=90.0",
                                        "show-text Volume: 90% 1000", "volume=95.0",
                                        "show-text Volume: 95% 1000"}));
}

TEST(GuiKeys, CharactersWithAFileAndTheKeypadPlus) {
    GuiSession session;
    ASSERT_TRUE(session.start(L"Ondrel.exe C:\\videos\\film.mkv"));
    ASSERT_TRUE(pump_until([&] { return session.state().session.playback.file_loaded; }));
    set_modifiers(false, false);
    struct CharCase {
        wchar_t unit;
        std::vector<std::string> calls;
    };
    const CharCase cases[] = {
        {L'+', {"speed=1.25", "show-text Speed: ×1.25 1000"}},
        {L'-', {"speed=1.0", "show-text Speed: ×1 1000"}},
        {L'-', {"speed=0.75", "show-text Speed: ×0.75 1000"}},
        {L'=', {"speed=1.0", "show-text Speed: ×1 1000"}},
        {L',', {"frame-back-step"}},
        {L'.', {"frame-step"}},
        {L'a', {}},
        {static_cast<wchar_t>(0xD83D), {}}, // half of a character
        {static_cast<wchar_t>(0xDE00), {}},
    };
    for (const CharCase& c : cases) {
        clear_double_record();
        EXPECT_EQ(SendMessageW(session.main(), WM_CHAR, c.unit, 0), 0);
        EXPECT_EQ(player_calls(), c.calls) << static_cast<int>(c.unit);
    }

    // The keypad's plus is no key of the table; its character does the work.
    clear_double_record();
    MSG key{session.main(), WM_KEYDOWN, VK_ADD, 0x004E0001, 0, {}};
    TranslateMessage(&key);
    DispatchMessageW(&key);
    pump_for(std::chrono::milliseconds(100));
    EXPECT_EQ(player_calls(),
              (std::vector<std::string>{"speed=1.25", "show-text Speed: ×1.25 1000"}));
}

TEST(GuiKeys, AltF4ClosesAndTheMenuKeyOpensTheMenu) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    set_modifiers(false, false);
    EXPECT_TRUE(act_on_modal_window(
        L"#32768", [](HWND) { EndMenu(); },
        [&] { SendMessageW(session.main(), WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1)); }));
    const HWND main = session.main();
    SendMessageW(main, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    EXPECT_TRUE(pump_until([&] { return !IsWindow(main); }));
}

} // namespace
} // namespace ondrel::testing
