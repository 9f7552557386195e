// libmpv's software renderer aborts on a picture turned by 90 degrees (a phone video stored
// landscape with a display rotation). The DLL sets video-rotate=no, so libmpv never turns a
// picture itself, and this thread turns the frames instead with a filter chosen from the
// rotation the playing video declares.
#include "helper_session.hpp"

#include <cstdio>
#include <functional>
#include <string>

namespace bridge {
namespace {

constexpr char rotation_property[] = "current-tracks/video/demux-rotation";
constexpr char filter_label[] = "@ondrel-bridge-turn";

// The filter that turns a picture clockwise by `degrees`, or null when none is needed.
const char* turning_filter(std::int64_t degrees) {
    switch ((degrees % 360 + 360) % 360) {
    case 90:
        return "lavfi=[transpose=clock]";
    case 180:
        return "lavfi=[hflip,vflip]";
    case 270:
        return "lavfi=[transpose=cclock]";
    default:
        return nullptr;
    }
}

void turn_frames(HelperSession& session) {
    Turner& turner = session.turner;
    std::int64_t applied = 0;
    while (!turner.stop) {
        const mpv_event* event = mpv_wait_event(turner.client, -1);
        if (event->event_id == MPV_EVENT_SHUTDOWN) {
            return;
        }
        if (event->event_id != MPV_EVENT_PROPERTY_CHANGE) {
            continue;
        }
        const auto& property = *static_cast<const mpv_event_property*>(event->data);
        // No video, or none declared: upright as stored.
        const std::int64_t degrees = property.format == MPV_FORMAT_INT64
                                         ? *static_cast<const std::int64_t*>(property.data)
                                         : 0;
        if (degrees == applied) {
            continue;
        }
        applied = degrees;
        const char* remove[] = {"vf", "remove", filter_label, nullptr};
        mpv_command(turner.client, remove);
        if (const char* filter = turning_filter(degrees)) {
            const std::string labelled = std::string(filter_label) + ":" + filter;
            const char* add[] = {"vf", "add", labelled.c_str(), nullptr};
            mpv_command(turner.client, add);
        }
    }
}

} // namespace

void start_turning(HelperSession& session) {
    Turner& turner = session.turner;
    turner.client = mpv_create_client(session.mpv, "ondrel-bridge-turner");
    if (turner.client == nullptr ||
        mpv_observe_property(turner.client, 0, rotation_property, MPV_FORMAT_INT64) < 0) {
        std::fputs("libmpv bridge: rotated videos will not be turned upright\n", stderr);
        return;
    }
    turner.thread = std::thread(turn_frames, std::ref(session));
}

void stop_turning(HelperSession& session) {
    Turner& turner = session.turner;
    if (turner.client == nullptr) {
        return;
    }
    if (turner.thread.joinable()) {
        turner.stop = true;
        mpv_wakeup(turner.client);
        turner.thread.join();
    }
    mpv_destroy(turner.client);
    turner.client = nullptr;
}

} // namespace bridge
