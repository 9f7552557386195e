// The real main window, started in this process against the libmpv test double.
#include "gui/support/player_test.hpp"
#include "main/handoff.hpp"
#include "main/language_switch.hpp"
#include "main/main_layout.hpp"
#include "main/startup_win32.hpp"
#include "platform/win32/wide.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

using GuiStartup = PlayerTest;
using Texts = std::vector<std::string>;

TEST_F(GuiStartup, OptionsReachLibmpvInOrderWithTheVideoWindow) {
    session.write_settings("volume=62.4\nmute=1\nmpv_options=osd-font-size=20 ; ; bogus\n");
    ASSERT_TRUE(session.start());
    const auto options = recorded("mpv_set_option_string");
    ASSERT_EQ(options.size(), 26u);
    std::string names;
    for (const auto& option : options) {
        names += option.at("name").get<std::string>() + " ";
    }
    // The user's option comes last and overrides ours.
    EXPECT_EQ(names, "wid config load-scripts ytdl osc input-default-bindings input-vo-keyboard "
                     "input-cursor cursor-autohide vo gpu-api hwdec keep-open idle force-window "
                     "resume-playback watch-later-directory volume-max volume mute osd-duration "
                     "osd-font-size audio-client-name watch-later-options sub-auto osd-font-size ");
    EXPECT_EQ(options[0].at("value"),
              std::to_string(reinterpret_cast<std::intptr_t>(state().video_window)));
    EXPECT_EQ(options[16].at("value"),
              path_to_utf8(session.app_data.path / "Ondrel" / "watch_later"));
    EXPECT_TRUE(std::filesystem::is_directory(session.app_data.path / "Ondrel" / "watch_later"));
    EXPECT_EQ(options[18].at("value"), "62");
    EXPECT_EQ(options[19].at("value"), "yes");
    EXPECT_EQ(options[25].at("value"), "20");
}

TEST_F(GuiStartup, WithoutAFileTheDropHintStaysForAnHour) {
    ASSERT_TRUE(session.start());
    EXPECT_EQ(
        recorded_commands("mpv_command_async", "show-text"),
        (std::vector<Texts>{
            {"show-text", "Drop a video here or press Ctrl+O to open — F1: help", "3600000"}}));
    EXPECT_EQ(window_text(main()), L"Ondrel");
    EXPECT_TRUE(IsWindowVisible(main()));
    EXPECT_NE(GetWindowLongPtrW(main(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0); // for the drop
    EXPECT_FALSE(IsWindowEnabled(state().video_window));
    EXPECT_FALSE(IsWindowEnabled(state().control_bar));
}

TEST_F(GuiStartup, CommandLineFileIsOpenedAndNamedInTheTitle) {
    const std::filesystem::path clip = session.app_data.path / L"Vidéo d'été.mp4";
    ASSERT_TRUE(
        session.start(L"\"C:\\Ondrel\\Ondrel.exe\" \"" + clip.wstring() + L"\" second.mp4"));
    const auto loads = recorded_commands("mpv_command", "loadfile");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0][1], path_to_utf8(clip));
    pump_until([&] { return state().session.playback.file_loaded; });
    EXPECT_EQ(window_text(main()), L"Vidéo d'été.mp4 — Ondrel");
}

TEST_F(GuiStartup, RelativeNameIsMadeAbsoluteAndUrlsStayAsTheyAre) {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_EQ(command_line_file(L"Ondrel.exe clip.mp4"),
              narrow((std::filesystem::path(current) / L"clip.mp4").wstring()));
    EXPECT_EQ(command_line_file(L"Ondrel.exe https://example.com/a%20b.mp4 other"),
              "https://example.com/a%20b.mp4");
    EXPECT_EQ(command_line_file(L"Ondrel.exe"), std::nullopt);
}

TEST_F(GuiStartup, SavedRectangleOnlyWhenItTouchesAMonitor) {
    session.write_settings("window=100,80,900,600\n");
    ASSERT_TRUE(session.start());
    EXPECT_EQ(sides(window_rect(main())), (std::array<LONG, 4>{100, 80, 900, 600}));
    session.close();
    // A monitor that has been unplugged: the default size at the default place.
    session.write_settings("window=-30000,-30000,-29000,-29500\n");
    ASSERT_TRUE(session.start());
    EXPECT_GT(window_rect(main()).left, -30000 + 5000);
    EXPECT_EQ(extent(window_rect(main())), std::pair(960L, 590L));
}

TEST_F(GuiStartup, MaximizedSettingShowsMaximizedAndRestoresTheSavedRectangle) {
    session.write_settings("maximized=1\nwindow=50,60,850,560\n");
    ASSERT_TRUE(session.start());
    EXPECT_TRUE(IsZoomed(main()));
    ShowWindow(main(), SW_RESTORE);
    EXPECT_EQ(sides(window_rect(main())), (std::array<LONG, 4>{50, 60, 850, 560}));
}

TEST_F(GuiStartup, LanguageSwitchIsSavedAndConfirmedOnScreen) {
    ASSERT_TRUE(session.start());
    set_language(state().settings, Language::French);
    EXPECT_EQ(session.saved_settings().language, "fr");
    set_language(state().settings, Language::English);
    EXPECT_EQ(session.saved_settings().language, "en");
    EXPECT_EQ(shown_texts("1500"), (Texts{"Langue : français", "Language: English"}));
}

TEST_F(GuiStartup, MultiInstanceToggleIsSavedAndConfirmed) {
    session.write_settings("language=fr\n");
    ASSERT_TRUE(session.start());
    toggle_multi_instance(state());
    EXPECT_TRUE(session.saved_settings().multi_instance);
    toggle_multi_instance(state());
    EXPECT_FALSE(session.saved_settings().multi_instance);
    EXPECT_EQ(shown_texts("2500"),
              (Texts{"Multi-instance activé : chaque vidéo s'ouvre dans une nouvelle fenêtre",
                     "Multi-instance désactivé : les vidéos s'ouvrent dans cette fenêtre"}));
}

} // namespace
} // namespace ondrel::testing
