// The playback properties libmpv reports when they change, and the mirror each one updates.
#pragma once

#include "mpv/mpv_api.hpp"

namespace ondrel {

// Asks libmpv to report every property the mirror follows; each change then comes to
// pump_events under its reply id.
void observe_playback_properties(const MpvApi& api, mpv_handle* handle);

} // namespace ondrel
