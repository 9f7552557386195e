#include "helper_session.hpp"

namespace bridge {
namespace {

Value property_value(const mpv_event_property& property) {
    Value value;
    switch (property.format) {
    case MPV_FORMAT_STRING:
    case MPV_FORMAT_OSD_STRING:
        value.format = property.format == MPV_FORMAT_STRING ? Format::string : Format::osd_string;
        value.text = *static_cast<char**>(property.data);
        break;
    case MPV_FORMAT_FLAG:
        value.format = Format::flag;
        value.integer = *static_cast<int*>(property.data);
        break;
    case MPV_FORMAT_INT64:
        value.format = Format::int64;
        value.integer = *static_cast<std::int64_t*>(property.data);
        break;
    case MPV_FORMAT_DOUBLE:
        value.format = Format::double_;
        value.number = *static_cast<double*>(property.data);
        break;
    default:
        // Nodes and other structured values do not cross; the event says "no value".
        break;
    }
    return value;
}

Event describe(const mpv_event& source) {
    Event event;
    event.id = static_cast<std::uint32_t>(source.event_id);
    event.error = source.error;
    event.reply_userdata = source.reply_userdata;
    switch (source.event_id) {
    case MPV_EVENT_PROPERTY_CHANGE:
    case MPV_EVENT_GET_PROPERTY_REPLY: {
        const auto& property = *static_cast<mpv_event_property*>(source.data);
        event.name = property.name;
        event.value = property_value(property);
        break;
    }
    case MPV_EVENT_END_FILE: {
        const auto& end = *static_cast<mpv_event_end_file*>(source.data);
        event.end_reason = end.reason;
        event.end_error = end.error;
        event.playlist_entry_id = end.playlist_entry_id;
        break;
    }
    case MPV_EVENT_START_FILE:
        event.playlist_entry_id =
            static_cast<mpv_event_start_file*>(source.data)->playlist_entry_id;
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto& message = *static_cast<mpv_event_log_message*>(source.data);
        event.name = message.prefix;
        event.texts = {message.level, message.text};
        event.log_level = message.log_level;
        break;
    }
    case MPV_EVENT_CLIENT_MESSAGE: {
        const auto& message = *static_cast<mpv_event_client_message*>(source.data);
        for (int index = 0; index < message.num_args; ++index) {
            event.texts.emplace_back(message.args[index]);
        }
        break;
    }
    default:
        break;
    }
    return event;
}

void on_wakeup(void* context) {
    auto& events = *static_cast<EventForwarder*>(context);
    const std::lock_guard lock(events.lock);
    events.pending = true;
    events.wake.notify_one();
}

void forward_events(HelperSession& session) {
    EventForwarder& events = session.events;
    for (;;) {
        {
            std::unique_lock lock(events.lock);
            events.wake.wait(lock, [&] { return events.pending || events.stop; });
            if (events.stop) {
                return;
            }
            events.pending = false;
        }
        for (;;) {
            const mpv_event* event = mpv_wait_event(session.mpv, 0);
            if (event->event_id == MPV_EVENT_NONE) {
                break;
            }
            Writer message(Kind::event);
            message.event(describe(*event));
            if (!session.channel.send(message)) {
                return;
            }
        }
    }
}

} // namespace

void start_event_forwarding(HelperSession& session) {
    mpv_set_wakeup_callback(session.mpv, on_wakeup, &session.events);
    session.events.thread = std::thread(forward_events, std::ref(session));
}

void stop_event_forwarding(HelperSession& session) {
    if (!session.events.thread.joinable()) {
        return;
    }
    mpv_set_wakeup_callback(session.mpv, nullptr, nullptr);
    {
        const std::lock_guard lock(session.events.lock);
        session.events.stop = true;
        session.events.wake.notify_one();
    }
    session.events.thread.join();
}

} // namespace bridge
