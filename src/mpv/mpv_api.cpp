#include "mpv/mpv_api.hpp"

namespace ondrel {
namespace {

template <class Pointer> void store(Pointer& slot, void* address) {
    // The loader hands out untyped addresses; the table gives each its libmpv signature.
    slot = reinterpret_cast<Pointer>(address);
}

} // namespace

void store_entry_point(MpvApi& api, std::size_t index, void* address) {
    switch (index) {
    case 0:
        return store(api.create, address);
    case 1:
        return store(api.initialize, address);
    case 2:
        return store(api.set_option_string, address);
    case 3:
        return store(api.command, address);
    case 4:
        return store(api.command_async, address);
    case 5:
        return store(api.command_string, address);
    case 6:
        return store(api.set_property_async, address);
    case 7:
        return store(api.get_property, address);
    case 8:
        return store(api.observe_property, address);
    case 9:
        return store(api.wait_event, address);
    case 10:
        return store(api.set_wakeup_callback, address);
    case 11:
        return store(api.terminate_destroy, address);
    case 12:
        return store(api.free, address);
    default:
        return;
    }
}

} // namespace ondrel
