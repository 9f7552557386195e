#include "scripted_mpv.hpp"

namespace ondrel::testing {
namespace {

struct Delivered {
    mpv_event event{};
    mpv_event_property property{};
    mpv_event_end_file end{};
    std::string text;
    char* text_pointer = nullptr;
    double number = 0;
    int flag = 0;
};

Delivered delivered;

mpv_event* wait_event(mpv_handle*, double) {
    delivered = Delivered{};
    if (scripted().events.empty()) {
        return &delivered.event;
    }
    const ScriptedEvent next = scripted().events.front();
    scripted().events.pop_front();
    delivered.event.event_id = next.id;
    delivered.event.reply_userdata = next.reply;
    if (next.id == MPV_EVENT_END_FILE) {
        delivered.end.reason = next.reason;
        delivered.event.data = &delivered.end;
    } else if (next.id == MPV_EVENT_PROPERTY_CHANGE) {
        delivered.property.format = next.format;
        delivered.number = next.number;
        delivered.flag = next.flag;
        delivered.text = next.text;
        delivered.text_pointer = delivered.text.data();
        delivered.property.data =
            next.format == MPV_FORMAT_DOUBLE   ? static_cast<void*>(&delivered.number)
            : next.format == MPV_FORMAT_FLAG   ? static_cast<void*>(&delivered.flag)
            : next.format == MPV_FORMAT_STRING ? static_cast<void*>(&delivered.text_pointer)
                                               : nullptr;
        delivered.event.data = &delivered.property;
    }
    return &delivered.event;
}

int get_property(mpv_handle*, const char* name, mpv_format format, void* data) {
    ++scripted().reads;
    const auto found = scripted().doubles.find(name);
    if (found == scripted().doubles.end()) {
        return MPV_ERROR_PROPERTY_UNAVAILABLE;
    }
    if (format != MPV_FORMAT_DOUBLE) {
        return MPV_ERROR_PROPERTY_FORMAT;
    }
    *static_cast<double*>(data) = found->second;
    return 0;
}

std::vector<std::string> words_of(const char** args) {
    std::vector<std::string> words;
    for (; *args != nullptr; ++args) {
        words.emplace_back(*args);
    }
    return words;
}

int command(mpv_handle*, const char** args) {
    scripted().commands.push_back(words_of(args));
    return 0;
}

int command_async(mpv_handle*, std::uint64_t, const char** args) {
    scripted().commands.push_back(words_of(args));
    return 0;
}

} // namespace

namespace {

ScriptedEvent property_change(std::uint64_t reply, mpv_format format) {
    ScriptedEvent event(MPV_EVENT_PROPERTY_CHANGE);
    event.reply = reply;
    event.format = format;
    return event;
}

} // namespace

ScriptedEvent property_double(std::uint64_t reply, double value) {
    ScriptedEvent event = property_change(reply, MPV_FORMAT_DOUBLE);
    event.number = value;
    return event;
}

ScriptedEvent property_flag(std::uint64_t reply, bool value) {
    ScriptedEvent event = property_change(reply, MPV_FORMAT_FLAG);
    event.flag = value ? 1 : 0;
    return event;
}

ScriptedEvent property_string(std::uint64_t reply, std::string value) {
    ScriptedEvent event = property_change(reply, MPV_FORMAT_STRING);
    event.text = std::move(value);
    return event;
}

ScriptedEvent property_none(std::uint64_t reply) {
    return property_change(reply, MPV_FORMAT_NONE);
}

ScriptedEvent end_file(mpv_end_file_reason reason) {
    ScriptedEvent event(MPV_EVENT_END_FILE);
    event.reason = reason;
    return event;
}

ScriptedMpv& scripted() {
    static ScriptedMpv state;
    return state;
}

MpvApi scripted_api() {
    scripted() = ScriptedMpv{};
    MpvApi api;
    api.wait_event = wait_event;
    api.get_property = get_property;
    api.command = command;
    api.command_async = command_async;
    return api;
}

MpvHandle scripted_handle() {
    // Never dereferenced: the scripted functions ignore it, and ending it does nothing.
    static int anything;
    return MpvHandle(reinterpret_cast<mpv_handle*>(&anything), [](mpv_handle*) {});
}

} // namespace ondrel::testing
