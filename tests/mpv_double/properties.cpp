#include "double_handle.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace mpv_double {
namespace {

Value track_field(const mpv_handle& h, const std::string& name) {
    // track-list/<index>/<field>
    const std::string rest = name.substr(std::strlen("track-list/"));
    if (rest == "count") {
        return static_cast<std::int64_t>(h.tracks.size());
    }
    const std::size_t slash = rest.find('/');
    if (slash == std::string::npos || slash == 0) {
        return {};
    }
    const std::string index_text = rest.substr(0, slash);
    if (index_text.find_first_not_of("0123456789") != std::string::npos) {
        return {};
    }
    const std::size_t index = std::stoul(index_text);
    if (index >= h.tracks.size()) {
        return {};
    }
    const TrackSpec& track = h.tracks[index];
    const std::string field = rest.substr(slash + 1);
    const auto text = [](const std::string& value) -> Value {
        return value.empty() ? Value{} : Value{value};
    };
    const bool selected = track.type == "audio" ? h.aid == track.id : h.sid == track.id;
    if (field == "type") {
        return track.type_unreadable ? Value{} : Value{track.type};
    }
    if (field == "id") {
        return track.id;
    }
    if (field == "title") {
        return text(track.title);
    }
    if (field == "lang") {
        return text(track.lang);
    }
    if (field == "codec") {
        return text(track.codec);
    }
    if (field == "demux-channel-count") {
        return track.channels > 0 ? Value{track.channels} : Value{};
    }
    if (field == "selected") {
        return selected;
    }
    if (field == "external") {
        return track.external;
    }
    if (field == "default") {
        return track.is_default;
    }
    return {};
}

Value selection(std::int64_t id) {
    return id == 0 ? std::string("no") : std::to_string(id);
}

std::optional<std::int64_t> parse_selection(const Value& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return *number;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (*text == "no") {
            return 0;
        }
        char* end = nullptr;
        const long long id = std::strtoll(text->c_str(), &end, 10);
        if (!text->empty() && *end == '\0') {
            return id;
        }
    }
    return std::nullopt;
}

std::optional<double> as_double(const Value& value) {
    if (const auto* number = std::get_if<double>(&value)) {
        return *number;
    }
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*number);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        char* end = nullptr;
        const double number = std::strtod(text->c_str(), &end);
        if (!text->empty() && *end == '\0') {
            return number;
        }
    }
    return std::nullopt;
}

std::optional<bool> as_flag(const Value& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag;
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        if (*text == "yes" || *text == "no") {
            return *text == "yes";
        }
    }
    return std::nullopt;
}

std::string as_text(const Value& value) {
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "yes" : "no";
    }
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        return std::to_string(*number);
    }
    if (const auto* number = std::get_if<double>(&value)) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%f", *number);
        return buffer;
    }
    return std::get<std::string>(value);
}

double volume_max(const mpv_handle& h) {
    const auto found = h.options.find("volume-max");
    const std::optional<double> value =
        found == h.options.end() ? std::nullopt : as_double(Value{found->second});
    return value.value_or(130);
}

} // namespace

void queue_event(mpv_handle& h, QueuedEvent event) {
    h.queue.push_back(std::move(event));
    h.unannounced = true;
    h.changed.notify_all();
}

Value property_value(const mpv_handle& h, const std::string& name) {
    if (name == "time-pos" || name == "playback-time") {
        return h.loaded ? Value{h.time_pos} : Value{};
    }
    if (name == "duration") {
        return h.loaded ? Value{h.file.duration} : Value{};
    }
    if (name == "eof-reached") {
        return h.loaded ? Value{h.eof} : Value{};
    }
    if (name == "path" || name == "filename") {
        if (!h.loaded) {
            return {};
        }
        const std::size_t separator = h.path.find_last_of("/\\");
        return name == "path" || separator == std::string::npos ? h.path
                                                                : h.path.substr(separator + 1);
    }
    if (name == "pause") {
        return h.paused;
    }
    if (name == "volume") {
        return h.volume;
    }
    if (name == "mute") {
        return h.mute;
    }
    if (name == "speed") {
        return h.speed;
    }
    if (name == "aid") {
        return selection(h.aid);
    }
    if (name == "sid") {
        return selection(h.sid);
    }
    if (name.rfind("track-list/", 0) == 0) {
        return track_field(h, name);
    }
    if (const auto found = h.options.find(name); found != h.options.end()) {
        return found->second;
    }
    return {};
}

int convert_value(const Value& value, mpv_format format, void* out) {
    if (std::holds_alternative<std::monostate>(value)) {
        return MPV_ERROR_PROPERTY_UNAVAILABLE;
    }
    switch (format) {
    case MPV_FORMAT_STRING:
    case MPV_FORMAT_OSD_STRING: {
        const std::string text = as_text(value);
        char* copy = static_cast<char*>(std::malloc(text.size() + 1));
        std::memcpy(copy, text.c_str(), text.size() + 1);
        *static_cast<char**>(out) = copy;
        return 0;
    }
    case MPV_FORMAT_FLAG:
        if (const auto* flag = std::get_if<bool>(&value)) {
            *static_cast<int*>(out) = *flag ? 1 : 0;
            return 0;
        }
        return MPV_ERROR_PROPERTY_FORMAT;
    case MPV_FORMAT_INT64:
        if (const auto* number = std::get_if<std::int64_t>(&value)) {
            *static_cast<std::int64_t*>(out) = *number;
            return 0;
        }
        return MPV_ERROR_PROPERTY_FORMAT;
    case MPV_FORMAT_DOUBLE:
        if (std::holds_alternative<double>(value) || std::holds_alternative<std::int64_t>(value)) {
            *static_cast<double*>(out) = *as_double(value);
            return 0;
        }
        return MPV_ERROR_PROPERTY_FORMAT;
    default:
        return MPV_ERROR_PROPERTY_FORMAT;
    }
}

void announce(mpv_handle& h, const std::string& name) {
    for (const Observation& observation : h.observations) {
        if (observation.name != name) {
            continue;
        }
        QueuedEvent event;
        event.id = MPV_EVENT_PROPERTY_CHANGE;
        event.reply = observation.reply;
        event.name = name;
        const Value value = property_value(h, name);
        // A value that cannot take the observed format arrives as MPV_FORMAT_NONE.
        char* text = nullptr;
        double number = 0;
        if (observation.format == MPV_FORMAT_STRING &&
            convert_value(value, MPV_FORMAT_STRING, &text) == 0) {
            event.format = MPV_FORMAT_STRING;
            event.value = std::string(text);
            std::free(text);
        } else if (observation.format == MPV_FORMAT_DOUBLE &&
                   convert_value(value, MPV_FORMAT_DOUBLE, &number) == 0) {
            event.format = MPV_FORMAT_DOUBLE;
            event.value = number;
        } else if (observation.format == MPV_FORMAT_FLAG && std::holds_alternative<bool>(value)) {
            event.format = MPV_FORMAT_FLAG;
            event.value = value;
        } else if (observation.format == MPV_FORMAT_INT64 &&
                   std::holds_alternative<std::int64_t>(value)) {
            event.format = MPV_FORMAT_INT64;
            event.value = value;
        }
        queue_event(h, std::move(event));
    }
}

void announce_playback(mpv_handle& h) {
    for (const char* name :
         {"time-pos", "duration", "pause", "eof-reached", "aid", "sid", "path", "filename"}) {
        announce(h, name);
    }
}

int write_property(mpv_handle& h, const std::string& name, const Value& value) {
    if (name == "pause" || name == "mute") {
        const std::optional<bool> flag = as_flag(value);
        if (!flag) {
            return MPV_ERROR_PROPERTY_FORMAT;
        }
        (name == "pause" ? h.paused : h.mute) = *flag;
    } else if (name == "volume" || name == "speed") {
        const std::optional<double> number = as_double(value);
        if (!number) {
            return MPV_ERROR_PROPERTY_FORMAT;
        }
        if (name == "volume") {
            h.volume = std::clamp(*number, 0.0, volume_max(h));
        } else {
            h.speed = std::clamp(*number, 0.01, 100.0);
        }
    } else if (name == "aid" || name == "sid") {
        const std::optional<std::int64_t> id = parse_selection(value);
        if (!id) {
            return MPV_ERROR_PROPERTY_FORMAT;
        }
        (name == "aid" ? h.aid : h.sid) = *id;
    } else if (name == "time-pos") {
        const std::optional<double> number = as_double(value);
        if (!h.loaded || !number) {
            return MPV_ERROR_PROPERTY_UNAVAILABLE;
        }
        h.time_pos = std::clamp(*number, 0.0, h.file.duration);
        h.eof = false;
        announce(h, "eof-reached");
    } else {
        if (std::holds_alternative<std::monostate>(value)) {
            return MPV_ERROR_PROPERTY_FORMAT;
        }
        h.options[name] = as_text(value);
    }
    announce(h, name);
    return 0;
}

} // namespace mpv_double
