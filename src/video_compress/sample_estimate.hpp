// The output size measured rather than guessed: a few short pieces of the video are encoded
// with the real settings, their bytes per second are carried over to the whole duration, and
// the audio and the container's own bytes are added by calculation. Nothing here runs
// anything; the caller encodes the pieces this plans.
#pragma once

#include "video_compress/media_info.hpp"
#include "video_compress/options.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ondrel {

// One piece of the video to encode: from `start` for `length` seconds.
struct SampleSpan {
    double start = 0;
    double length = 0;

    bool operator==(const SampleSpan&) const = default;
};

struct SamplePlan {
    std::vector<SampleSpan> samples;
    // The pieces would cover most of the video: it is encoded whole, once, instead.
    bool whole_file = false;
};

// How long each piece lasts. Long enough to hold a few keyframe intervals, so that the extra
// bytes of the piece's first keyframe weigh little.
inline constexpr double sample_seconds = 12;
// One piece for each this many seconds of video, within the bounds below.
inline constexpr double seconds_per_sample = 30;
inline constexpr std::size_t fewest_samples = 3;
inline constexpr std::size_t most_samples = 8;
// Pieces covering more than this share of the video cost nearly as much as encoding it whole.
inline constexpr double whole_file_share = 0.6;

// The pieces for a video of this duration, spread evenly, none past its end. Empty when the
// duration is unknown (0 or less).
SamplePlan plan_samples(double duration);

// What one encoded piece weighed: the whole sample file and how long it lasts.
struct SampleResult {
    std::uint64_t bytes = 0;
    double seconds = 0;
};

// The smallest half-width of the range, as a share of its middle. bench/estimate_accuracy
// (docs/performance.md, "ondrel-compress: estimating the output size") found the middle at
// most 5.6 % from the real size over 12 clips and option sets, 1.6 % on average; 8 % keeps a
// margin over that. A range narrower than this would promise more than the method keeps.
inline constexpr double range_floor_share = 0.08;
// How many standard errors of the pieces' mean rate each side of the middle covers.
inline constexpr double spread_standard_errors = 2;

struct SizeRange {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
};

// What the encode adds to the video pieces' bytes, per second of output: the audio streams
// as mapped by the options (AAC at its bit rate, a copy at the source's when ffprobe gave
// it, else 0), and the packets that the container indexes.
struct AddedBytes {
    double audio_bytes_per_second = 0;
    double video_frames_per_second = 0;
    double audio_packets_per_second = 0;
};

AddedBytes added_bytes(const CompressOptions& options, const MediaInfo& source);

// The container's own bytes for a file of this many seconds and packets a second: a fixed
// header and an index entry for each packet (measured on MP4 and Matroska files from ffmpeg:
// about 1 kB and 8 to 10 bytes a packet).
inline constexpr double container_header_bytes = 1000;
inline constexpr double container_bytes_per_packet = 10;
double container_bytes(double packets_per_second, double seconds);

// The size range of the whole output, from the pieces encoded without audio. Nothing when
// no piece has a length or the duration is unknown.
std::optional<SizeRange> extrapolate_size(const std::vector<SampleResult>& samples, double duration,
                                          const AddedBytes& added);

} // namespace ondrel
