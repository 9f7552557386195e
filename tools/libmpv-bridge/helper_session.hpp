// The native half: one libmpv handle driven by the requests of the DLL, with a thread that
// forwards libmpv's events and one that renders the picture in software and sends it.
#pragma once

#include "socket.hpp"

#include <mpv/client.h>
#include <mpv/render.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace bridge {

struct EventForwarder {
    std::mutex lock;
    std::condition_variable wake;
    bool pending = false;
    bool stop = false;
    std::thread thread;
};

struct Renderer {
    mpv_render_context* context = nullptr;
    std::mutex lock;
    std::condition_variable wake;
    bool update_pending = false;
    bool stop = false;
    int width = 0; // the size the DLL asks for; 0 until it reports its window
    int height = 0;
    bool size_changed = false;
    bool may_send = true; // the DLL has drawn the last frame sent
    std::thread thread;
};

// Turns the frames of a file that declares a rotation (libmpv is told not to).
struct Turner {
    mpv_handle* client = nullptr; // a client of its own, so its events stay in the helper
    std::atomic<bool> stop{false};
    std::thread thread;
};

struct HelperSession {
    Channel channel;
    mpv_handle* mpv = nullptr;
    // force-window waits until the renderer exists, or libmpv would open its output without it.
    std::optional<std::string> force_window;
    EventForwarder events;
    Renderer renderer;
    Turner turner;
};

// Runs the event forwarder until stopped.
void start_event_forwarding(HelperSession& session);
void stop_event_forwarding(HelperSession& session);

// Creates the software render context on the handle and starts rendering; false when libmpv
// refuses it (the program then plays without picture).
bool start_rendering(HelperSession& session);
void stop_rendering(HelperSession& session);
void resize_output(HelperSession& session, int width, int height);

// Watches the rotation of the playing video and turns its frames by a filter; once libmpv
// has started.
void start_turning(HelperSession& session);
void stop_turning(HelperSession& session);
void frame_shown(HelperSession& session);

} // namespace bridge
