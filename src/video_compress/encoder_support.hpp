// The hardware encoders that passed a test encode on this machine.
#pragma once

#include <string>
#include <vector>

namespace ondrel {

struct EncoderSupport {
    // Names such as "h264_nvenc", in the order ffmpeg's encoder listing gave them.
    std::vector<std::string> encoders;
    // ffmpeg offers "-hwaccel auto".
    bool hwaccel_auto = false;

    bool operator==(const EncoderSupport&) const = default;
};

} // namespace ondrel
