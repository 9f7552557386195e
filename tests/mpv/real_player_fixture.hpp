// A player on the real libmpv, without video or audio output (the user's options, which come
// last, switch them to null), with a watch-later folder of its own. Every command and read
// passes through the spy.
#pragma once

#include "fixtures/playback_clips.hpp"
#include "mpv_test_support.hpp"
#include "platform/files.hpp"
#include "support/shell_seam_recording.hpp"
#include "support/temporary_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace ondrel::testing {

class RealPlayerTest : public ::testing::Test {
protected:
    TemporaryFolder watch_later{"watch-later"};
    PlayerSession session;
    Settings settings;

    void SetUp() override {
        reset_desktop();
        settings.mpv_options = "vo=null;ao=null";
    }

    void TearDown() override { stop_player(session); }

    void start() {
        Result<LoadedMpv> mpv = load_libmpv();
        ASSERT_TRUE(mpv.ok()) << mpv.error();
        LoadedMpv spied{spy_on(mpv.value().api), std::move(mpv.value().handle)};
        session.playback = initial_playback(settings);
        const Status started = start_player(session, std::move(spied), fake_windows(), settings,
                                            path_to_utf8(watch_later.path));
        ASSERT_TRUE(started.ok()) << started.error();
    }

    void open_and_wait(const std::filesystem::path& file) {
        open_file(session, path_to_utf8(file));
        ASSERT_TRUE(pump_until(session, [&] {
            return session.playback.file_loaded && session.playback.duration > 0;
        }));
    }

    // Pauses a playing file and waits until libmpv says so.
    void pause_and_wait() {
        ASSERT_TRUE(pump_until(session, [&] { return !session.playback.paused; }));
        toggle_pause(session);
        ASSERT_TRUE(pump_until(session, [&] { return session.playback.paused; }));
    }

    // Seeks exactly and waits until the mirror has the position.
    void seek_and_wait(double seconds) {
        seek_to(session, seconds, true);
        ASSERT_TRUE(pump_until(session, [&] {
            return std::fabs(session.playback.time_position - seconds) < 0.01;
        })) << session.playback.time_position;
    }

    std::size_t remembered_files() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(watch_later.path)) {
            ++count;
        }
        return count;
    }

    std::optional<std::string> read_text(const char* name) const {
        char* value = nullptr;
        if (session.player->api.get_property(session.player->handle.get(), name, MPV_FORMAT_STRING,
                                             &value) < 0) {
            return std::nullopt;
        }
        std::string text(value);
        session.player->api.free(value);
        return text;
    }
};

} // namespace ondrel::testing
