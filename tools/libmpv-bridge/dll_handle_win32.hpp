// The Windows half: what one mpv_handle of the bridge holds. The program sees an opaque
// mpv_handle*; here it is the connection to the helper, the events received from it, the
// window the picture is drawn in and the record of calls.
#pragma once

#include "platform/win32/handles.hpp"
#include "platform/win32/wide.hpp"
#include "protocol.hpp"
#include "socket.hpp"

#include <mpv/client.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace bridge {

struct Reply {
    int result = 0;
    Value value;
};

// The picture: the newest frame from the helper, drawn by a thread of its own into a child
// window that covers the program's video window, as libmpv does on Windows.
struct Video {
    HWND parent = nullptr;
    std::atomic<HWND> window{nullptr}; // created by the drawing thread, read by the reader
    std::thread thread;
    ondrel::UniqueHandle created; // set once the window exists (or could not be made)
    ondrel::UniqueHandle ended;   // set when the drawing thread is about to end
    std::mutex lock;              // guards the frame below
    std::vector<std::uint8_t> frame;
    int frame_width = 0;
    int frame_height = 0;
    std::atomic<std::uint64_t> frames_shown{0};
    int reported_width = -1;
    int reported_height = -1;
    // On-screen text drawn here once the helper, which draws libmpv's, is gone.
    std::wstring notice; // guarded by lock
};

// Storage behind the mpv_event that mpv_wait_event returns; valid until the next call.
struct CurrentEvent {
    mpv_event event{};
    Event source;
    mpv_event_property property{};
    mpv_event_end_file end_file{};
    mpv_event_start_file start_file{};
    mpv_event_log_message log_message{};
    mpv_event_client_message client_message{};
    std::vector<const char*> client_arguments;
    int flag = 0;
    std::int64_t integer = 0;
    double number = 0;
    char* text = nullptr;
};

} // namespace bridge

struct mpv_handle {
    bridge::Channel channel;
    std::mutex call_lock; // one request and its reply at a time
    std::mutex lock;      // guards everything below
    std::condition_variable changed;
    std::optional<bridge::Reply> reply;
    bool helper_gone = false;
    bool terminating = false; // the program asked for the end: the helper's going is no failure
    // A loadfile sent whose START_FILE has not come yet, and a file between START_FILE and
    // END_FILE: a helper lost then ends that file with an error, as a failed load would.
    bool file_expected = false;
    bool file_playing = false;
    std::int64_t playlist_entry_id = 0;
    std::deque<bridge::Event> events;
    void (*wakeup)(void*) = nullptr;
    void* wakeup_context = nullptr;
    std::thread reader;
    bridge::CurrentEvent current;
    bridge::Video video;
    std::string record_path; // the call record, when asked for
};

namespace bridge {

// Starts the helper and waits for it to connect; null when it cannot be started or does not
// answer.
mpv_handle* start_helper();

// Sends a request and waits for its reply; a helper that is gone gives MPV_ERROR_GENERIC.
Reply call(mpv_handle* handle, Writer& request);
// Sends a message that has no reply.
void notify(mpv_handle* handle, Writer& message);

// Whether the helper has gone (died, or ended as asked).
bool helper_gone(mpv_handle* handle);
// Called around a loadfile: true before it is sent, false when it failed.
void expect_file(mpv_handle* handle, bool expected);

// Takes the next event, waiting up to `timeout` seconds (negative: for ever, 0: not at all).
std::optional<Event> next_event(mpv_handle* handle, double timeout);

// Ends the helper, waits until it has gone and releases everything the handle holds.
void stop_helper(mpv_handle* handle);

// The picture: started once the program has said where it goes; stopped before the end.
void start_video(mpv_handle* handle, HWND parent);
void receive_frame(mpv_handle* handle, std::vector<std::uint8_t> message);
void stop_video(mpv_handle* handle);
// The helper died: the last frame is no longer true, the video area turns black.
void drop_picture(mpv_handle* handle);
// Shows `text` over the picture for `milliseconds` (an empty text clears it).
void show_notice(mpv_handle* handle, std::string_view text, unsigned milliseconds);

// Fills handle->current from an event and returns the mpv_event the program reads.
mpv_event* present_event(mpv_handle* handle, Event event);

// Windows <-> Unix paths through Wine's own functions, found at run time; nothing outside
// Wine or when the path cannot be translated.
std::optional<std::string> unix_path(std::string_view windows_path);
std::optional<std::string> windows_path(std::string_view unix_path);

} // namespace bridge
