// libmpv's client API as the program uses it: the thirteen entry points, each recorded.
// Build variants leave out mpv_set_wakeup_callback (ONDREL_MPV_DOUBLE_WITHOUT_WAKEUP), make
// mpv_create fail (ONDREL_MPV_DOUBLE_CREATE_FAILS) or make mpv_initialize fail
// (ONDREL_MPV_DOUBLE_INITIALIZE_FAILS).
#include "double_handle.hpp"

#include <cstdlib>
#include <exception>
#include <sstream>

using mpv_double::QueuedEvent;
using mpv_double::record;
using mpv_double::Value;
using nlohmann::json;

namespace {

// The core thread: finishes loads, moves time on while playing and wakes the client up
// whenever events are waiting, as libmpv's own threads do.
[[maybe_unused]] void run_core(mpv_handle* h) {
    std::unique_lock lock(h->mutex);
    const auto called = [&] {
        return h->stopping || h->unannounced || h->pending_load.has_value();
    };
    while (!h->stopping) {
        // Time moves only while a file plays; otherwise the thread sleeps until it is called,
        // as an idle libmpv does, and adds no wake-ups of its own to the client's.
        if (h->loaded && h->file.playing && !h->paused && !h->eof) {
            h->changed.wait_for(lock, std::chrono::milliseconds(h->file.tick_ms), called);
        } else {
            h->changed.wait(lock, called);
            h->last_tick = std::chrono::steady_clock::now();
        }
        if (h->stopping) {
            break;
        }
        if (h->pending_load) {
            mpv_double::finish_load(*h);
        }
        mpv_double::advance_time(*h, std::chrono::steady_clock::now());
        if (h->unannounced && h->wakeup != nullptr) {
            h->unannounced = false;
            void (*wakeup)(void*) = h->wakeup;
            void* context = h->wakeup_context;
            lock.unlock();
            wakeup(context);
            lock.lock();
        } else {
            h->unannounced = false;
        }
    }
}

std::vector<std::string> arguments_of(const char** args) {
    std::vector<std::string> list;
    for (; args != nullptr && *args != nullptr; ++args) {
        list.emplace_back(*args);
    }
    return list;
}

Value value_of(mpv_format format, void* data) {
    switch (format) {
    case MPV_FORMAT_FLAG:
        return *static_cast<int*>(data) != 0;
    case MPV_FORMAT_INT64:
        return *static_cast<std::int64_t*>(data);
    case MPV_FORMAT_DOUBLE:
        return *static_cast<double*>(data);
    case MPV_FORMAT_STRING:
        return std::string(*static_cast<char**>(data));
    default:
        return {};
    }
}

json json_of(mpv_format format, void* data) {
    switch (format) {
    case MPV_FORMAT_FLAG:
        return *static_cast<int*>(data);
    case MPV_FORMAT_INT64:
        return *static_cast<std::int64_t*>(data);
    case MPV_FORMAT_DOUBLE:
        return *static_cast<double*>(data);
    case MPV_FORMAT_STRING:
        return std::string(*static_cast<char**>(data));
    default:
        return nullptr;
    }
}

int command_locked(mpv_handle* h, const std::vector<std::string>& args) {
    std::lock_guard lock(h->mutex);
    return mpv_double::run_command(*h, args);
}

// Nothing may escape into the program: a failure inside the double is an mpv error.
template <class F> auto guarded(F function, decltype(function()) on_failure) {
    try {
        return function();
    } catch (const std::exception& error) {
        record({{"call", "double-error"}, {"error", error.what()}});
        return on_failure;
    }
}

} // namespace

mpv_handle* mpv_create(void) {
    record({{"call", "mpv_create"}});
#ifdef ONDREL_MPV_DOUBLE_CREATE_FAILS
    return nullptr;
#else
    auto* h = new mpv_handle;
    h->last_tick = std::chrono::steady_clock::now();
    h->core = std::thread(run_core, h);
    return h;
#endif
}

int mpv_initialize(mpv_handle*) {
    int result = mpv_double::read_scenario().initialize_result;
#ifdef ONDREL_MPV_DOUBLE_INITIALIZE_FAILS
    if (result == 0) {
        result = MPV_ERROR_GENERIC;
    }
#endif
    record({{"call", "mpv_initialize"}, {"result", result}});
    return result;
}

int mpv_set_option_string(mpv_handle* h, const char* name, const char* data) {
    record({{"call", "mpv_set_option_string"}, {"name", name}, {"value", data}});
    return guarded(
        [&] {
            std::lock_guard lock(h->mutex);
            const std::string option(name);
            if (option == "volume" || option == "mute" || option == "speed" || option == "pause" ||
                option == "aid" || option == "sid") {
                return mpv_double::write_property(*h, option, Value{std::string(data)});
            }
            h->options[option] = data;
            return 0;
        },
        MPV_ERROR_OPTION_ERROR);
}

int mpv_command(mpv_handle* h, const char** args) {
    const std::vector<std::string> list = arguments_of(args);
    const int result = guarded([&] { return command_locked(h, list); }, MPV_ERROR_COMMAND);
    record({{"call", "mpv_command"}, {"args", list}, {"result", result}});
    return result;
}

int mpv_command_async(mpv_handle* h, uint64_t reply_userdata, const char** args) {
    const std::vector<std::string> list = arguments_of(args);
    record({{"call", "mpv_command_async"}, {"reply", reply_userdata}, {"args", list}});
    return guarded(
        [&] {
            std::lock_guard lock(h->mutex);
            QueuedEvent reply{MPV_EVENT_COMMAND_REPLY};
            reply.error = mpv_double::run_command(*h, list);
            reply.reply = reply_userdata;
            mpv_double::queue_event(*h, std::move(reply));
            return 0;
        },
        MPV_ERROR_COMMAND);
}

int mpv_command_string(mpv_handle* h, const char* args) {
    // Words separated by blanks; prefixes that only choose the on-screen display are dropped.
    std::vector<std::string> words;
    std::istringstream stream(args);
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    while (!words.empty() && (words.front() == "osd-msg-bar" || words.front() == "osd-msg" ||
                              words.front() == "osd-bar" || words.front() == "no-osd")) {
        words.erase(words.begin());
    }
    const int result = guarded([&] { return command_locked(h, words); }, MPV_ERROR_COMMAND);
    record({{"call", "mpv_command_string"}, {"command", args}, {"result", result}});
    return result;
}

int mpv_set_property_async(mpv_handle* h, uint64_t reply_userdata, const char* name,
                           mpv_format format, void* data) {
    record({{"call", "mpv_set_property_async"},
            {"reply", reply_userdata},
            {"name", name},
            {"format", static_cast<int>(format)},
            {"value", json_of(format, data)}});
    return guarded(
        [&] {
            std::lock_guard lock(h->mutex);
            QueuedEvent reply{MPV_EVENT_SET_PROPERTY_REPLY};
            reply.error = mpv_double::write_property(*h, name, value_of(format, data));
            reply.reply = reply_userdata;
            mpv_double::queue_event(*h, std::move(reply));
            return 0;
        },
        MPV_ERROR_PROPERTY_ERROR);
}

int mpv_get_property(mpv_handle* h, const char* name, mpv_format format, void* data) {
    const int result = guarded(
        [&] {
            std::lock_guard lock(h->mutex);
            return mpv_double::convert_value(mpv_double::property_value(*h, name), format, data);
        },
        MPV_ERROR_PROPERTY_ERROR);
    record({{"call", "mpv_get_property"},
            {"name", name},
            {"format", static_cast<int>(format)},
            {"result", result}});
    return result;
}

int mpv_observe_property(mpv_handle* h, uint64_t reply_userdata, const char* name,
                         mpv_format format) {
    record({{"call", "mpv_observe_property"},
            {"reply", reply_userdata},
            {"name", name},
            {"format", static_cast<int>(format)}});
    return guarded(
        [&] {
            std::lock_guard lock(h->mutex);
            h->observations.push_back({reply_userdata, name, format});
            // libmpv always reports the current value once after observing.
            mpv_double::announce(*h, name);
            return 0;
        },
        MPV_ERROR_NOMEM);
}

mpv_event* mpv_wait_event(mpv_handle* h, double timeout) {
    std::unique_lock lock(h->mutex);
    if (h->queue.empty() && timeout > 0) {
        h->changed.wait_for(lock, std::chrono::duration<double>(timeout),
                            [&] { return !h->queue.empty(); });
    }
    mpv_double::DeliveredEvent& out = h->delivered;
    out = mpv_double::DeliveredEvent{};
    if (h->queue.empty()) {
        out.event.event_id = MPV_EVENT_NONE;
        return &out.event;
    }
    QueuedEvent next = std::move(h->queue.front());
    h->queue.pop_front();
    out.event.event_id = next.id;
    out.event.error = next.error;
    out.event.reply_userdata = next.reply;
    if (next.id == MPV_EVENT_END_FILE) {
        out.end_file.reason = next.reason;
        out.end_file.error = next.error;
        out.event.data = &out.end_file;
    } else if (next.id == MPV_EVENT_PROPERTY_CHANGE) {
        out.name = next.name;
        out.property.name = out.name.c_str();
        out.property.format = next.format;
        switch (next.format) {
        case MPV_FORMAT_STRING:
            out.text = std::get<std::string>(next.value);
            out.text_pointer = out.text.data();
            out.property.data = &out.text_pointer;
            break;
        case MPV_FORMAT_FLAG:
            out.flag = std::get<bool>(next.value) ? 1 : 0;
            out.property.data = &out.flag;
            break;
        case MPV_FORMAT_INT64:
            out.integer = std::get<std::int64_t>(next.value);
            out.property.data = &out.integer;
            break;
        case MPV_FORMAT_DOUBLE:
            out.number = std::get<double>(next.value);
            out.property.data = &out.number;
            break;
        default:
            out.property.data = nullptr;
            break;
        }
        out.event.data = &out.property;
    }
    return &out.event;
}

#ifndef ONDREL_MPV_DOUBLE_WITHOUT_WAKEUP
void mpv_set_wakeup_callback(mpv_handle* h, void (*cb)(void* d), void* d) {
    record({{"call", "mpv_set_wakeup_callback"}});
    std::lock_guard lock(h->mutex);
    h->wakeup = cb;
    h->wakeup_context = d;
    // Events already waiting are announced too, from the core thread.
    if (!h->queue.empty()) {
        h->unannounced = true;
        h->changed.notify_all();
    }
}
#endif

void mpv_terminate_destroy(mpv_handle* h) {
    record({{"call", "mpv_terminate_destroy"}});
    if (h == nullptr) {
        return;
    }
    {
        std::lock_guard lock(h->mutex);
        h->stopping = true;
        h->changed.notify_all();
    }
    h->core.join();
    delete h;
}

void mpv_free(void* data) {
    record({{"call", "mpv_free"}});
    std::free(data);
}
