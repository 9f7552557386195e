// Which hardware encoders work on this machine: ffmpeg's listing, then a short test encode
// with each listed one, all at the same time.
#pragma once

#include "video_compress/compress_message.hpp"
#include "video_compress/encoder_support.hpp"
#include "video_compress/tools.hpp"

#include <array>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

// In the order each listing line is examined.
inline constexpr std::array<std::string_view, 8> hardware_encoder_candidates{
    "h264_amf", "h264_nvenc", "h264_qsv", "h264_mf",
    "hevc_amf", "hevc_nvenc", "hevc_qsv", "hevc_mf"};

// The candidates that "ffmpeg -hide_banner -encoders" names as a whole word, line by line.
std::vector<std::string> listed_hardware_encoders(std::string_view listing);

// True when a line of "ffmpeg -hide_banner -hwaccels" reads exactly "auto".
bool lists_hwaccel_auto(std::string_view listing);

// The arguments of the two-frame test encode of one encoder.
std::vector<std::string> test_encoder_arguments(std::string_view encoder);

// True when the test encode ran and ended with exit code 0 within `limit`; one still running
// then is ended and counts as a failure.
bool test_encoder(const std::filesystem::path& ffmpeg, const std::string& encoder,
                  std::chrono::milliseconds limit = test_encode_time_limit);

// What a detection finds out. The compression window always asks for both; the command line
// only for what its choices depend on.
struct DetectionScope {
    bool test_encodes = true;    // list the hardware encoders and test each one
    bool hwaccel_listing = true; // ask ffmpeg whether it offers "-hwaccel auto"
};

// The detection, in the calling thread. An ffmpeg that cannot be started gives no encoders
// and no "-hwaccel auto"; what the scope leaves out is reported as not found.
EncoderSupport detect_encoders(const std::filesystem::path& ffmpeg, DetectionScope scope = {});

// Detects in a worker thread and returns at once. The worker sends exactly one Encoders and
// then drops its sender.
void start_encoder_detection(const std::filesystem::path& ffmpeg, CompressSender sender,
                             DetectionScope scope = {});

} // namespace ondrel
