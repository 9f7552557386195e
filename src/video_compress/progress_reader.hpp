// ffmpeg's machine-readable progress ("-progress pipe:1"): blocks of key=value lines, each
// block ended by progress=continue or progress=end.
#pragma once

#include "platform/process.hpp"
#include "video_compress/compress_message.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

struct ProgressState {
    double duration = 0; // of the source, in seconds; 0 when unknown
    double fps = 0;
    double speed = 0;
    std::string bitrate;
    std::optional<std::int64_t> out_time_us;
    std::optional<std::uint64_t> size_bytes;
    float last_sent_percent = -1;
};

// Takes one line (without its line end) and gives the Progress to send, when the line calls
// for one. Percentages are sent in steps of at least 0.25 points, and always from 99.9 on.
std::optional<message::Progress> read_progress_line(ProgressState& state, std::string_view line);

// Reads the progress report to its end, to a read error or to the first line that is not
// valid UTF-8, sending Progress messages; then closes the pipe.
void read_progress(PipeReader output, double duration, const CompressSender& sender);

} // namespace ondrel
