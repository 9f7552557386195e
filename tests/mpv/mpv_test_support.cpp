#include "mpv_test_support.hpp"

#include "support/shell_seam_recording.hpp"

#include <ostream>
#include <thread>

namespace ondrel {

void PrintTo(const PlaybackState& s, std::ostream* out) {
    *out << "{file " << s.current_file.value_or("none") << (s.file_loaded ? " loaded" : "")
         << ", at " << s.time_position << " of " << s.duration << (s.paused ? ", paused" : "")
         << ", volume " << s.volume << (s.muted ? " muted" : "") << (s.end_of_file ? ", ended" : "")
         << ", speed " << s.speed << (s.subtitles_on ? ", subtitles" : "") << ", shown second "
         << s.last_whole_second << " step " << s.last_progress_step << "}";
}

} // namespace ondrel

namespace ondrel::testing {
namespace {

MpvApi spied_api;

std::vector<std::string> words_of(const char** args) {
    std::vector<std::string> words;
    for (; args != nullptr && *args != nullptr; ++args) {
        words.emplace_back(*args);
    }
    return words;
}

int spy_command(mpv_handle* handle, const char** args) {
    spied_calls().push_back({"command", words_of(args)});
    return spied_api.command(handle, args);
}

int spy_command_async(mpv_handle* handle, std::uint64_t reply, const char** args) {
    spied_calls().push_back({"command_async", words_of(args)});
    return spied_api.command_async(handle, reply, args);
}

int spy_command_string(mpv_handle* handle, const char* line) {
    spied_calls().push_back({"command_string", {line}});
    return spied_api.command_string(handle, line);
}

int spy_get_property(mpv_handle* handle, const char* name, mpv_format format, void* data) {
    spied_calls().push_back({"get_property", {name}});
    return spied_api.get_property(handle, name, format, data);
}

} // namespace

void reset_desktop() {
    PlayerSession nobody;
    pump_events(nobody); // clears the process-wide wake-up byte
    reset_shell_record();
    spied_calls().clear();
}

bool pump_until(PlayerSession& session, const std::function<bool()>& condition,
                std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !take_wakeup(left)) {
            return condition();
        }
        pump_events(session);
    }
}

void pump_for(PlayerSession& session, std::chrono::milliseconds time) {
    const auto deadline = std::chrono::steady_clock::now() + time;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return;
        }
        if (take_wakeup(left)) {
            pump_events(session);
        }
    }
}

void stop_player(PlayerSession& session) {
    session.player.reset();
}

MpvApi spy_on(const MpvApi& real) {
    spied_api = real;
    MpvApi api = real;
    api.command = spy_command;
    api.command_async = spy_command_async;
    api.command_string = spy_command_string;
    api.get_property = spy_get_property;
    return api;
}

std::vector<SpiedCall>& spied_calls() {
    static std::vector<SpiedCall> calls;
    return calls;
}

std::vector<std::pair<std::string, std::string>> spied_messages() {
    std::vector<std::pair<std::string, std::string>> messages;
    for (const SpiedCall& call : spied_calls()) {
        if (call.function == "command_async" && call.arguments.size() == 3 &&
            call.arguments[0] == "show-text") {
            messages.emplace_back(call.arguments[1], call.arguments[2]);
        }
    }
    return messages;
}

} // namespace ondrel::testing
