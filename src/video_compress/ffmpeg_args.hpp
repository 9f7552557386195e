// What a compression choice means to ffmpeg: the encoder, the scale, the streams kept, the
// audio treatment, and the complete argument list of an encode. Nothing here runs anything.
#pragma once

#include "video_compress/media_info.hpp"
#include "video_compress/options.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

// The slider's 0-100 as the encoders' 16-32 scale (lower is better quality).
std::uint32_t quality_number(std::uint32_t quality);

// The ffmpeg encoder for a codec and family. An explicit family is used whether or not
// detection found it; Automatic takes the first hardware family that passed its test
// encode, in the order AMF, NVENC, QSV, Media Foundation, else the software encoder.
std::string choose_encoder(VideoCodec codec, EncoderFamily family,
                           const std::vector<std::string>& detected_encoders);

// The output width a resolution preset asks for; nothing for Original. A custom width is
// clamped to 160-7680.
std::optional<std::uint32_t> target_width(std::uint8_t resolution, std::uint32_t custom_width);

struct PictureSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    bool operator==(const PictureSize&) const = default;
};

// The size the scale filter gets, or nothing when the picture keeps the source's size.
// Presets never enlarge the picture unless upscaling is allowed.
std::optional<PictureSize> scaled_size(const CompressOptions& options, std::uint32_t source_width,
                                       std::uint32_t source_height);

// The height of the encoded picture (the source height when it is not scaled).
std::uint32_t output_height(const CompressOptions& options, std::uint32_t source_width,
                            std::uint32_t source_height);

// The encoder's own arguments followed by "-pix_fmt" "yuv420p"; nothing for a name the
// program does not know.
std::vector<std::string> encoder_arguments(std::string_view encoder,
                                           const CompressOptions& options);

// The audio part of the command line: "-an", an AAC encode, or a copy when the streams can
// go into the container unchanged.
std::vector<std::string> audio_arguments(const CompressOptions& options, const MediaInfo& source);

// A bit rate for the encoder in place of its quality setting: the average, its cap and the
// rate-control buffer, in kbit/s, and for software encoders the pass of a two-pass encode.
struct RateControl {
    std::uint32_t kbps = 0;
    std::uint32_t max_kbps = 0;
    std::uint32_t buffer_kbits = 0;
    int pass = 0;                   // 1 or 2; 0 for a single pass
    std::filesystem::path pass_log; // prefix of the first pass's statistics files
};

// Like encoder_arguments, with the bit rate instead of the quality.
std::vector<std::string> rate_encoder_arguments(std::string_view encoder,
                                                const CompressOptions& options,
                                                const RateControl& rate);

// Every argument of an encode with the given encoder arguments. Without an output path it is
// the analysis pass of a two-pass encode: the video alone, to the null muxer.
std::vector<std::string>
build_ffmpeg_args_with(const CompressOptions& options, const MediaInfo& source,
                       const std::string& encoder, bool hwaccel_auto,
                       std::vector<std::string> video_arguments,
                       const std::optional<std::filesystem::path>& output_path);

// Every argument of the encode, in order, without the program name.
std::vector<std::string> build_ffmpeg_args(const CompressOptions& options, const MediaInfo& source,
                                           const std::vector<std::string>& detected_encoders,
                                           bool hwaccel_auto,
                                           const std::filesystem::path& output_path);

} // namespace ondrel
