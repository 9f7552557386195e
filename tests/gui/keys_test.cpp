// Every key and character of the player, with Ctrl and Shift set as the keyboard would,
// and what reached libmpv or the window.
#include "gui/support/menu_driving.hpp"
#include "gui/support/player_test.hpp"
#include "ui/keys_win32.hpp"

namespace ondrel::testing {
namespace {

using GuiKeys = PlayerTest;
using Calls = std::vector<std::string>;

// Ctrl and Shift as GetKeyState will read them.
void set_modifiers(bool ctrl, bool shift) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
}

TEST_F(GuiKeys, EveryKeyAndCharacterWithAFile) {
    ASSERT_TRUE(play(tracks_scenario()));
    ScopedDialogRecorder dialog;
    struct KeyCase {
        const char* name;
        WORD key;
        bool ctrl;
        bool shift;
        bool handled;
        Calls calls;
    };
    const std::string next_audio_message =
        "show-text Audio: French — Commentary (aac, stereo) 2000";
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
        {"A", 'A', false, false, true, {"set aid 2", next_audio_message}},
        {"S", 'S', false, false, true, {"set sid 1", "show-text Subtitles: Q&A 2000"}},
        {"Ctrl+A", 'A', true, false, false, {}},
        {"Ctrl+S", 'S', true, false, false, {}},
        {"Ctrl+T", 'T', true, false, false, {}},
        {"Ctrl+I", 'I', true, false, false, {}},
        {"Ctrl+C", 'C', true, false, false, {}},
        {"O", 'O', false, false, false, {}},
        {"C", 'C', false, false, true, {"show-text Open a video file to compress first 2500"}},
        {"Q", 'Q', false, false, false, {}},
        {"F10", VK_F10, false, false, false, {}},
        {"Numpad plus", VK_ADD, false, false, false, {}},
    };
    for (const KeyCase& c : cases) {
        set_modifiers(c.ctrl, c.shift);
        clear_double_record();
        EXPECT_EQ(handle_key_down(state(), c.key), c.handled) << c.name;
        EXPECT_EQ(player_calls(), c.calls) << c.name;
    }

    // Keys whose effect is on the window or the settings, in turn.
    struct StateCase {
        const char* name;
        WORD key;
        bool ctrl;
        std::function<bool()> changed;
    };
    const auto full_screen = [&] { return state().full_screen; };
    const auto windowed = [&] { return !state().full_screen; };
    const StateCase state_cases[] = {
        {"F", 'F', false, full_screen},
        {"Ctrl+F", 'F', true, windowed},
        {"Enter", VK_RETURN, false, full_screen},
        {"Esc", VK_ESCAPE, false, windowed},
        {"Ctrl+Esc", VK_ESCAPE, true, windowed},
        {"F11", VK_F11, false, full_screen},
        {"Ctrl+F11", VK_F11, true, windowed},
        {"Ctrl+Enter", VK_RETURN, true, full_screen},
        {"Esc leaves", VK_ESCAPE, false, windowed},
        {"T", 'T', false, [&] { return session.saved_settings().always_on_top; }},
        {"I", 'I', false, [&] { return session.saved_settings().multi_instance; }},
        {"F1", VK_F1, false, [&] { return state().help_overlay != nullptr; }},
        {"Ctrl+F1", VK_F1, true, [&] { return state().help_overlay == nullptr; }},
        {"Ctrl+O", 'O', true, [&] { return dialog.requests.size() == 1; }},
    };
    for (const StateCase& c : state_cases) {
        set_modifiers(c.ctrl, false);
        EXPECT_TRUE(handle_key_down(state(), c.key)) << c.name;
        EXPECT_TRUE(c.changed()) << c.name;
    }
    set_modifiers(false, false);

    const std::pair<wchar_t, Calls> characters[] = {
        {L'+', {"speed=1.25", "show-text Speed: ×1.25 1000"}},
        {L'-', {"speed=1.0", "show-text Speed: ×1 1000"}},
        {L'+', {"speed=1.25", "show-text Speed: ×1.25 1000"}},
        {L'=', {"speed=1.0", "show-text Speed: ×1 1000"}},
        {L',', {"frame-back-step"}},
        {L'.', {"frame-step"}},
        {L'a', {}},
        {static_cast<wchar_t>(0xD83D), {}}, // half of a character
        {static_cast<wchar_t>(0xDE00), {}},
    };
    for (const auto& [unit, calls] : characters) {
        clear_double_record();
        EXPECT_EQ(SendMessageW(main(), WM_CHAR, unit, 0), 0);
        EXPECT_EQ(player_calls(), calls) << static_cast<int>(unit);
    }
    // The keypad's plus is no key of the table; its character does the work.
    clear_double_record();
    MSG key{main(), WM_KEYDOWN, VK_ADD, 0x004E0001, 0, {}};
    TranslateMessage(&key);
    DispatchMessageW(&key);
    pump_for(std::chrono::milliseconds(100));
    EXPECT_EQ(player_calls(), (Calls{"speed=1.25", "show-text Speed: ×1.25 1000"}));

    // The menu key opens the menu; Alt+F4 is left to Windows, which closes the window.
    EXPECT_TRUE(act_on_modal_window(
        L"#32768", [](HWND) { EndMenu(); },
        [&] { SendMessageW(main(), WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1)); }));
    const HWND window = main();
    SendMessageW(window, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    EXPECT_TRUE(pump_until([&] { return !IsWindow(window); }));
}

TEST_F(GuiKeys, EdgeCasesWithoutAFile) {
    session.write_settings("language=en\nvolume=98\n");
    ASSERT_TRUE(session.start());
    set_modifiers(false, false);
    // Home is taken and does nothing; "," and "." do nothing; "+" works.
    clear_double_record();
    EXPECT_TRUE(handle_key_down(state(), VK_HOME));
    SendMessageW(main(), WM_CHAR, L',', 0);
    SendMessageW(main(), WM_CHAR, L'.', 0);
    EXPECT_EQ(player_calls(), Calls{});
    SendMessageW(main(), WM_CHAR, L'+', 0);
    EXPECT_EQ(player_calls(), (Calls{"speed=1.25", "show-text Speed: ×1.25 1000"}));

    // Up at 98 gives 100, and again 100 with the message shown again.
    clear_double_record();
    SendMessageW(main(), WM_KEYDOWN, VK_UP, 1);
    SendMessageW(main(), WM_KEYDOWN, VK_UP, 0x40000001); // auto-repeat
    EXPECT_EQ(player_calls(), (Calls{"volume=100.0", "show-text Volume: 100% 1000", "volume=100.0",
                                     "show-text Volume: 100% 1000"}));

    // The wheel: one step of 5 per message, up is louder unless the wheel is inverted.
    clear_double_record();
    SendMessageW(main(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)), 0);
    state().settings.wheel_invert = true;
    SendMessageW(main(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    SendMessageW(main(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-1)), 0);
    EXPECT_EQ(player_calls(),
              (Calls{"volume=95.0", "show-text Volume: 95% 1000", "volume=90.0",
                     "show-text Volume: 90% 1000", "volume=95.0", "show-text Volume: 95% 1000"}));
}

} // namespace
} // namespace ondrel::testing
