// The line that shows a running encode: percent, speed, frame rate and bit rate.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

// "42.5%   -   1.3x - 30 fps - 1234.5kbits/s" (French "42.5 %   -   1.3x - 30 im/s - ...");
// an empty bit rate shows as "-". Percent and speed have one decimal, fps none.
std::string progress_line(float percent, double speed, double fps, std::string_view bitrate);

// Seconds left at the pace so far, from the share done and the time spent; nothing until
// some progress was made.
std::optional<double> seconds_left(float percent, double elapsed_seconds);

} // namespace ondrel
