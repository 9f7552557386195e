// The libmpv entry points the program uses, resolved at run time: the program never links
// against libmpv, it only takes the types and constants of its client API.
#pragma once

#include <mpv/client.h>

#include <string_view>
#include <tuple>
#include <utility>

namespace ondrel {

struct MpvApi {
    decltype(&::mpv_create) create = nullptr;
    decltype(&::mpv_initialize) initialize = nullptr;
    decltype(&::mpv_set_option_string) set_option_string = nullptr;
    decltype(&::mpv_command) command = nullptr;
    decltype(&::mpv_command_async) command_async = nullptr;
    decltype(&::mpv_command_string) command_string = nullptr;
    decltype(&::mpv_set_property_async) set_property_async = nullptr;
    decltype(&::mpv_get_property) get_property = nullptr;
    decltype(&::mpv_observe_property) observe_property = nullptr;
    decltype(&::mpv_wait_event) wait_event = nullptr;
    decltype(&::mpv_set_wakeup_callback) set_wakeup_callback = nullptr;
    decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
    decltype(&::mpv_free) free = nullptr;
};

// The libmpv handle, ended with mpv_terminate_destroy when it is dropped or reset.
class MpvHandle {
public:
    MpvHandle() = default;
    MpvHandle(mpv_handle* handle, decltype(&::mpv_terminate_destroy) terminate_destroy)
        : handle_(handle), terminate_destroy_(terminate_destroy) {}
    MpvHandle(const MpvHandle&) = delete;
    MpvHandle& operator=(const MpvHandle&) = delete;
    MpvHandle(MpvHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, nullptr)),
          terminate_destroy_(other.terminate_destroy_) {}
    MpvHandle& operator=(MpvHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
            terminate_destroy_ = other.terminate_destroy_;
        }
        return *this;
    }
    ~MpvHandle() { reset(); }

    mpv_handle* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Shuts libmpv down now.
    void reset() {
        if (mpv_handle* handle = std::exchange(handle_, nullptr)) {
            terminate_destroy_(handle);
        }
    }

private:
    mpv_handle* handle_ = nullptr;
    decltype(&::mpv_terminate_destroy) terminate_destroy_ = nullptr;
};

// One exported name and the slot of the table its address goes into.
template <class Function> struct MpvEntryPoint {
    std::string_view name;
    Function MpvApi::*slot;
};
template <class Function>
MpvEntryPoint(std::string_view, Function MpvApi::*) -> MpvEntryPoint<Function>;

// Every entry point, in the order they are looked up.
inline constexpr std::tuple mpv_entry_points{
    MpvEntryPoint{"mpv_create", &MpvApi::create},
    MpvEntryPoint{"mpv_initialize", &MpvApi::initialize},
    MpvEntryPoint{"mpv_set_option_string", &MpvApi::set_option_string},
    MpvEntryPoint{"mpv_command", &MpvApi::command},
    MpvEntryPoint{"mpv_command_async", &MpvApi::command_async},
    MpvEntryPoint{"mpv_command_string", &MpvApi::command_string},
    MpvEntryPoint{"mpv_set_property_async", &MpvApi::set_property_async},
    MpvEntryPoint{"mpv_get_property", &MpvApi::get_property},
    MpvEntryPoint{"mpv_observe_property", &MpvApi::observe_property},
    MpvEntryPoint{"mpv_wait_event", &MpvApi::wait_event},
    MpvEntryPoint{"mpv_set_wakeup_callback", &MpvApi::set_wakeup_callback},
    MpvEntryPoint{"mpv_terminate_destroy", &MpvApi::terminate_destroy},
    MpvEntryPoint{"mpv_free", &MpvApi::free},
};

// Calls `visit(entry_point)` for each entry point in order, until one returns false; false
// when one did.
template <class Visit> bool for_each_mpv_entry_point(Visit&& visit) {
    return std::apply([&](const auto&... entry) { return (visit(entry) && ...); },
                      mpv_entry_points);
}

} // namespace ondrel
