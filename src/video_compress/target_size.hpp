// Fitting an encode into a size the user gives (--target-size): the size's notation, the bit
// rate that fills it, whether it can be reached at all, and how far to lower the bit rate when
// an encode came out too large. Nothing here runs anything.
#pragma once

#include "video_compress/media_info.hpp"
#include "video_compress/options.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

// "25MB", "8MiB", "500KB", "1.5GB", "123456": KB/MB/GB are powers of 1000, KiB/MiB/GiB powers
// of 1024, a bare number is bytes (a trailing "B" is allowed). Units are read without regard
// to case. Nothing for anything else, for 0 and for sizes past 2^63.
std::optional<std::uint64_t> parse_target_size(std::string_view text);

// True for the encoders that run on the graphics card or a media engine: they have no real
// second pass, so they get one pass with a safety margin.
bool is_hardware_encoder(std::string_view encoder);

// What the container adds to the streams, held back from the budget: its index and framing
// grow with the number of packets, so with the duration, plus a small share of the target.
std::uint64_t container_allowance(const CompressOptions& options, const MediaInfo& source,
                                  std::uint64_t target_bytes);

// The sound the output will carry, in bits per second.
struct AudioPlan {
    std::uint64_t bits_per_second = 0;
    // The copied audio's size is unknown (ffprobe gives no bit rate for a stream): it is
    // re-encoded to AAC at the chosen bit rate instead.
    bool aac_instead_of_copy = false;
};
AudioPlan plan_audio(const CompressOptions& options, const MediaInfo& source);

enum class TargetRefusal {
    None,
    UnknownDuration, // no bit rate can be worked out
    NotSmaller,      // the target is at least the source's size: nothing to gain
    AudioTooLarge,   // the sound alone fills the target
    BelowFloor,      // the video would get less than a usable bit rate
};

struct TargetPlan {
    TargetRefusal refusal = TargetRefusal::None;
    std::uint64_t target_bytes = 0;
    // The audio and the container allowance: the part of the file the video rate does not set.
    std::uint64_t fixed_bytes = 0;
    // The video bit rate the encode asks for, after any margin.
    std::uint32_t video_kbps = 0;
    // The least usable video bit rate at the output's picture size.
    std::uint32_t floor_kbps = 0;
    // For BelowFloor: the largest smaller resolution preset at which the target would do.
    std::optional<std::uint8_t> suggested_resolution;
    std::uint32_t suggested_height = 0;
};

// The least usable video bit rate, in kbit/s, for a picture size and frame rate (30 when the
// frame rate is unknown).
std::uint32_t floor_kbps(VideoCodec codec, std::uint32_t width, std::uint32_t height, double fps);

// The plan of an encode into target_bytes with the options as they will run (audio already
// switched to AAC when plan_audio says so).
TargetPlan plan_target(std::uint64_t target_bytes, const CompressOptions& options,
                       const MediaInfo& source, std::string_view encoder);

// The video bit rate of the next attempt after one that came out at actual_bytes, over
// target_bytes: the video part shrinks by the excess, with a small extra margin.
std::uint32_t retry_kbps(std::uint32_t kbps, std::uint64_t actual_bytes, std::uint64_t target_bytes,
                         std::uint64_t fixed_bytes);

// How many times an encode that came out too large is made again with a lower bit rate.
inline constexpr int target_retries = 2;

// The argument lists of the encode at `kbps`: the analysis pass (video only, to the null
// muxer) and the encode for software encoders, the encode alone for hardware ones.
// `pass_log` is the prefix of the first pass's statistics files.
std::vector<std::vector<std::string>>
target_size_arguments(const CompressOptions& options, const MediaInfo& source,
                      std::string_view encoder, bool hwaccel_auto, std::uint32_t kbps,
                      const std::filesystem::path& pass_log,
                      const std::filesystem::path& output_path);

} // namespace ondrel
