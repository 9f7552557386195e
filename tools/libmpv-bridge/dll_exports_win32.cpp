// libmpv's client API as Ondrel resolves it: thirteen entry points, each forwarded to the
// native helper. Optionally every call is written, one JSON object a line, to the file named
// by ONDREL_LIBMPV_BRIDGE_RECORD, with commands as the program gave them.
#include "dll_handle_win32.hpp"
#include "policy.hpp"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdlib>
#include <cstring>

using bridge::Format;
using bridge::Kind;
using bridge::Reply;
using bridge::Value;
using bridge::Writer;
using nlohmann::json;

namespace {

std::mutex record_lock;

void record(mpv_handle* handle, json entry) {
    if (handle == nullptr || handle->record_path.empty()) {
        return;
    }
    const std::string line = entry.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
    const std::lock_guard lock(record_lock);
    const HANDLE file = CreateFileW(ondrel::widen(handle->record_path).c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

std::string environment_text(const wchar_t* name) {
    wchar_t value[4096];
    const DWORD length = GetEnvironmentVariableW(name, value, 4096);
    return length > 0 && length < 4096 ? ondrel::narrow(std::wstring_view(value, length)) : "";
}

std::vector<std::string> arguments_of(const char** args) {
    std::vector<std::string> list;
    for (; args != nullptr && *args != nullptr; ++args) {
        list.emplace_back(*args);
    }
    return list;
}

std::optional<Value> value_of(mpv_format format, void* data) {
    Value value;
    switch (format) {
    case MPV_FORMAT_STRING:
    case MPV_FORMAT_OSD_STRING:
        value.format = format == MPV_FORMAT_STRING ? Format::string : Format::osd_string;
        value.text = *static_cast<char**>(data);
        return value;
    case MPV_FORMAT_FLAG:
        value.format = Format::flag;
        value.integer = *static_cast<int*>(data);
        return value;
    case MPV_FORMAT_INT64:
        value.format = Format::int64;
        value.integer = *static_cast<std::int64_t*>(data);
        return value;
    case MPV_FORMAT_DOUBLE:
        value.format = Format::double_;
        value.number = *static_cast<double*>(data);
        return value;
    default:
        return std::nullopt;
    }
}

json recorded_value(const Value& value) {
    switch (value.format) {
    case Format::string:
    case Format::osd_string:
        return value.text;
    case Format::flag:
    case Format::int64:
        return value.integer;
    case Format::double_:
        return value.number;
    case Format::none:
        break;
    }
    return nullptr;
}

bool supported(mpv_format format) {
    return format >= MPV_FORMAT_NONE && format <= MPV_FORMAT_DOUBLE;
}

bool loads_file(const std::vector<std::string>& arguments) {
    return !arguments.empty() && arguments[0] == "loadfile";
}

// A command sent to the helper, with what the DLL keeps track of around it: the file it
// loads, and the on-screen text it draws itself once the helper is gone (the program shows
// "cannot play" that way after losing it).
int command(mpv_handle* handle, Writer& request, const std::vector<std::string>& arguments) {
    if (loads_file(arguments)) {
        bridge::expect_file(handle, true);
    }
    int result = bridge::call(handle, request).result;
    if (loads_file(arguments) && result < 0) {
        bridge::expect_file(handle, false);
    }
    if (result < 0 && arguments.size() >= 2 && arguments[0] == "show-text" &&
        bridge::helper_gone(handle)) {
        unsigned milliseconds = 1000; // libmpv's own osd-duration
        if (arguments.size() >= 3) {
            std::from_chars(arguments[2].data(), arguments[2].data() + arguments[2].size(),
                            milliseconds);
        }
        bridge::show_notice(handle, bridge::shown_text(arguments[1]), milliseconds);
        result = 0;
    }
    return result;
}

int set_option(mpv_handle* handle, const std::string& name, const std::string& value) {
    Writer request(Kind::set_option);
    request.text(name).text(bridge::translate_property_value(name, value, bridge::unix_path));
    return bridge::call(handle, request).result;
}

} // namespace

extern "C" {

mpv_handle* mpv_create(void) {
    mpv_handle* handle = bridge::start_helper();
    if (handle == nullptr) {
        return nullptr;
    }
    handle->record_path = environment_text(L"ONDREL_LIBMPV_BRIDGE_RECORD");
    std::string audio = environment_text(L"ONDREL_LIBMPV_BRIDGE_AO");
    for (const auto& [name, value] : bridge::bridge_options(audio.empty() ? "null" : audio)) {
        set_option(handle, name, value);
    }
    record(handle, {{"call", "mpv_create"}});
    return handle;
}

int mpv_initialize(mpv_handle* ctx) {
    Writer request(Kind::initialize);
    const int result = bridge::call(ctx, request).result;
    if (result >= 0 && ctx->video.parent != nullptr) {
        bridge::start_video(ctx, ctx->video.parent);
    }
    record(ctx, {{"call", "mpv_initialize"}, {"result", result}});
    return result;
}

int mpv_set_option_string(mpv_handle* ctx, const char* name, const char* data) {
    const std::string option(name);
    const std::string value(data);
    int result = 0;
    if (option == "wid") {
        // The window the picture goes into, as a decimal handle.
        std::int64_t window = 0;
        const auto parsed = std::from_chars(value.data(), value.data() + value.size(), window);
        if (parsed.ec != std::errc() || parsed.ptr != value.data() + value.size()) {
            result = MPV_ERROR_OPTION_FORMAT;
        } else {
            ctx->video.parent = reinterpret_cast<HWND>(static_cast<std::intptr_t>(window));
        }
    } else {
        const std::string audio = environment_text(L"ONDREL_LIBMPV_BRIDGE_AO");
        const std::optional<std::string> forwarded =
            bridge::forwarded_option(option, value, audio.empty() ? "null" : audio);
        if (forwarded) {
            result = set_option(ctx, option, *forwarded);
        }
    }
    record(ctx, {{"call", "mpv_set_option_string"},
                 {"name", option},
                 {"value", value},
                 {"result", result}});
    return result;
}

int mpv_command(mpv_handle* ctx, const char** args) {
    const std::vector<std::string> arguments = arguments_of(args);
    Writer request(Kind::command);
    request.texts(bridge::translate_command(arguments, bridge::unix_path));
    const int result = command(ctx, request, arguments);
    record(ctx, {{"call", "mpv_command"}, {"args", arguments}, {"result", result}});
    return result;
}

int mpv_command_async(mpv_handle* ctx, uint64_t reply_userdata, const char** args) {
    const std::vector<std::string> arguments = arguments_of(args);
    Writer request(Kind::command_async);
    request.u64(reply_userdata).texts(bridge::translate_command(arguments, bridge::unix_path));
    const int result = command(ctx, request, arguments);
    record(ctx, {{"call", "mpv_command_async"},
                 {"reply", reply_userdata},
                 {"args", arguments},
                 {"result", result}});
    return result;
}

int mpv_command_string(mpv_handle* ctx, const char* args) {
    Writer request(Kind::command_string);
    request.text(args);
    const int result = bridge::call(ctx, request).result;
    record(ctx, {{"call", "mpv_command_string"}, {"command", args}, {"result", result}});
    return result;
}

int mpv_set_property_async(mpv_handle* ctx, uint64_t reply_userdata, const char* name,
                           mpv_format format, void* data) {
    std::optional<Value> value = value_of(format, data);
    int result = MPV_ERROR_PROPERTY_FORMAT;
    if (value) {
        if (value->format == Format::string) {
            value->text = bridge::translate_property_value(name, value->text, bridge::unix_path);
        }
        Writer request(Kind::set_property_async);
        request.u64(reply_userdata).text(name).value(*value);
        result = bridge::call(ctx, request).result;
    }
    record(ctx, {{"call", "mpv_set_property_async"},
                 {"reply", reply_userdata},
                 {"name", name},
                 {"format", static_cast<int>(format)},
                 {"value", value ? recorded_value(*value) : json()},
                 {"result", result}});
    return result;
}

int mpv_get_property(mpv_handle* ctx, const char* name, mpv_format format, void* data) {
    int result = MPV_ERROR_PROPERTY_FORMAT;
    Value value;
    if (supported(format) && format != MPV_FORMAT_NONE) {
        Writer request(Kind::get_property);
        request.text(name).u8(static_cast<std::uint8_t>(format));
        Reply reply = bridge::call(ctx, request);
        result = reply.result;
        value = std::move(reply.value);
    }
    if (result >= 0) {
        switch (format) {
        case MPV_FORMAT_STRING:
        case MPV_FORMAT_OSD_STRING: {
            std::string text = std::move(value.text);
            if (format == MPV_FORMAT_STRING && bridge::reports_path(name, text)) {
                text = bridge::windows_path(text).value_or(text);
            }
            char* copy = static_cast<char*>(std::malloc(text.size() + 1));
            if (copy == nullptr) {
                result = MPV_ERROR_NOMEM;
                break;
            }
            std::memcpy(copy, text.c_str(), text.size() + 1);
            *static_cast<char**>(data) = copy;
            break;
        }
        case MPV_FORMAT_FLAG:
            *static_cast<int*>(data) = static_cast<int>(value.integer);
            break;
        case MPV_FORMAT_INT64:
            *static_cast<std::int64_t*>(data) = value.integer;
            break;
        case MPV_FORMAT_DOUBLE:
            *static_cast<double*>(data) = value.number;
            break;
        default:
            break;
        }
    }
    json entry{{"call", "mpv_get_property"},
               {"name", name},
               {"format", static_cast<int>(format)},
               {"result", result}};
    if (result >= 0) {
        // What the program was given, so that a record shows libmpv's state as it saw it.
        entry["value"] = format == MPV_FORMAT_STRING || format == MPV_FORMAT_OSD_STRING
                             ? json(*static_cast<char**>(data))
                             : recorded_value(value);
    }
    record(ctx, std::move(entry));
    return result;
}

int mpv_observe_property(mpv_handle* mpv, uint64_t reply_userdata, const char* name,
                         mpv_format format) {
    int result = MPV_ERROR_PROPERTY_FORMAT;
    if (supported(format)) {
        Writer request(Kind::observe_property);
        request.u64(reply_userdata).text(name).u8(static_cast<std::uint8_t>(format));
        result = bridge::call(mpv, request).result;
    }
    record(mpv, {{"call", "mpv_observe_property"},
                 {"reply", reply_userdata},
                 {"name", name},
                 {"format", static_cast<int>(format)},
                 {"result", result}});
    return result;
}

mpv_event* mpv_wait_event(mpv_handle* ctx, double timeout) {
    std::optional<bridge::Event> event = bridge::next_event(ctx, timeout);
    return bridge::present_event(ctx, event ? std::move(*event) : bridge::Event{});
}

void mpv_set_wakeup_callback(mpv_handle* ctx, void (*cb)(void* d), void* d) {
    {
        const std::lock_guard lock(ctx->lock);
        ctx->wakeup = cb;
        ctx->wakeup_context = d;
    }
    // As libmpv does: one call at once, so that events queued before are not missed.
    if (cb != nullptr) {
        cb(d);
    }
    record(ctx, {{"call", "mpv_set_wakeup_callback"}});
}

void mpv_terminate_destroy(mpv_handle* ctx) {
    if (ctx == nullptr) {
        return;
    }
    record(ctx, {{"call", "mpv_terminate_destroy"}});
    bridge::stop_helper(ctx);
}

void mpv_free(void* data) {
    std::free(data);
}

// Not libmpv's: how many frames the bridge has drawn for this handle, for the benchmark.
__declspec(dllexport) std::uint64_t ondrel_libmpv_bridge_frames_shown(mpv_handle* ctx) {
    return ctx != nullptr ? ctx->video.frames_shown.load() : 0;
}

} // extern "C"
