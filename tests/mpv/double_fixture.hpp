// A player running on the libmpv test double, with a scenario and a watch-later folder of its
// own.
#pragma once

#include "double_support.hpp"
#include "mpv_test_support.hpp"
#include "platform/files.hpp"
#include "support/shell_seam_recording.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace ondrel::testing {

class DoublePlayerTest : public ::testing::Test {
protected:
    TemporaryFolder watch_later{"watch-later"};
    std::optional<DoubleScenario> scenario;
    PlayerSession session;
    Settings settings;

    void SetUp() override {
        reset_desktop();
        clear_double_calls();
    }

    void TearDown() override { stop_player(session); }

    void use_scenario(const nlohmann::json& json) { scenario.emplace(json); }

    void start() {
        Result<LoadedMpv> mpv = load_libmpv_from(double_library());
        ASSERT_TRUE(mpv.ok()) << mpv.error();
        session.playback = initial_playback(settings);
        const Status started = start_player(session, std::move(mpv.value()), fake_windows(),
                                            settings, path_to_utf8(watch_later.path));
        ASSERT_TRUE(started.ok()) << started.error();
        // The initial property values arrive through the first wake-up.
        ASSERT_TRUE(pump_until(session, [&] { return wakeup_statistics().posted > 0; }));
    }

    void open_and_wait(std::string_view path) {
        open_file(session, path);
        ASSERT_TRUE(pump_until(session, [&] { return session.playback.file_loaded; }));
    }

    std::vector<nlohmann::json> calls() const { return double_calls(); }
    std::vector<std::pair<std::string, std::string>> messages() const {
        return double_messages(double_calls());
    }
};

} // namespace ondrel::testing
