// The real main window, started in this process against the libmpv test double.
#include "gui/support/desktop.hpp"
#include "gui/support/gui_session.hpp"
#include "main/handoff.hpp"
#include "main/language_switch.hpp"
#include "main/main_layout.hpp"
#include "main/startup_win32.hpp"
#include "platform/win32/wide.hpp"

#include <gtest/gtest.h>

namespace ondrel::testing {
namespace {

std::vector<std::string> async_command(const nlohmann::json& line) {
    return line.at("args").get<std::vector<std::string>>();
}

TEST(GuiStartup, OptionsReachLibmpvInOrderWithTheVideoWindow) {
    GuiSession session;
    session.write_settings("volume=62.4\nmute=1\nmpv_options=osd-font-size=20 ; ; bogus\n");
    ASSERT_TRUE(session.start());
    const auto options = recorded("mpv_set_option_string");
    ASSERT_GE(options.size(), 26u);
    const char* expected_names[] = {"wid",
                                    "config",
                                    "load-scripts",
                                    "ytdl",
                                    "osc",
                                    "input-default-bindings",
                                    "input-vo-keyboard",
                                    "input-cursor",
                                    "cursor-autohide",
                                    "vo",
                                    "gpu-api",
                                    "hwdec",
                                    "keep-open",
                                    "idle",
                                    "force-window",
                                    "resume-playback",
                                    "watch-later-directory",
                                    "volume-max",
                                    "volume",
                                    "mute",
                                    "osd-duration",
                                    "osd-font-size",
                                    "audio-client-name",
                                    "watch-later-options",
                                    "sub-auto"};
    for (std::size_t i = 0; i < std::size(expected_names); ++i) {
        EXPECT_EQ(options[i].at("name"), expected_names[i]) << i;
    }
    EXPECT_EQ(options[0].at("value"),
              std::to_string(reinterpret_cast<std::intptr_t>(session.state().video_window)));
    EXPECT_EQ(options[16].at("value"),
              path_to_utf8(session.app_data.path / "Ondrel" / "watch_later"));
    EXPECT_TRUE(std::filesystem::is_directory(session.app_data.path / "Ondrel" / "watch_later"));
    EXPECT_EQ(options[18].at("value"), "62");
    EXPECT_EQ(options[19].at("value"), "yes");
    // The user's option comes last and overrides ours.
    EXPECT_EQ(options[25].at("name"), "osd-font-size");
    EXPECT_EQ(options[25].at("value"), "20");
    EXPECT_EQ(options.size(), 26u);
}

TEST(GuiStartup, WithoutAFileTheDropHintStaysForAnHour) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    bool found = false;
    for (const auto& line : recorded("mpv_command_async")) {
        const auto args = async_command(line);
        if (!args.empty() && args[0] == "show-text") {
            ASSERT_EQ(args.size(), 3u);
            EXPECT_EQ(args[1], "Drop a video here or press Ctrl+O to open — F1: help");
            EXPECT_EQ(args[2], "3600000");
            found = true;
        }
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(window_text(session.main()), L"Ondrel");
    EXPECT_TRUE(IsWindowVisible(session.main()));
    EXPECT_FALSE(IsWindowEnabled(session.state().video_window));
    EXPECT_FALSE(IsWindowEnabled(session.state().control_bar));
}

TEST(GuiStartup, CommandLineFileIsOpenedAndNamedInTheTitle) {
    GuiSession session;
    const std::filesystem::path clip = session.app_data.path / L"Vidéo d'été.mp4";
    ASSERT_TRUE(
        session.start(L"\"C:\\Ondrel\\Ondrel.exe\" \"" + clip.wstring() + L"\" second.mp4"));
    std::vector<std::vector<std::string>> loads;
    for (const auto& line : recorded("mpv_command")) {
        const auto args = line.at("args").get<std::vector<std::string>>();
        if (!args.empty() && args[0] == "loadfile") {
            loads.push_back(args);
        }
    }
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0][1], path_to_utf8(clip));
    pump_until([&] { return session.state().session.playback.file_loaded; });
    EXPECT_EQ(window_text(session.main()), L"Vidéo d'été.mp4 — Ondrel");
}

TEST(GuiStartup, RelativeNameIsMadeAbsoluteAndUrlsStayAsTheyAre) {
    GuiSession session;
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_EQ(command_line_file(L"Ondrel.exe clip.mp4"),
              narrow((std::filesystem::path(current) / L"clip.mp4").wstring()));
    EXPECT_EQ(command_line_file(L"Ondrel.exe https://example.com/a%20b.mp4 other"),
              "https://example.com/a%20b.mp4");
    EXPECT_EQ(command_line_file(L"Ondrel.exe"), std::nullopt);
}

TEST(GuiStartup, SavedRectangleOnlyWhenItTouchesAMonitor) {
    {
        GuiSession session;
        session.write_settings("window=100,80,900,600\n");
        ASSERT_TRUE(session.start());
        RECT window{};
        GetWindowRect(session.main(), &window);
        EXPECT_EQ(window.left, 100);
        EXPECT_EQ(window.top, 80);
        EXPECT_EQ(window.right, 900);
        EXPECT_EQ(window.bottom, 600);
    }
    {
        // A monitor that has been unplugged: the default size at the default place.
        GuiSession session;
        session.write_settings("window=-30000,-30000,-29000,-29500\n");
        ASSERT_TRUE(session.start());
        RECT window{};
        GetWindowRect(session.main(), &window);
        EXPECT_GT(window.left, -30000 + 5000);
        EXPECT_EQ(window.right - window.left, 960);
        EXPECT_EQ(window.bottom - window.top, 590);
    }
}

TEST(GuiStartup, MaximizedSettingShowsMaximizedAndRestoresTheSavedRectangle) {
    GuiSession session;
    session.write_settings("maximized=1\nwindow=50,60,850,560\n");
    ASSERT_TRUE(session.start());
    EXPECT_TRUE(IsZoomed(session.main()));
    ShowWindow(session.main(), SW_RESTORE);
    RECT window{};
    GetWindowRect(session.main(), &window);
    EXPECT_EQ(window.left, 50);
    EXPECT_EQ(window.top, 60);
    EXPECT_EQ(window.right, 850);
    EXPECT_EQ(window.bottom, 560);
}

TEST(GuiStartup, LanguageSwitchIsSavedAndConfirmedOnScreen) {
    GuiSession session;
    ASSERT_TRUE(session.start());
    set_language(session.state().settings, Language::French);
    EXPECT_EQ(session.saved_settings().language, "fr");
    set_language(session.state().settings, Language::English);
    EXPECT_EQ(session.saved_settings().language, "en");
    std::vector<std::string> messages;
    for (const auto& line : recorded("mpv_command_async")) {
        const auto args = async_command(line);
        if (args.size() == 3 && args[0] == "show-text" && args[2] == "1500") {
            messages.push_back(args[1]);
        }
    }
    EXPECT_EQ(messages, (std::vector<std::string>{"Langue : français", "Language: English"}));
}

TEST(GuiStartup, MultiInstanceToggleIsSavedAndConfirmed) {
    GuiSession session;
    session.write_settings("language=fr\n");
    ASSERT_TRUE(session.start());
    toggle_multi_instance(session.state());
    EXPECT_TRUE(session.saved_settings().multi_instance);
    toggle_multi_instance(session.state());
    EXPECT_FALSE(session.saved_settings().multi_instance);
    std::vector<std::vector<std::string>> messages;
    for (const auto& line : recorded("mpv_command_async")) {
        const auto args = async_command(line);
        if (args.size() == 3 && args[0] == "show-text" && args[2] == "2500") {
            messages.push_back(args);
        }
    }
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0][1],
              "Multi-instance activé : chaque vidéo s'ouvre dans une nouvelle fenêtre");
    EXPECT_EQ(messages[1][1], "Multi-instance désactivé : les vidéos s'ouvrent dans cette fenêtre");
}

} // namespace
} // namespace ondrel::testing
