#include "real_player_fixture.hpp"

namespace ondrel {
namespace {

using namespace ondrel::testing;
using Messages = std::vector<std::pair<std::string, std::string>>;

bool shown(const std::string& text) {
    for (const auto& message : spied_messages()) {
        if (message.first == text) {
            return true;
        }
    }
    return false;
}

TEST_F(RealPlayerTest, TheUsersOptionsComeLastAndWin) {
    settings.mpv_options = "vo=null;ao=null;sub-font-size=50 ; ; novalue ;hwdec = no";
    settings.volume = 62.5;
    start();
    EXPECT_EQ(read_text("vo"), "null");
    EXPECT_EQ(read_text("hwdec"), "no"); // ours said auto-safe
    EXPECT_EQ(read_text("sub-font-size"), "50.000000");
    // Ours are in force where the user said nothing.
    EXPECT_EQ(read_text("wid"), std::to_string(video_window));
    EXPECT_EQ(read_text("keep-open"), "yes");
    EXPECT_EQ(read_text("volume-max"), "100.000000");
    EXPECT_EQ(read_text("volume"), "63.000000");
    EXPECT_EQ(read_text("watch-later-directory"), path_to_utf8(watch_later.path));
    EXPECT_EQ(read_text("osd-font-size"), "36.000000");
    EXPECT_EQ(read_text("sub-auto"), "fuzzy");
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.volume == 63; }));
    EXPECT_EQ(wakeup_statistics().last_window, main_window);
}

TEST_F(RealPlayerTest, FileLoadedReachesTheMirror) {
    start();
    shell_record().foreground = main_window;
    const auto clip = playback_clip("plain.mkv");
    open_and_wait(clip);
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.time_position > 0.1; }));
    EXPECT_NEAR(session.playback.duration, 10, 0.1);
    EXPECT_FALSE(session.playback.paused);
    EXPECT_FALSE(session.playback.end_of_file);
    EXPECT_EQ(session.playback.current_file, path_to_utf8(clip));
    EXPECT_EQ(shell_record().titles.back().second, "plain.mkv — Ondrel");
    EXPECT_EQ(shell_record().focus_given, std::vector<ShellWindow>{main_window});
    EXPECT_GE(invalidation_count(control_bar), 3u);
    EXPECT_FALSE(shown("Resuming at 0:00"));
}

TEST_F(RealPlayerTest, ASecondFileOpenedWhileTheFirstIsPausedStartsPlaying) {
    start();
    open_and_wait(playback_clip("plain.mkv"));
    pause_and_wait();
    seek_and_wait(3);
    std::filesystem::remove_all(watch_later.path);
    std::filesystem::create_directories(watch_later.path);

    open_and_wait(playback_clip("second.mkv"));
    EXPECT_EQ(remembered_files(), 1u); // the first file's, written on leaving it
    ASSERT_TRUE(pump_until(
        session, [&] { return !session.playback.paused && session.playback.time_position > 0.1; }));
    EXPECT_EQ(read_text("pause"), "no");
    EXPECT_NEAR(session.playback.duration, 10, 0.1);

    // Back to the first one: libmpv resumes it where it was left.
    open_and_wait(playback_clip("plain.mkv"));
    EXPECT_TRUE(shown("Resuming at 0:03"));
}

TEST_F(RealPlayerTest, OnlyPositionsAboveOneSecondAreAnnounced) {
    struct Case {
        double position;
        Language language;
        std::optional<std::string> message;
    };
    const Case cases[] = {
        {0.8, Language::English, std::nullopt},
        {1.5, Language::English, "Resuming at 0:01"},
        {1.5, Language::French, "Reprise à 0:01"},
    };
    start();
    TemporaryFolder copies("clips");
    int number = 0;
    for (const Case& c : cases) {
        LanguageGuard language(c.language);
        // A file of its own for each case: libmpv 0.35 keeps the first resume position of a
        // file resumed once when "start" is among watch-later-options (mpv issue 9174).
        const std::filesystem::path clip =
            copies.path / ("clip-" + std::to_string(++number) + ".mkv");
        std::filesystem::copy_file(playback_clip("plain.mkv"), clip);
        open_and_wait(clip);
        pause_and_wait();
        seek_and_wait(c.position);
        save_resume_position(session);
        open_and_wait(playback_clip("second.mkv"));
        spied_calls().clear();
        open_and_wait(clip);
        EXPECT_GE(session.playback.time_position, c.position - 0.01);
        Messages resumed;
        for (const auto& message : spied_messages()) {
            if (message.second == "2000") {
                resumed.push_back(message);
            }
        }
        const Messages expected = c.message ? Messages{{*c.message, "2000"}} : Messages{};
        EXPECT_EQ(resumed, expected) << c.position;
    }
}

TEST_F(RealPlayerTest, FilesOfTheSameLengthEachShowTheirDuration) {
    start();
    for (int i = 0; i < 6; ++i) {
        open_and_wait(playback_clip(i % 2 == 0 ? "plain.mkv" : "second.mkv"));
        EXPECT_NEAR(session.playback.duration, 10, 0.1) << i;
    }
}

TEST_F(RealPlayerTest, PausingInTheLastFiveSecondsForgetsThePosition) {
    start();
    open_and_wait(playback_clip("plain.mkv"));
    pause_and_wait();
    EXPECT_EQ(remembered_files(), 1u);

    seek_and_wait(5.5);
    toggle_pause(session); // plays
    toggle_pause(session); // pauses at 5.5 and a little: within the last five seconds
    EXPECT_EQ(remembered_files(), 0u);

    seek_and_wait(4.5);
    toggle_pause(session);
    toggle_pause(session);
    EXPECT_EQ(remembered_files(), 1u);
}

TEST_F(RealPlayerTest, AFileThatCannotBePlayedIsNamed) {
    struct Case {
        Language language;
        std::string expected;
    };
    const Case cases[] = {
        {Language::English, "Cannot play \"missing clip.mkv\""},
        {Language::French, "Impossible de lire « missing clip.mkv »"},
    };
    start();
    for (const Case& c : cases) {
        LanguageGuard language(c.language);
        spied_calls().clear();
        open_file(session, path_to_utf8(watch_later.path / "missing clip.mkv"));
        ASSERT_TRUE(pump_until(session, [&] {
            return !spied_messages().empty() && spied_messages().back().second == "5000";
        }));
        EXPECT_EQ(spied_messages().back().first, c.expected);
        EXPECT_FALSE(session.playback.file_loaded);
    }
}

TEST_F(RealPlayerTest, SpeedStepsAtTheEndsOfTheTable) {
    settings.mpv_options = "vo=null;ao=null;speed=0.8";
    start();
    ASSERT_TRUE(pump_until(session, [&] { return session.playback.speed == 0.8; }));
    open_and_wait(playback_clip("plain.mkv"));
    step_speed(session, +1);
    ASSERT_TRUE(pump_until(session, [&] { return read_text("speed") == "1.250000"; }));
    for (int i = 0; i < 7; ++i) {
        step_speed(session, +1);
    }
    EXPECT_EQ(spied_messages().back(),
              std::make_pair(std::string("Speed: ×4"), std::string("1000")));
    ASSERT_TRUE(pump_until(session, [&] { return read_text("speed") == "4.000000"; }));
    for (int i = 0; i < 10; ++i) {
        step_speed(session, -1);
    }
    // The mirror settles on libmpv's value once the changes of the earlier steps are in.
    ASSERT_TRUE(pump_until(session, [&] {
        return read_text("speed") == "0.250000" && session.playback.speed == 0.25;
    }));
    step_speed(session, 0);
    ASSERT_TRUE(pump_until(session, [&] { return read_text("speed") == "1.000000"; }));
}

TEST_F(RealPlayerTest, VolumeAndMute) {
    settings.volume = 97;
    start();
    open_and_wait(playback_clip("plain.mkv"));
    set_volume(session, session.playback.volume + 5, true);
    EXPECT_EQ(spied_messages().back().first, "Volume: 100%");
    ASSERT_TRUE(pump_until(session, [&] { return read_text("volume") == "100.000000"; }));

    toggle_mute(session);
    ASSERT_TRUE(pump_until(session, [&] { return read_text("mute") == "yes"; }));
    set_volume(session, 0, false); // the slider at 0 % keeps the sound off
    ASSERT_TRUE(pump_until(session, [&] { return read_text("volume") == "0.000000"; }));
    EXPECT_EQ(read_text("mute"), "yes");
    EXPECT_TRUE(session.playback.muted);
    set_volume(session, 30, false);
    ASSERT_TRUE(pump_until(session, [&] {
        return read_text("mute") == "no" && !session.playback.muted &&
               session.playback.volume == 30;
    }));
}

} // namespace
} // namespace ondrel
