#include "mpv/player.hpp"
#include "mpv_test_support.hpp"
#include "scripted_mpv.hpp"
#include "support/shell_seam_recording.hpp"

#include <gtest/gtest.h>

#include <thread>

namespace ondrel {
namespace {

using namespace ondrel::testing;

class PumpEvents : public ::testing::Test {
protected:
    PlayerSession session;

    void SetUp() override {
        reset_desktop();
        session.player = Player{scripted_api(), scripted_handle(), main_window, control_bar};
    }

    void pump(std::initializer_list<ScriptedEvent> events) {
        scripted().events.insert(scripted().events.end(), events.begin(), events.end());
        pump_events(session);
    }

    std::vector<std::vector<std::string>> messages() const {
        std::vector<std::vector<std::string>> shown;
        for (const auto& command : scripted().commands) {
            if (!command.empty() && command[0] == "show-text") {
                shown.push_back(command);
            }
        }
        return shown;
    }
};

TEST_F(PumpEvents, PropertyValuesReachTheMirror) {
    pump({property_double(2, 600), property_double(1, 12.5), property_flag(3, true),
          property_double(4, 42), property_flag(5, true), property_flag(6, true),
          property_double(7, 1.5), property_string(8, "2")});
    // Second 12 and step 41 of 2000 are what the bar now shows.
    EXPECT_EQ(session.playback,
              (PlaybackState{{}, false, 12.5, 600, true, 42, true, true, 1.5, true, 12, 41}));
}

// A wrong format (a flag where a double is expected and the other way round) and no value at
// all both give the defaults; the volume alone keeps its value.
TEST_F(PumpEvents, UnexpectedFormatsGiveTheDefaults) {
    PlaybackState& p = session.playback;
    for (const bool none : {false, true}) {
        SCOPED_TRACE(none ? "no value" : "wrong format");
        p = PlaybackState{{}, true, 30, 600, true, 40, true, true, 2.0, true, 30, 100};
        for (std::uint64_t reply = 1; reply <= 8; ++reply) {
            const bool flag = reply == 3 || reply == 5 || reply == 6;
            pump({none   ? property_none(reply)
                  : flag ? property_double(reply, 1)
                         : property_flag(reply, true)});
        }
        EXPECT_EQ(p, (PlaybackState{{}, true, 0, 0, false, 40, false, false, 1.0, false, 0, 0}));
    }
}

TEST_F(PumpEvents, SubtitlesAreOnForAnyValidTextButNo) {
    struct Case {
        std::string sid;
        bool on;
    };
    const Case cases[] = {{"no", false}, {"1", true},     {"auto", true}, {"No", true},
                          {"", true},    {"\xFF", false}, {"no ", true}};
    for (const Case& c : cases) {
        session.playback.subtitles_on = !c.on;
        pump({property_string(8, c.sid)});
        EXPECT_EQ(session.playback.subtitles_on, c.on) << c.sid;
    }
}

TEST_F(PumpEvents, EveryUpdateButThePositionRepaintsTheBar) {
    pump({property_double(2, 600), property_flag(3, true), property_double(4, 42),
          property_flag(5, true), property_flag(6, true), property_double(7, 1.5),
          property_string(8, "no"), property_double(9, 1), property_double(0, 1)});
    EXPECT_EQ(invalidation_count(control_bar), 7u);
    EXPECT_EQ(invalidation_count(main_window), 0u);
}

TEST_F(PumpEvents, ThePositionRepaintsOnANewSecondOrProgressStep) {
    pump({property_double(2, 100)});
    reset_shell_record();
    struct Step {
        double position;
        bool repaints;
    };
    const Step steps[] = {
        {0.0, true},                  // the first position after the start (-1, -1)
        {0.01, false},                // same second, same 1/2000 step
        {0.049, false}, {0.05, true}, // step 1
        {0.06, false},  {0.99, true}, // step 19
        {1.0, true},                  // second 1, step 20
        {1.02, false},  {0.5, true},  // back
        {0.5, false},
    };
    for (const Step& step : steps) {
        const std::size_t before = invalidation_count(control_bar);
        pump({property_double(1, step.position)});
        EXPECT_EQ(invalidation_count(control_bar) - before, step.repaints ? 1u : 0u)
            << step.position;
        EXPECT_EQ(session.playback.time_position, step.position);
    }
    EXPECT_EQ(session.playback.last_whole_second, 0);
    EXPECT_EQ(session.playback.last_progress_step, 10);
}

// A seek bar 100 pixels wide over 60 s moves every 0.6 s: between two of its steps only a new
// second repaints.
TEST_F(PumpEvents, ThePositionRepaintsOnlyForWhatTheSeekBarCanShow) {
    pump({property_double(2, 60)});
    session.playback.progress_steps = 100;
    reset_shell_record();
    const struct {
        double position;
        bool repaints;
    } steps[] = {{0.0, true},  {0.3, false}, {0.59, false}, {0.61, true},
                 {0.9, false}, {1.0, true},  {1.1, false},  {1.21, true}};
    for (const auto& step : steps) {
        const std::size_t before = invalidation_count(control_bar);
        pump({property_double(1, step.position)});
        EXPECT_EQ(invalidation_count(control_bar) - before, step.repaints ? 1u : 0u)
            << step.position;
    }
}

TEST_F(PumpEvents, WithoutADurationOnlyWholeSecondsCount) {
    pump({property_double(1, 3.2), property_double(1, 3.9)});
    EXPECT_EQ(invalidation_count(control_bar), 1u);
    EXPECT_EQ(session.playback.last_progress_step, 0);
}

TEST_F(PumpEvents, DrainsUntilNoneAndStopsAtShutdown) {
    scripted().events = {
        property_double(4, 10), property_double(4, 20), {MPV_EVENT_NONE}, property_double(4, 30)};
    pump_events(session);
    EXPECT_EQ(session.playback.volume, 20);
    EXPECT_EQ(scripted().events.size(), 1u);

    scripted().events = {{MPV_EVENT_COMMAND_REPLY},
                         {MPV_EVENT_SET_PROPERTY_REPLY},
                         {MPV_EVENT_SHUTDOWN},
                         property_double(4, 50)};
    pump_events(session);
    EXPECT_EQ(session.playback.volume, 20);
    EXPECT_EQ(scripted().events.size(), 1u);
}

TEST_F(PumpEvents, FileLoadedResumesAboveOneSecond) {
    struct Case {
        std::optional<double> position;
        Language language;
        std::vector<std::vector<std::string>> expected;
    };
    const Case cases[] = {
        {75.4, Language::English, {{"show-text", "Resuming at 1:15", "2000"}}},
        {3725, Language::English, {{"show-text", "Resuming at 1:02:05", "2000"}}},
        {1.5, Language::French, {{"show-text", "Reprise à 0:01", "2000"}}},
        {1.0, Language::English, {}},
        {0.8, Language::English, {}},
        {std::nullopt, Language::English, {}},
    };
    for (const Case& c : cases) {
        LanguageGuard language(c.language);
        session.player->api = scripted_api();
        if (c.position) {
            scripted().doubles["time-pos"] = *c.position;
        }
        session.playback.end_of_file = true;
        pump({{MPV_EVENT_FILE_LOADED}});
        EXPECT_TRUE(session.playback.file_loaded);
        EXPECT_FALSE(session.playback.end_of_file);
        EXPECT_EQ(scripted().reads, 2); // the duration and the position, once each
        EXPECT_EQ(messages(), c.expected);
    }
}

// libmpv does not report a duration equal to the previous file's; the mirror reads it.
TEST_F(PumpEvents, FileLoadedReadsTheDuration) {
    scripted().doubles["duration"] = 600;
    session.playback.duration = 0;
    pump({{MPV_EVENT_FILE_LOADED}});
    EXPECT_EQ(session.playback.duration, 600);

    // A duration that cannot be read yet leaves the mirror as it is.
    session.player->api = scripted_api();
    session.playback.duration = 12;
    pump({{MPV_EVENT_FILE_LOADED}});
    EXPECT_EQ(session.playback.duration, 12);
}

TEST_F(PumpEvents, FileLoadedTakesTheFocusOnlyInTheForeground) {
    struct Case {
        ShellWindow foreground;
        ShellWindow focus;
        bool takes_focus;
    };
    const Case cases[] = {
        {main_window, 0, true},
        {main_window, video_window, true},
        {main_window, main_window, false},
        {0x4000, 0, false},
        {0, 0, false},
    };
    for (const Case& c : cases) {
        reset_shell_record();
        shell_record().foreground = c.foreground;
        shell_record().focus = c.focus;
        pump({{MPV_EVENT_FILE_LOADED}});
        EXPECT_EQ(shell_record().focus_given, c.takes_focus ? std::vector<ShellWindow>{main_window}
                                                            : std::vector<ShellWindow>{});
        EXPECT_EQ(invalidation_count(control_bar), 1u);
    }
}

TEST_F(PumpEvents, EndFileWithAnErrorNamesTheFile) {
    struct Case {
        std::optional<std::string> file;
        mpv_end_file_reason reason;
        Language language;
        const char* message; // shown for 5 s; nullptr: none
    };
    const auto error = MPV_END_FILE_REASON_ERROR;
    const Case cases[] = {
        {"C:\\Vidéos\\broken.mkv", error, Language::English, "Cannot play \"broken.mkv\""},
        {"C:\\Vidéos\\broken.mkv", error, Language::French, "Impossible de lire « broken.mkv »"},
        {"https://example.com/live/stream.m3u8", error, Language::English,
         "Cannot play \"stream.m3u8\""},
        {std::nullopt, error, Language::English, nullptr},
        {"C:\\a.mkv", MPV_END_FILE_REASON_EOF, Language::English, nullptr},
        {"C:\\a.mkv", MPV_END_FILE_REASON_STOP, Language::English, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.value_or("no file") + " " + std::to_string(c.reason));
        LanguageGuard language(c.language);
        session.player->api = scripted_api();
        reset_shell_record();
        session.playback.current_file = c.file;
        session.playback.file_loaded = true;
        pump({end_file(c.reason)});
        EXPECT_FALSE(session.playback.file_loaded);
        using Shown = std::vector<std::vector<std::string>>;
        EXPECT_EQ(messages(), (c.message ? Shown{{"show-text", c.message, "5000"}} : Shown{}));
        EXPECT_EQ(invalidation_count(control_bar), 1u);
    }
}

TEST(Wakeup, OneMessageUntilTheEventsAreDrained) {
    reset_desktop();
    mpv_wakeup(reinterpret_cast<void*>(main_window));
    mpv_wakeup(reinterpret_cast<void*>(main_window));
    std::thread other([] { mpv_wakeup(reinterpret_cast<void*>(main_window)); });
    other.join();
    WakeupStatistics statistics = wakeup_statistics();
    EXPECT_EQ(statistics.posted, 1u);
    EXPECT_EQ(statistics.last_window, main_window);

    // Draining clears the byte even with no player, so the next event posts again.
    PlayerSession nobody;
    pump_events(nobody);
    std::thread after([] { mpv_wakeup(reinterpret_cast<void*>(main_window)); });
    const std::thread::id after_id = after.get_id();
    after.join();
    statistics = wakeup_statistics();
    EXPECT_EQ(statistics.posted, 2u);
    EXPECT_EQ(statistics.last_thread, after_id);
}

TEST(Wakeup, APostThatFailsDoesNotStopLaterWakeups) {
    reset_desktop();
    refuse_wakeup_posts(true);
    mpv_wakeup(reinterpret_cast<void*>(main_window));
    refuse_wakeup_posts(false);
    mpv_wakeup(reinterpret_cast<void*>(main_window));
    mpv_wakeup(reinterpret_cast<void*>(main_window));
    const WakeupStatistics statistics = wakeup_statistics();
    EXPECT_EQ(statistics.refused, 1u);
    EXPECT_EQ(statistics.posted, 1u);
}

TEST(Wakeup, NothingIsPumpedWithoutAPlayer) {
    reset_desktop();
    PlayerSession session;
    session.playback.volume = 33;
    pump_events(session);
    EXPECT_EQ(session.playback.volume, 33);
    EXPECT_TRUE(shell_record().invalidated.empty());
}

} // namespace
} // namespace ondrel
