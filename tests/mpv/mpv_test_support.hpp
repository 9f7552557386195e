// Helpers shared by the playback tests: a session around a loaded libmpv (the real one or the
// test double), a message loop that takes the posted wake-ups, and ways to see what was sent.
#pragma once

#include "i18n/language.hpp"
#include "mpv/loader.hpp"
#include "mpv/player.hpp"
#include "support/language_guard.hpp"

#include <nlohmann/json.hpp>

#include <chrono>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ondrel {
// Every field by name, so that a failed comparison of two mirrors says where they differ.
void PrintTo(const PlaybackState& state, std::ostream* out);
} // namespace ondrel

namespace ondrel::testing {

// Fake window handles; the recording seam only compares them.
inline constexpr ShellWindow main_window = 0x1000;
inline constexpr ShellWindow video_window = 0x2000;
inline constexpr ShellWindow control_bar = 0x3000;

inline PlayerWindows fake_windows() {
    return {main_window, video_window, control_bar};
}

// Clears the wake-up byte and the shell record, so each test starts from a quiet desktop.
void reset_desktop();

// The test's message loop: takes posted wake-ups and pumps the events until the condition
// holds; false when no wake-up came within the timeout.
bool pump_until(PlayerSession& session, const std::function<bool()>& condition,
                std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Pumps whatever arrives within the time (for checks that something does not happen).
void pump_for(PlayerSession& session, std::chrono::milliseconds time);

// Ends the player if the test left it running.
void stop_player(PlayerSession& session);

// A spy in front of libmpv: the commands and reads go through it to the real functions.
struct SpiedCall {
    std::string function; // "command", "command_async", "command_string", "get_property"
    std::vector<std::string> arguments;
};
MpvApi spy_on(const MpvApi& real);
std::vector<SpiedCall>& spied_calls();

// The on-screen messages among the spied calls: text and milliseconds.
std::vector<std::pair<std::string, std::string>> spied_messages();

} // namespace ondrel::testing
