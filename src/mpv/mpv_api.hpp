// The libmpv entry points the program uses, resolved at run time: the program never links
// against libmpv, it only takes the types and constants of its client API.
#pragma once

#include <mpv/client.h>

#include <array>
#include <cstddef>
#include <string_view>

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

// The exported names, in the order they are looked up.
inline constexpr std::array<std::string_view, 13> mpv_entry_point_names{
    "mpv_create",
    "mpv_initialize",
    "mpv_set_option_string",
    "mpv_command",
    "mpv_command_async",
    "mpv_command_string",
    "mpv_set_property_async",
    "mpv_get_property",
    "mpv_observe_property",
    "mpv_wait_event",
    "mpv_set_wakeup_callback",
    "mpv_terminate_destroy",
    "mpv_free",
};

// Stores the address found for entry point `index` (of mpv_entry_point_names) in the table.
void store_entry_point(MpvApi& api, std::size_t index, void* address);

} // namespace ondrel
