// What the compression workers report to whoever started them, over a channel.
#pragma once

#include "platform/channel.hpp"
#include "video_compress/encoder_support.hpp"
#include "video_compress/media_info.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace ondrel {

// How one encode ended.
namespace outcome {
// ffmpeg ended with code 0 and the output reads back with a positive duration.
struct Done {
    double elapsed_seconds = 0;
};
// ffmpeg ended with code 0 but the output does not read back; it was deleted.
struct Invalid {
    double elapsed_seconds = 0;
};
// ffmpeg ended with another code; an output with data in it was deleted.
struct Failed {
    std::int32_t exit_code = 0;
    double elapsed_seconds = 0;
    bool partial_file_removed = false;
};
// The state of the ffmpeg process could not be queried, a cancel could not stop it, or the
// checked result could not take the output's name.
struct Error {
    std::string text;
    bool complete = false; // the text says it all (no "Could not launch ffmpeg" before it)
};
// Canceled: whoever receives this deletes the partial output.
struct Canceled {};
} // namespace outcome

using JobOutcome = std::variant<outcome::Done, outcome::Invalid, outcome::Failed, outcome::Error,
                                outcome::Canceled>;

namespace message {
// The probe succeeded.
struct Info {
    MediaInfo media;
};
// The probe failed; the text says why (the video path alone when it has no video stream).
struct ProbeError {
    std::string text;
};
// Encoder detection is over.
struct Encoders {
    EncoderSupport support;
};
// The encode's latest progress figures.
struct Progress {
    std::string bitrate; // as ffmpeg printed it, empty until it has
    double speed = 0;    // 0 until known
    double fps = 0;      // 0 until known
    float percent = 0;   // 0-100
    // Where the encode is in the output's time line, and the bytes written so far; unknown
    // until ffmpeg has reported them.
    std::optional<std::int64_t> out_time_us;
    std::optional<std::uint64_t> size_bytes;
};
// One line of ffmpeg's standard error.
struct Log {
    std::string line;
};
// The job is over; always the job's last message.
struct Finished {
    JobOutcome outcome;
};
} // namespace message

using CompressMessage = std::variant<message::Info, message::ProbeError, message::Encoders,
                                     message::Progress, message::Log, message::Finished>;
using CompressSender = Sender<CompressMessage>;
using CompressReceiver = Receiver<CompressMessage>;

} // namespace ondrel
