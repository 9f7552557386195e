#include "double_fixture.hpp"
#include "mpv/playback_rules.hpp"

#include <thread>

namespace ondrel {
namespace {

using namespace ondrel::testing;
using nlohmann::json;
using Messages = std::vector<std::pair<std::string, std::string>>;
using Strings = std::vector<std::string>;

std::vector<std::vector<std::string>> synchronous_commands(const std::vector<json>& calls) {
    std::vector<std::vector<std::string>> commands;
    for (const json& call : calls_of(calls, "mpv_command")) {
        commands.push_back(call.at("args").get<std::vector<std::string>>());
    }
    return commands;
}

std::vector<std::vector<std::string>> asynchronous_commands(const std::vector<json>& calls) {
    std::vector<std::vector<std::string>> commands;
    for (const json& call : calls_of(calls, "mpv_command_async")) {
        EXPECT_EQ(call.at("reply"), 0);
        commands.push_back(call.at("args").get<std::vector<std::string>>());
    }
    return commands;
}

// "name format value" of each asynchronous property write, the value as libmpv was given it.
Strings property_writes(const std::vector<json>& calls) {
    Strings writes;
    for (const json& call : calls_of(calls, "mpv_set_property_async")) {
        EXPECT_EQ(call.at("reply"), 0);
        writes.push_back(call.at("name").get<std::string>() + " " + call.at("format").dump() + " " +
                         call.at("value").dump());
    }
    return writes;
}

TEST_F(DoublePlayerTest, StartSetsTheOptionsThenObservesAndListens) {
    settings.volume = 62.5;
    settings.mute = true;
    settings.mpv_options = "sub-font-size=50 ; ; novalue ;hwdec = no";
    start();
    const std::vector<json> recorded = calls();
    std::vector<MpvOption> options;
    for (const json& call : calls_of(recorded, "mpv_set_option_string")) {
        options.emplace_back(call.at("name").get<std::string>(),
                             call.at("value").get<std::string>());
    }
    std::vector<MpvOption> expected =
        player_options(video_window, settings, path_to_utf8(watch_later.path));
    expected.emplace_back("sub-font-size", "50");
    expected.emplace_back("hwdec", "no");
    EXPECT_EQ(options, expected);
    EXPECT_EQ(options.front(), MpvOption("wid", std::to_string(video_window)));

    std::vector<std::string> order;
    for (const json& call : recorded) {
        const std::string function = call.at("call").get<std::string>();
        if (order.empty() || order.back() != function) {
            order.push_back(function);
        }
    }
    const std::vector<std::string> expected_order{"mpv_create", "mpv_set_option_string",
                                                  "mpv_initialize", "mpv_observe_property",
                                                  "mpv_set_wakeup_callback"};
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 5), expected_order);

    std::vector<json> observed;
    for (const json& call : calls_of(recorded, "mpv_observe_property")) {
        observed.push_back(json::array({call.at("reply"), call.at("name"), call.at("format")}));
    }
    const std::vector<json> expected_observed{
        {1, "time-pos", 5}, {2, "duration", 5},    {3, "pause", 3}, {4, "volume", 5},
        {5, "mute", 3},     {6, "eof-reached", 3}, {7, "speed", 5}, {8, "sid", 1}};
    EXPECT_EQ(observed, expected_observed);
}

TEST_F(DoublePlayerTest, TheWakeupComesFromTheLibrarysThreadToTheMainWindow) {
    settings.volume = 37;
    settings.mute = true;
    start();
    const WakeupStatistics statistics = wakeup_statistics();
    EXPECT_EQ(statistics.last_window, main_window);
    EXPECT_NE(statistics.last_thread, std::this_thread::get_id());
    EXPECT_LE(statistics.most_pending, 1u);
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.volume == 37; }));
    EXPECT_TRUE(session.playback.muted);
    EXPECT_EQ(session.playback.speed, 1.0);
    EXPECT_FALSE(session.playback.file_loaded);
}

TEST_F(DoublePlayerTest, OpenFileClearsTheScreenPlaysAndLoads) {
    use_scenario({{"files", {{"clip.mp4", {{"duration", 600}, {"start", 75}}}}}});
    start();
    shell_record().foreground = main_window;
    session.playback.paused = true;
    clear_double_calls();
    const std::string path = "C:\\Vidéos\\clip.mp4";
    open_file(session, path);
    EXPECT_EQ(session.playback.current_file, path);
    EXPECT_FALSE(session.playback.file_loaded);
    EXPECT_EQ(shell_record().titles.back(),
              std::make_pair(main_window, std::string("clip.mp4 — Ondrel")));
    const std::vector<json> opened = calls();
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0].at("call"), "mpv_command_async");
    EXPECT_EQ(opened[0].at("args"), json::array({"show-text", "", "1"}));
    EXPECT_EQ(property_writes(opened), Strings{"pause 3 0"});
    EXPECT_EQ(opened[2].at("call"), "mpv_command");
    EXPECT_EQ(opened[2].at("args"), json::array({"loadfile", path}));

    ASSERT_TRUE(pump_until(session, [&] { return session.playback.file_loaded; }));
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.duration == 600; }));
    EXPECT_FALSE(session.playback.paused);
    EXPECT_EQ(session.playback.time_position, 75);
    EXPECT_EQ(messages().back(),
              std::make_pair(std::string("Resuming at 1:15"), std::string("2000")));
    EXPECT_EQ(shell_record().focus_given, std::vector<ShellWindow>{main_window});
}

TEST_F(DoublePlayerTest, TextsReachLibmpvWithoutEmbeddedNuls) {
    start();
    clear_double_calls();
    show_text(session, std::string("Bon\0jour", 8), 1234);
    open_file(session, std::string("/videos/x\0y é.mkv", 18));
    EXPECT_EQ(messages(), (Messages{{"Bonjour", "1234"}, {"", "1"}}));
    EXPECT_EQ(synchronous_commands(calls()),
              (std::vector<std::vector<std::string>>{{"loadfile", "/videos/xy é.mkv"}}));
}

// Names and titles come from the files: libmpv must show them as they are, neither
// expanding properties in them nor letting them switch on ASS styling.
TEST_F(DoublePlayerTest, TextsAreShownLiterally) {
    start();
    const std::pair<std::string, std::string> rows[] = {
        {"Subtitles: Q&A {\\b1}", "Subtitles: Q&A {\\b1}"},
        {"Subtitle file added: a$$b.srt", "$>Subtitle file added: a$$b.srt"},
        {"Audio: ${path} $>x", "$>Audio: ${path} $>x"},
        {"Audio: \xFD{\\b1}bold\xFE", "Audio: \xEF\xBF\xBD{\\b1}bold\xEF\xBF\xBD"},
    };
    for (const auto& [text, sent] : rows) {
        clear_double_calls();
        show_text(session, text, 2000);
        EXPECT_EQ(messages(), (Messages{{sent, "2000"}})) << text;
    }
}

TEST_F(DoublePlayerTest, ASecondFileKeepsThePositionOfTheFirst) {
    use_scenario(
        {{"files", {{"first.mkv", {{"duration", 300}}}, {"second.mkv", {{"duration", 20}}}}}});
    start();
    open_and_wait("/videos/first.mkv");
    seek_to(session, 42.5, true);
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.time_position == 42.5; }));
    toggle_pause(session);
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.paused; }));

    clear_double_calls();
    open_and_wait("/videos/second.mkv");
    EXPECT_EQ(synchronous_commands(calls()),
              (std::vector<std::vector<std::string>>{{"write-watch-later-config"},
                                                     {"loadfile", "/videos/second.mkv"}}));
    ASSERT_TRUE(pump_until(session, [&] { return !session.playback.paused; }));
    EXPECT_FALSE(list_folder(watch_later.path).empty());

    // Back to the first file: it resumes where it was left.
    clear_double_calls();
    open_and_wait("/videos/first.mkv");
    EXPECT_EQ(messages().back(),
              std::make_pair(std::string("Resuming at 0:42"), std::string("2000")));
}

TEST_F(DoublePlayerTest, PausingNearTheEndForgetsThePosition) {
    struct Case {
        double start;
        std::string expected;
    };
    const Case cases[] = {
        {597, "delete-watch-later-config"},
        {595.5, "delete-watch-later-config"},
        {594, "write-watch-later-config"},
        {0, "write-watch-later-config"},
    };
    use_scenario({{"default", {{"duration", 600}}}});
    start();
    for (const Case& c : cases) {
        scenario->replace({{"default", {{"duration", 600}, {"start", c.start}}}});
        open_and_wait("/videos/film-" + std::to_string(c.start) + ".mkv");
        ASSERT_TRUE(pump_until(session, [&] { return session.playback.duration == 600; }));
        clear_double_calls();
        toggle_pause(session); // pauses
        EXPECT_EQ(property_writes(calls()), Strings{"pause 3 1"});
        EXPECT_EQ(synchronous_commands(calls()),
                  std::vector<std::vector<std::string>>{{c.expected}})
            << c.start;
        clear_double_calls();
        toggle_pause(session); // plays again: nothing is saved
        EXPECT_EQ(property_writes(calls()), Strings{"pause 3 0"});
        EXPECT_TRUE(synchronous_commands(calls()).empty());
    }
}

TEST_F(DoublePlayerTest, PlayAtTheEndStartsAgain) {
    use_scenario({{"default", {{"duration", 1.0}, {"playing", true}}}});
    start();
    open_and_wait("/videos/short.mkv");
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.end_of_file; }));
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.paused; }));
    clear_double_calls();
    toggle_pause(session);
    EXPECT_EQ(asynchronous_commands(calls()),
              (std::vector<std::vector<std::string>>{{"seek", "0", "absolute+exact"}}));
    EXPECT_EQ(property_writes(calls()), Strings{"pause 3 0"});
    // Seen between two drains, before the file reaches its end again.
    ASSERT_TRUE(pump_until(
        session, [&] { return !session.playback.end_of_file && !session.playback.paused; }));
    // The end of the file forgets the position whatever the time says.
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.end_of_file; }));
    clear_double_calls();
    save_resume_position(session);
    EXPECT_EQ(synchronous_commands(calls()),
              std::vector<std::vector<std::string>>{{"delete-watch-later-config"}});
}

TEST_F(DoublePlayerTest, CommandsOnTheFileNeedALoadedFileButTheSpeedDoesNot) {
    start();
    clear_double_calls();
    toggle_pause(session);
    seek_to(session, 10, true);
    seek_by(session, 5);
    step_frame(session, true);
    save_resume_position(session);
    EXPECT_TRUE(calls().empty());
    step_speed(session, +1);
    step_speed(session, +1);
    step_speed(session, -1);
    step_speed(session, 0);
    EXPECT_EQ(property_writes(calls()),
              (Strings{"speed 5 1.25", "speed 5 1.5", "speed 5 1.25", "speed 5 1.0"}));
    EXPECT_EQ(messages(), (Messages{{"Speed: ×1.25", "1000"},
                                    {"Speed: ×1.5", "1000"},
                                    {"Speed: ×1.25", "1000"},
                                    {"Speed: ×1", "1000"}}));
}

TEST_F(DoublePlayerTest, SeeksAndFrameSteps) {
    use_scenario({{"default", {{"duration", 100}}}});
    start();
    open_and_wait("/videos/clip.mkv");
    clear_double_calls();
    seek_to(session, 12.3456, true);
    seek_to(session, 5, false);
    step_frame(session, true);
    step_frame(session, false);
    seek_by(session, -5);
    seek_by(session, 10);
    EXPECT_EQ(asynchronous_commands(calls()),
              (std::vector<std::vector<std::string>>{{"seek", "12.346", "absolute+exact"},
                                                     {"seek", "5.000", "absolute+keyframes"},
                                                     {"frame-step"},
                                                     {"frame-back-step"}}));
    std::vector<std::string> lines;
    for (const json& call : calls_of(calls(), "mpv_command_string")) {
        lines.push_back(call.at("command").get<std::string>());
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"osd-msg-bar seek -5 relative+exact",
                                               "osd-msg-bar seek 10 relative+exact"}));
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.time_position == 10; }));
}

TEST_F(DoublePlayerTest, VolumeIsClampedRoundedAndUnmutes) {
    settings.volume = 97;
    settings.mute = true;
    start();
    struct Step {
        double requested;
        bool message;
        Strings writes;
        Messages shown;
        double volume;
        bool muted;
    };
    const std::vector<Step> steps{
        {0, false, {"volume 5 0.0"}, {}, 0, true},
        {102, true, {"volume 5 100.0", "mute 3 0"}, {{"Volume: 100%", "1000"}}, 100, false},
        {-3, true, {"volume 5 0.0"}, {{"Volume: 0%", "1000"}}, 0, false},
        {42.5, false, {"volume 5 43.0"}, {}, 43, false},
        {std::nan(""), false, {"volume 5 0.0"}, {}, 0, false},
    };
    for (const Step& step : steps) {
        clear_double_calls();
        const std::size_t repaints = invalidation_count(control_bar);
        set_volume(session, step.requested, step.message);
        EXPECT_EQ(property_writes(calls()), step.writes) << step.requested;
        EXPECT_EQ(messages(), step.shown) << step.requested;
        EXPECT_EQ(session.playback.volume, step.volume);
        EXPECT_EQ(session.playback.muted, step.muted);
        EXPECT_EQ(invalidation_count(control_bar), repaints + 1) << step.requested;
    }
    // The slider at any value above zero unmutes, even one that rounds to 0.
    toggle_mute(session);
    clear_double_calls();
    set_volume(session, 0.4, false);
    EXPECT_EQ(property_writes(calls()), (Strings{"volume 5 0.0", "mute 3 0"}));
    EXPECT_FALSE(session.playback.muted);
    LanguageGuard french(Language::French);
    clear_double_calls();
    set_volume(session, 103, true);
    EXPECT_EQ(messages(), (Messages{{"Volume : 100 %", "1000"}}));
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.volume == 100; }));
}

TEST_F(DoublePlayerTest, MuteTogglesWithAMessage) {
    start();
    clear_double_calls();
    toggle_mute(session);
    EXPECT_TRUE(session.playback.muted);
    toggle_mute(session);
    EXPECT_FALSE(session.playback.muted);
    {
        LanguageGuard french(Language::French);
        toggle_mute(session);
        toggle_mute(session);
    }
    EXPECT_EQ(property_writes(calls()), (Strings{"mute 3 1", "mute 3 0", "mute 3 1", "mute 3 0"}));
    EXPECT_EQ(
        messages(),
        (Messages{
            {"Muted", "1000"}, {"Sound on", "1000"}, {"Muet", "1000"}, {"Son activé", "1000"}}));
}

TEST_F(DoublePlayerTest, SpeedStepsStopAtTheEndsOfTheTable) {
    settings.mpv_options = "speed=0.8";
    start();
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.speed == 0.8; }));
    open_and_wait("/videos/clip.mkv");
    clear_double_calls();
    step_speed(session, +1); // 0.8 is not in the table: it counts as 1.0
    for (int i = 0; i < 7; ++i) {
        step_speed(session, +1);
    }
    step_speed(session, 0);
    for (int i = 0; i < 4; ++i) {
        step_speed(session, -1);
    }
    {
        LanguageGuard french(Language::French);
        step_speed(session, -1);
    }
    const Messages expected{
        {"Speed: ×1.25", "1000"}, {"Speed: ×1.5", "1000"},    {"Speed: ×1.75", "1000"},
        {"Speed: ×2", "1000"},    {"Speed: ×3", "1000"},      {"Speed: ×4", "1000"},
        {"Speed: ×4", "1000"},    {"Speed: ×4", "1000"},      {"Speed: ×1", "1000"},
        {"Speed: ×0.75", "1000"}, {"Speed: ×0.5", "1000"},    {"Speed: ×0.25", "1000"},
        {"Speed: ×0.25", "1000"}, {"Vitesse : ×0.25", "1000"}};
    EXPECT_EQ(messages(), expected);
    EXPECT_EQ(property_writes(calls()).back(), "speed 5 0.25");
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.speed == 0.25; }));
}

TEST_F(DoublePlayerTest, ClosingSavesPositionPlacementAndSoundThenEnds) {
    TemporaryFolder app_data("appdata");
    ScopedEnvironment variable("APPDATA", path_to_utf8(app_data.path));
    start();
    open_and_wait("/videos/clip.mkv");
    set_volume(session, 55, false);
    toggle_mute(session);
    shell_record().placements[main_window] = {{10, 20, 810, 620}, true};
    clear_double_calls();
    close_player(session, settings, main_window, std::nullopt);
    const std::vector<json> closing = calls();
    ASSERT_EQ(closing.size(), 2u);
    EXPECT_EQ(closing[0].at("args"), json::array({"write-watch-later-config"}));
    EXPECT_EQ(closing[1].at("call"), "mpv_terminate_destroy");
    EXPECT_FALSE(session.player.has_value());
    EXPECT_EQ(shell_record().hidden, std::vector<ShellWindow>{main_window});
    EXPECT_EQ(settings.window, (WindowRect{10, 20, 810, 620}));
    EXPECT_TRUE(settings.maximized);
    EXPECT_EQ(settings.volume, 55);
    EXPECT_TRUE(settings.mute);
    EXPECT_EQ(read_file_bytes(settings_path()), format_settings(settings));

    // Nothing reaches libmpv any more.
    pump_events(session);
    show_text(session, "late", 1000);
    open_file(session, "/videos/other.mkv");
    set_volume(session, 10, true);
    EXPECT_EQ(calls().size(), 2u);
}

TEST_F(DoublePlayerTest, ClosingInFullScreenKeepsTheWindowedPlacement) {
    struct Case {
        std::optional<ShellPlacement> full_screen;
        ShellPlacement window;
        std::optional<WindowRect> expected; // never maximized
    };
    const WindowRect saved{1, 2, 3, 4};
    const Case cases[] = {
        {ShellPlacement{{5, 6, 700, 500}, false}, {{0, 0, 1920, 1080}, true}, {{5, 6, 700, 500}}},
        // An empty window placement keeps the saved one and is not taken as maximized.
        {std::nullopt, {{100, 100, 100, 400}, true}, saved},
        {std::nullopt, {{100, 400, 300, 400}, true}, saved},
        {std::nullopt, {}, saved},
    };
    TemporaryFolder app_data("appdata");
    ScopedEnvironment variable("APPDATA", path_to_utf8(app_data.path));
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        settings = Settings{};
        settings.window = saved;
        start();
        set_volume(session, 12, false);
        shell_record().placements[main_window] = c.window;
        close_player(session, settings, main_window, c.full_screen);
        EXPECT_EQ(settings.window, c.expected);
        EXPECT_FALSE(settings.maximized);
        EXPECT_EQ(settings.volume, 12);
        EXPECT_EQ(load_settings().window, c.expected);
    }
}

TEST_F(DoublePlayerTest, ClosingWithoutAPlayerWritesNoSettings) {
    // The window of a start that failed, closed while its error is on screen.
    TemporaryFolder app_data("appdata");
    ScopedEnvironment variable("APPDATA", path_to_utf8(app_data.path));
    settings.volume = 12;
    shell_record().placements[main_window] = {{10, 20, 810, 620}, true};
    close_player(session, settings, main_window, std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(settings_path()));
    EXPECT_FALSE(settings.window.has_value());
    EXPECT_TRUE(shell_record().hidden.empty());
}

} // namespace
} // namespace ondrel
