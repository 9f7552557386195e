#include "dll_handle_win32.hpp"
#include "policy.hpp"

#include <cstdlib>
#include <cstring>

namespace bridge {
namespace {

// A copy the program may keep pointing into until the next mpv_wait_event.
char* duplicate(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy != nullptr) {
        std::memcpy(copy, text.c_str(), text.size() + 1);
    }
    return copy;
}

void present_property(CurrentEvent& current) {
    Event& source = current.source;
    mpv_event_property& property = current.property;
    property.name = source.name.c_str();
    property.format = MPV_FORMAT_NONE;
    property.data = nullptr;
    switch (source.value.format) {
    case Format::string:
    case Format::osd_string: {
        std::string text = std::move(source.value.text);
        if (source.value.format == Format::string && reports_path(source.name, text)) {
            text = windows_path(text).value_or(text);
        }
        current.text = duplicate(text);
        property.format =
            source.value.format == Format::string ? MPV_FORMAT_STRING : MPV_FORMAT_OSD_STRING;
        property.data = &current.text;
        break;
    }
    case Format::flag:
        current.flag = static_cast<int>(source.value.integer);
        property.format = MPV_FORMAT_FLAG;
        property.data = &current.flag;
        break;
    case Format::int64:
        current.integer = source.value.integer;
        property.format = MPV_FORMAT_INT64;
        property.data = &current.integer;
        break;
    case Format::double_:
        current.number = source.value.number;
        property.format = MPV_FORMAT_DOUBLE;
        property.data = &current.number;
        break;
    case Format::none:
        break;
    }
    current.event.data = &property;
}

} // namespace

mpv_event* present_event(mpv_handle* handle, Event event) {
    CurrentEvent& current = handle->current;
    std::free(current.text);
    current.text = nullptr;
    current.source = std::move(event);
    const Event& source = current.source;
    current.event = mpv_event{};
    current.event.event_id = static_cast<mpv_event_id>(source.id);
    current.event.error = source.error;
    current.event.reply_userdata = source.reply_userdata;
    switch (source.id) {
    case MPV_EVENT_PROPERTY_CHANGE:
    case MPV_EVENT_GET_PROPERTY_REPLY:
        present_property(current);
        break;
    case MPV_EVENT_END_FILE:
        current.end_file = mpv_event_end_file{};
        current.end_file.reason = static_cast<mpv_end_file_reason>(source.end_reason);
        current.end_file.error = source.end_error;
        current.end_file.playlist_entry_id = source.playlist_entry_id;
        current.event.data = &current.end_file;
        break;
    case MPV_EVENT_START_FILE:
        current.start_file.playlist_entry_id = source.playlist_entry_id;
        current.event.data = &current.start_file;
        break;
    case MPV_EVENT_LOG_MESSAGE:
        if (source.texts.size() == 2) {
            current.log_message.prefix = source.name.c_str();
            current.log_message.level = source.texts[0].c_str();
            current.log_message.text = source.texts[1].c_str();
            current.log_message.log_level = static_cast<mpv_log_level>(source.log_level);
            current.event.data = &current.log_message;
        }
        break;
    case MPV_EVENT_CLIENT_MESSAGE:
        current.client_arguments.clear();
        for (const std::string& text : source.texts) {
            current.client_arguments.push_back(text.c_str());
        }
        current.client_message.num_args = static_cast<int>(current.client_arguments.size());
        current.client_message.args = current.client_arguments.data();
        current.event.data = &current.client_message;
        break;
    default:
        break;
    }
    return &current.event;
}

} // namespace bridge
