#include "video_compress/target_size.hpp"

#include "platform/numbers.hpp"
#include "video_compress/ffmpeg_args.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace ondrel {
namespace {

struct SizeUnit {
    std::string_view name;
    double bytes;
};

constexpr std::array<SizeUnit, 8> size_units{{
    {"", 1},
    {"b", 1},
    {"kb", 1e3},
    {"mb", 1e6},
    {"gb", 1e9},
    {"kib", 1024.0},
    {"mib", 1024.0 * 1024.0},
    {"gib", 1024.0 * 1024.0 * 1024.0},
}};

// Measured on ffmpeg's outputs (H.264 at 30 fps with AAC, 30 s): the headers, index and
// packet framing came to 14.5 bytes a packet in mp4 and 7.2 in mkv, which is 1.7 % and 0.8 %
// of a 2 MB file but grows as a share with a lower bit rate. The allowance holds back a little
// more than measured, so that the first encode rarely has to be made again.
constexpr double mp4_bytes_per_packet = 16;
constexpr double mkv_bytes_per_packet = 9;
constexpr double audio_packets_per_second = 50; // AAC at 48 kHz makes 47
constexpr double allowance_share = 0.005;
constexpr std::uint64_t allowance_fixed_bytes = 8 * 1024;

// Hardware encoders follow their bit rate only roughly: they aim this much lower.
constexpr double hardware_margin = 0.06;
// A retry aims this much lower than the measured excess alone asks for.
constexpr double retry_margin = 0.03;

// The least usable video, in bits per pixel of each frame. Below about 0.01 bit per pixel an
// H.264 picture dissolves into blocks whatever the content; H.265 needs about a third less
// for the same picture.
constexpr double h264_floor_bits_per_pixel = 0.01;
constexpr double h265_floor_bits_per_pixel = 0.007;
constexpr double assumed_fps = 30;

// Software encoders: the cap on the rate and the rate-control buffer, as multiples of the
// average. Two passes spread the bits; the cap keeps a scene from taking too many at once.
constexpr double software_max_rate = 2.0;
constexpr double buffer_size = 2.0;

std::uint32_t kbps_from(double bits_per_second) {
    return static_cast<std::uint32_t>(
        std::clamp(std::floor(bits_per_second / 1000.0), 0.0, 4294967295.0));
}

bool same_lower(std::string_view text, std::string_view lower) {
    return text.size() == lower.size() &&
           std::equal(text.begin(), text.end(), lower.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

std::uint64_t audio_stream_bits(const MediaInfo& source, const CompressOptions& options,
                                bool& unknown) {
    std::vector<AudioStream> streams = source.audio_streams;
    if (options.audio_stream && *options.audio_stream < streams.size()) {
        streams = {streams[*options.audio_stream]};
    }
    std::uint64_t total = 0;
    for (const AudioStream& stream : streams) {
        unknown = unknown || stream.bit_rate == 0;
        total += stream.bit_rate;
    }
    return total;
}

PictureSize output_picture(const CompressOptions& options, const MediaInfo& source) {
    if (const auto scaled = scaled_size(options, source.width, source.height)) {
        return *scaled;
    }
    return PictureSize{source.width, source.height};
}

} // namespace

std::optional<std::uint64_t> parse_target_size(std::string_view text) {
    std::size_t digits = 0;
    while (digits < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[digits])) || text[digits] == '.')) {
        ++digits;
    }
    const std::string_view number = text.substr(0, digits);
    const std::string_view unit = text.substr(digits);
    if (number.empty() || number.front() == '.' || number.back() == '.') {
        return std::nullopt;
    }
    const std::optional<double> value = parse_double(number);
    if (!value) {
        return std::nullopt;
    }
    for (const SizeUnit& candidate : size_units) {
        if (same_lower(unit, candidate.name)) {
            const double bytes = std::floor(*value * candidate.bytes);
            if (!(bytes >= 1) || bytes >= 9.2e18) {
                return std::nullopt;
            }
            return static_cast<std::uint64_t>(bytes);
        }
    }
    return std::nullopt;
}

bool is_hardware_encoder(std::string_view encoder) {
    for (const std::string_view suffix : {"_amf", "_nvenc", "_qsv", "_mf"}) {
        if (encoder.ends_with(suffix)) {
            return true;
        }
    }
    return false;
}

std::uint64_t container_allowance(const CompressOptions& options, const MediaInfo& source,
                                  std::uint64_t target_bytes) {
    const bool audio = options.audio != AudioMode::None && !source.audio_streams.empty();
    const double packets_per_second =
        (source.fps > 0 ? source.fps : assumed_fps) + (audio ? audio_packets_per_second : 0);
    const double per_packet =
        options.container == Container::Mkv ? mkv_bytes_per_packet : mp4_bytes_per_packet;
    const double duration = source.duration > 0 ? source.duration : 0;
    return static_cast<std::uint64_t>(packets_per_second * duration * per_packet +
                                      static_cast<double>(target_bytes) * allowance_share) +
           allowance_fixed_bytes;
}

AudioPlan plan_audio(const CompressOptions& options, const MediaInfo& source) {
    if (options.audio == AudioMode::None || source.audio_streams.empty()) {
        return {};
    }
    const std::vector<std::string> arguments = audio_arguments(options, source);
    if (arguments.size() == 4 && arguments[1] == "aac") {
        // An AAC encode, chosen or forced by the container: its rate is on the command line.
        const auto kbps =
            parse_digits(std::string_view(arguments[3]).substr(0, arguments[3].size() - 1));
        std::uint64_t streams = 1;
        if (!(options.audio_stream && *options.audio_stream < source.audio_streams.size())) {
            streams = source.audio_streams.size();
        }
        return AudioPlan{kbps.value_or(0) * 1000 * streams, false};
    }
    bool unknown = false;
    const std::uint64_t bits = audio_stream_bits(source, options, unknown);
    if (!unknown) {
        return AudioPlan{bits, false};
    }
    CompressOptions aac = options;
    aac.audio = AudioMode::Aac;
    AudioPlan plan = plan_audio(aac, source);
    plan.aac_instead_of_copy = true;
    return plan;
}

std::uint32_t floor_kbps(VideoCodec codec, std::uint32_t width, std::uint32_t height, double fps) {
    const double bits_per_pixel =
        codec == VideoCodec::H265 ? h265_floor_bits_per_pixel : h264_floor_bits_per_pixel;
    const double frames = fps > 0 ? fps : assumed_fps;
    return kbps_from(static_cast<double>(width) * height * frames * bits_per_pixel);
}

TargetPlan plan_target(std::uint64_t target_bytes, const CompressOptions& options,
                       const MediaInfo& source, std::string_view encoder) {
    TargetPlan plan;
    plan.target_bytes = target_bytes;
    const PictureSize picture = output_picture(options, source);
    plan.floor_kbps = floor_kbps(options.codec, picture.width, picture.height, source.fps);
    if (!(source.duration > 0)) {
        plan.refusal = TargetRefusal::UnknownDuration;
        return plan;
    }
    if (source.size > 0 && target_bytes >= source.size) {
        plan.refusal = TargetRefusal::NotSmaller;
        return plan;
    }
    const double audio_bytes =
        static_cast<double>(plan_audio(options, source).bits_per_second) / 8 * source.duration;
    plan.fixed_bytes = static_cast<std::uint64_t>(std::ceil(audio_bytes)) +
                       container_allowance(options, source, target_bytes);
    if (audio_bytes >= static_cast<double>(target_bytes)) {
        plan.refusal = TargetRefusal::AudioTooLarge;
        return plan;
    }
    const double video_bytes = static_cast<double>(target_bytes) -
                               static_cast<double>(std::min(plan.fixed_bytes, target_bytes));
    double video_bits_per_second = video_bytes * 8 / source.duration;
    if (is_hardware_encoder(encoder)) {
        video_bits_per_second *= 1 - hardware_margin;
    }
    plan.video_kbps = kbps_from(video_bits_per_second);
    if (plan.video_kbps >= plan.floor_kbps && plan.video_kbps > 0) {
        return plan;
    }
    plan.refusal = TargetRefusal::BelowFloor;
    // An enlarged picture: the source's own size is the largest smaller one.
    if (source.height < picture.height &&
        plan.video_kbps >= floor_kbps(options.codec, source.width, source.height, source.fps)) {
        plan.suggested_resolution = resolution_original;
        plan.suggested_height = source.height;
        return plan;
    }
    // The presets from the largest down: the first smaller than the output that would do.
    for (std::uint8_t preset = 1; preset < resolution_custom; ++preset) {
        CompressOptions smaller = options;
        smaller.resolution = preset;
        smaller.allow_upscale = false;
        const auto scaled = scaled_size(smaller, source.width, source.height);
        if (!scaled || scaled->height >= picture.height) {
            continue;
        }
        if (plan.video_kbps >=
                floor_kbps(options.codec, scaled->width, scaled->height, source.fps) &&
            plan.video_kbps > 0) {
            plan.suggested_resolution = preset;
            plan.suggested_height = scaled->height;
            break;
        }
    }
    return plan;
}

std::uint32_t retry_kbps(std::uint32_t kbps, std::uint64_t actual_bytes, std::uint64_t target_bytes,
                         std::uint64_t fixed_bytes) {
    const double video = static_cast<double>(actual_bytes) -
                         static_cast<double>(std::min(fixed_bytes, actual_bytes));
    const double excess = static_cast<double>(actual_bytes) - static_cast<double>(target_bytes);
    // Video that should shrink by more than it holds: halve it rather than ask for nothing.
    const double ratio = video > excess && video > 0 ? (video - excess) / video : 0.5;
    return static_cast<std::uint32_t>(
        std::max(1.0, std::floor(kbps * std::min(ratio, 1.0) * (1 - retry_margin))));
}

std::vector<std::vector<std::string>>
target_size_arguments(const CompressOptions& options, const MediaInfo& source,
                      std::string_view encoder, bool hwaccel_auto, std::uint32_t kbps,
                      const std::filesystem::path& pass_log,
                      const std::filesystem::path& output_path) {
    const std::string name(encoder);
    if (is_hardware_encoder(encoder)) {
        // One pass, capped at the average: the margin is already in kbps.
        const RateControl rate{kbps, kbps, kbps_from(kbps * 1000.0 * buffer_size), 0, {}};
        return {build_ffmpeg_args_with(options, source, name, hwaccel_auto,
                                       rate_encoder_arguments(encoder, options, rate),
                                       output_path)};
    }
    RateControl rate{kbps, kbps_from(kbps * 1000.0 * software_max_rate),
                     kbps_from(kbps * 1000.0 * buffer_size), 1, pass_log};
    std::vector<std::vector<std::string>> passes;
    passes.push_back(build_ffmpeg_args_with(options, source, name, hwaccel_auto,
                                            rate_encoder_arguments(encoder, options, rate),
                                            std::nullopt));
    rate.pass = 2;
    passes.push_back(build_ffmpeg_args_with(options, source, name, hwaccel_auto,
                                            rate_encoder_arguments(encoder, options, rate),
                                            output_path));
    return passes;
}

} // namespace ondrel
