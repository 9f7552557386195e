// The libmpv test double: a pretend player core behind libmpv's client API. One mpv_handle
// holds the playback state, the event queue and the thread that plays the scenario and calls
// the wake-up callback, like the real library's core thread.
#pragma once

#include <mpv/client.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

namespace mpv_double {

struct TrackSpec {
    std::int64_t id = 0;
    std::string type; // "audio" or "sub"
    std::string title;
    std::string lang;
    std::string codec;
    std::int64_t channels = 0; // 0: not known (always so for subtitles)
    bool is_default = false;
    bool external = false;
    bool type_unreadable = false; // reading track-list/N/type fails
};

// What happens when a file is opened.
struct FileSpec {
    double duration = 60;
    double start = 0;     // the position playback begins at when nothing is remembered
    bool fail = false;    // the file cannot be played: END_FILE with the error reason
    bool playing = false; // time-pos advances in real time while not paused
    int tick_ms = 50;     // how often time-pos moves on while playing
    std::vector<TrackSpec> tracks;
    std::optional<std::int64_t> aid; // the audio track selected at first; the first one if unset
    std::int64_t sid = 0;            // the subtitle track selected at first; 0 for none
};

struct Scenario {
    int initialize_result = 0;
    std::map<std::string, FileSpec> files; // by whole path or by file name
    std::optional<FileSpec> fallback;      // for files not listed
};

// The scenario file named by ONDREL_MPV_DOUBLE_SCENARIO; defaults when there is none.
Scenario read_scenario();
FileSpec file_for(const Scenario& scenario, const std::string& path);
std::optional<std::string> environment_text(const char* name);

// Appends one line to the call record (in memory and in ONDREL_MPV_DOUBLE_RECORD's file).
void record(const nlohmann::json& line);

// No value means "unavailable" (for example time-pos while no file is open).
using Value = std::variant<std::monostate, bool, std::int64_t, double, std::string>;

struct QueuedEvent {
    explicit QueuedEvent(mpv_event_id event = MPV_EVENT_NONE) : id(event) {}

    mpv_event_id id = MPV_EVENT_NONE;
    int error = 0;
    std::uint64_t reply = 0;
    std::string name;                    // property changes
    mpv_format format = MPV_FORMAT_NONE; // property changes
    Value value;                         // property changes
    mpv_end_file_reason reason = MPV_END_FILE_REASON_EOF;
};

// The event handed out by mpv_wait_event and everything it points to; valid until the next
// call, as with libmpv.
struct DeliveredEvent {
    mpv_event event{};
    mpv_event_property property{};
    mpv_event_end_file end_file{};
    std::string name;
    std::string text;
    char* text_pointer = nullptr;
    int flag = 0;
    std::int64_t integer = 0;
    double number = 0;
};

struct Observation {
    std::uint64_t reply = 0;
    std::string name;
    mpv_format format = MPV_FORMAT_NONE;
};

} // namespace mpv_double

// libmpv's handle type is opaque to its users; the double gives it its contents.
struct mpv_handle {
    std::mutex mutex;
    std::condition_variable changed;
    std::thread core;
    bool stopping = false;

    void (*wakeup)(void*) = nullptr;
    void* wakeup_context = nullptr;
    bool unannounced = false; // events queued since the client was last woken

    std::deque<mpv_double::QueuedEvent> queue;
    mpv_double::DeliveredEvent delivered;
    std::vector<mpv_double::Observation> observations;
    std::map<std::string, std::string> options; // set with mpv_set_option_string or "set"

    // Playback.
    std::optional<std::string> pending_load;
    bool loaded = false;
    std::string path;
    mpv_double::FileSpec file;
    std::vector<mpv_double::TrackSpec> tracks;
    double time_pos = 0;
    bool paused = false;
    double volume = 100;
    bool mute = false;
    double speed = 1;
    bool eof = false;
    std::int64_t aid = 0;
    std::int64_t sid = 0;
    std::chrono::steady_clock::time_point last_tick;
};

namespace mpv_double {

// All of these run with the handle's mutex held.
void queue_event(mpv_handle& h, QueuedEvent event);
Value property_value(const mpv_handle& h, const std::string& name);
// Writes the value in the requested format, as mpv_get_property does; an mpv error code.
int convert_value(const Value& value, mpv_format format, void* out);
// A property change event for every observation of `name`.
void announce(mpv_handle& h, const std::string& name);
void announce_playback(mpv_handle& h);
// A property write by name; an mpv error code.
int write_property(mpv_handle& h, const std::string& name, const Value& value);
// One command; an mpv error code.
int run_command(mpv_handle& h, const std::vector<std::string>& args);
// Completes a loadfile on the core thread.
void finish_load(mpv_handle& h);
// Moves the position on while playing.
void advance_time(mpv_handle& h, std::chrono::steady_clock::time_point now);

} // namespace mpv_double
