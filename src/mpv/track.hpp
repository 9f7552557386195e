// One audio or subtitle track of the current file, as libmpv's track-list describes it.
#pragma once

#include <cstdint>
#include <string>

namespace ondrel {

struct Track {
    std::string title;
    std::string lang;
    std::string codec;
    std::int64_t id = 0; // 0 stands for "no track" (subtitles off)
    std::int64_t channel_count = 0;
    bool selected = false;
    bool external = false;
    bool is_default = false;
};

} // namespace ondrel
