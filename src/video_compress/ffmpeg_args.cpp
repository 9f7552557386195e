#include "video_compress/ffmpeg_args.hpp"

#include "platform/files.hpp"
#include "platform/numbers.hpp"

#include <algorithm>
#include <array>

namespace ondrel {
namespace {

struct EncoderNames {
    std::string_view h264;
    std::string_view h265;
};

// Hardware families in the order Automatic prefers them.
constexpr std::array<std::pair<EncoderFamily, EncoderNames>, 4> hardware_encoders{{
    {EncoderFamily::Amf, {"h264_amf", "hevc_amf"}},
    {EncoderFamily::Nvenc, {"h264_nvenc", "hevc_nvenc"}},
    {EncoderFamily::Qsv, {"h264_qsv", "hevc_qsv"}},
    {EncoderFamily::MediaFoundation, {"h264_mf", "hevc_mf"}},
}};

std::string_view name_for(const EncoderNames& names, VideoCodec codec) {
    return codec == VideoCodec::H265 ? names.h265 : names.h264;
}

// The word after each family's speed option, by speed (Fast, Balanced, Slow, Max).
using PresetWords = std::array<std::string_view, speed_count>;
constexpr PresetWords nvenc_presets{"p3", "p5", "p6", "p7"};
constexpr PresetWords amf_presets{"speed", "balanced", "quality", "quality"};
constexpr PresetWords qsv_presets{"veryfast", "medium", "slow", "veryslow"};
constexpr PresetWords software_presets{"fast", "medium", "slow", "veryslow"};

std::string preset(const PresetWords& words, SpeedPreset speed) {
    const auto index = static_cast<std::size_t>(speed);
    return std::string(words[index < words.size() ? index : 1]);
}

// Audio codecs an MP4 file takes unchanged.
constexpr std::array<std::string_view, 7> mp4_audio_codecs{"aac",  "mp3",  "ac3", "eac3",
                                                           "opus", "flac", "alac"};

constexpr std::uint32_t copy_fallback_aac_kbps = 192;

bool chosen_stream_exists(const CompressOptions& options, const MediaInfo& source) {
    return options.audio_stream && *options.audio_stream < source.audio_streams.size();
}

} // namespace

std::uint32_t quality_number(std::uint32_t quality) {
    const double scaled = 16.0 + static_cast<double>(quality) / 100.0 * 16.0;
    const std::int64_t rounded =
        std::clamp<std::int64_t>(round_half_away_saturated(scaled), 0, std::int64_t{4294967295});
    return std::clamp<std::uint32_t>(static_cast<std::uint32_t>(rounded), 16, 32);
}

std::string choose_encoder(VideoCodec codec, EncoderFamily family,
                           const std::vector<std::string>& detected_encoders) {
    for (const auto& [hardware_family, names] : hardware_encoders) {
        if (family == hardware_family) {
            return std::string(name_for(names, codec));
        }
    }
    if (family == EncoderFamily::Automatic) {
        for (const auto& entry : hardware_encoders) {
            const std::string_view name = name_for(entry.second, codec);
            if (std::find(detected_encoders.begin(), detected_encoders.end(), name) !=
                detected_encoders.end()) {
                return std::string(name);
            }
        }
    }
    return codec == VideoCodec::H265 ? "libx265" : "libx264";
}

std::optional<std::uint32_t> target_width(std::uint8_t resolution, std::uint32_t custom_width) {
    if (resolution == resolution_custom) {
        return std::clamp(custom_width, custom_width_min, custom_width_max);
    }
    if (resolution == resolution_original || resolution >= resolution_count) {
        return std::nullopt;
    }
    return resolution_preset_widths[resolution];
}

std::optional<PictureSize> scaled_size(const CompressOptions& options, std::uint32_t source_width,
                                       std::uint32_t source_height) {
    if (source_width == 0 || source_height == 0) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> target =
        target_width(options.resolution, options.custom_width);
    if (!target) {
        return std::nullopt;
    }
    const bool narrower = static_cast<double>(*target) / static_cast<double>(source_width) < 1.0;
    if (!narrower && !options.allow_upscale) {
        return std::nullopt;
    }
    const std::uint64_t w = source_width;
    std::uint64_t height = (std::uint64_t{source_height} * *target + w / 2) / w;
    height -= height % 2;
    // The height cannot exceed 7680 x 2^32 / 1, but it can exceed 32 bits.
    height = std::clamp<std::uint64_t>(height, 2, 4294967294u);
    return PictureSize{*target, static_cast<std::uint32_t>(height)};
}

std::uint32_t output_height(const CompressOptions& options, std::uint32_t source_width,
                            std::uint32_t source_height) {
    const std::optional<PictureSize> scaled = scaled_size(options, source_width, source_height);
    return scaled ? scaled->height : source_height;
}

std::vector<std::string> encoder_arguments(std::string_view encoder,
                                           const CompressOptions& options) {
    const std::string nn = std::to_string(quality_number(options.quality));
    std::vector<std::string> arguments;
    if (encoder == "h264_nvenc" || encoder == "hevc_nvenc") {
        arguments = {
            "-preset", preset(nvenc_presets, options.speed), "-rc", "vbr", "-cq", nn, "-b:v", "0"};
    } else if (encoder == "h264_amf" || encoder == "hevc_amf") {
        arguments = {
            "-quality", preset(amf_presets, options.speed), "-rc", "cqp", "-qp_i", nn, "-qp_p", nn};
    } else if (encoder == "h264_qsv" || encoder == "hevc_qsv") {
        arguments = {"-preset", preset(qsv_presets, options.speed), "-global_quality", nn};
    } else if (encoder == "h264_mf" || encoder == "hevc_mf") {
        // Media Foundation takes the slider value itself, not the 16-32 scale.
        arguments = {"-rate_control", "quality", "-quality",
                     std::to_string(std::min<std::uint32_t>(options.quality, 100))};
    } else if (encoder == "libx264") {
        arguments = {"-preset", preset(software_presets, options.speed), "-crf", nn};
    } else if (encoder == "libx265") {
        arguments = {"-crf",         nn,
                     "-preset",      preset(software_presets, options.speed),
                     "-x265-params", "log-level=error"};
    } else {
        return arguments;
    }
    arguments.insert(arguments.end(), {"-pix_fmt", "yuv420p"});
    return arguments;
}

std::vector<std::string> audio_arguments(const CompressOptions& options, const MediaInfo& source) {
    if (options.audio == AudioMode::None) {
        return {"-an"};
    }
    if (options.audio == AudioMode::Aac) {
        const std::uint32_t kbps = std::clamp(options.aac_kbps, aac_kbps_min, aac_kbps_max);
        return {"-c:a", "aac", "-b:a", std::to_string(kbps) + "k"};
    }
    const std::string& codec = chosen_stream_exists(options, source)
                                   ? source.audio_streams[*options.audio_stream].codec
                                   : source.first_audio_codec;
    const bool mp4_takes_it =
        codec.empty() || std::find(mp4_audio_codecs.begin(), mp4_audio_codecs.end(), codec) !=
                             mp4_audio_codecs.end();
    if (options.container == Container::Mp4 && !mp4_takes_it) {
        return {"-c:a", "aac", "-b:a", std::to_string(copy_fallback_aac_kbps) + "k"};
    }
    return {"-c:a", "copy"};
}

std::vector<std::string> rate_encoder_arguments(std::string_view encoder,
                                                const CompressOptions& options,
                                                const RateControl& rate) {
    const auto kbits = [](std::uint32_t value) { return std::to_string(value) + "k"; };
    const std::vector<std::string> rates{"-b:v",     kbits(rate.kbps),
                                         "-maxrate", kbits(rate.max_kbps),
                                         "-bufsize", kbits(rate.buffer_kbits)};
    std::vector<std::string> arguments;
    if (encoder == "h264_nvenc" || encoder == "hevc_nvenc") {
        arguments = {"-preset", preset(nvenc_presets, options.speed), "-rc", "vbr"};
    } else if (encoder == "h264_amf" || encoder == "hevc_amf") {
        arguments = {"-quality", preset(amf_presets, options.speed), "-rc", "vbr_peak"};
    } else if (encoder == "h264_qsv" || encoder == "hevc_qsv") {
        arguments = {"-preset", preset(qsv_presets, options.speed)};
    } else if (encoder == "h264_mf" || encoder == "hevc_mf") {
        arguments = {"-rate_control", "cbr"};
    } else if (encoder == "libx264" || encoder == "libx265") {
        arguments = {"-preset", preset(software_presets, options.speed)};
    } else {
        return arguments;
    }
    arguments.insert(arguments.end(), rates.begin(), rates.end());
    if (encoder == "libx264" && rate.pass != 0) {
        arguments.insert(arguments.end(), {"-pass", std::to_string(rate.pass), "-passlogfile",
                                           path_text(extended_length_path(rate.pass_log))});
    } else if (encoder == "libx265") {
        // ffmpeg hands libx265 no pass of its own: the pass and the statistics file go in its
        // parameters, where colons, equals signs, backslashes and quotes are escaped.
        std::string parameters = "log-level=error";
        if (rate.pass != 0) {
            std::string log;
            for (const char c : path_text(extended_length_path(rate.pass_log)) + ".log") {
                if (c == ':' || c == '=' || c == '\\' || c == '\'') {
                    log.push_back('\\');
                }
                log.push_back(c);
            }
            parameters += ":pass=" + std::to_string(rate.pass) + ":stats=" + log;
        }
        arguments.insert(arguments.end(), {"-x265-params", parameters});
    }
    arguments.insert(arguments.end(), {"-pix_fmt", "yuv420p"});
    return arguments;
}

std::vector<std::string> build_ffmpeg_args(const CompressOptions& options, const MediaInfo& source,
                                           const std::vector<std::string>& detected_encoders,
                                           bool hwaccel_auto,
                                           const std::filesystem::path& output_path) {
    const std::string encoder = choose_encoder(options.codec, options.encoder, detected_encoders);
    return build_ffmpeg_args_with(options, source, encoder, hwaccel_auto,
                                  encoder_arguments(encoder, options), output_path);
}

std::vector<std::string>
build_ffmpeg_args_with(const CompressOptions& options, const MediaInfo& source,
                       const std::string& encoder, bool hwaccel_auto,
                       std::vector<std::string> video_arguments,
                       const std::optional<std::filesystem::path>& output_path) {
    std::vector<std::string> args{"-hide_banner", "-loglevel", "info",  "-y",
                                  "-nostats",     "-progress", "pipe:1"};
    if (hwaccel_auto && options.hw_decode) {
        args.insert(args.end(), {"-hwaccel", "auto"});
    }
    args.insert(args.end(), {"-i", path_text(extended_length_path(source.path))});
    args.insert(args.end(), {"-map", "0:v:" + std::to_string(source.video_stream)});
    const bool with_audio = output_path && options.audio != AudioMode::None;
    if (with_audio) {
        args.push_back("-map");
        args.push_back(chosen_stream_exists(options, source)
                           ? "0:a:" + std::to_string(*options.audio_stream)
                           : std::string("0:a?"));
    }
    if (output_path && options.container == Container::Mkv) {
        args.insert(args.end(), {"-map", "0:s?", "-c:s", "copy"});
    }
    if (const auto scaled = scaled_size(options, source.width, source.height)) {
        args.push_back("-vf");
        args.push_back("scale=" + std::to_string(scaled->width) + ":" +
                       std::to_string(scaled->height) + ":flags=lanczos");
    }
    args.insert(args.end(), {"-c:v", encoder});
    for (std::string& argument : video_arguments) {
        args.push_back(std::move(argument));
    }
    if (!output_path) {
        // The null muxer opens no file: "-" is never written, on any system.
        args.insert(args.end(), {"-an", "-f", "null", "-"});
        return args;
    }
    for (std::string& argument : audio_arguments(options, source)) {
        args.push_back(std::move(argument));
    }
    if (options.container == Container::Mp4) {
        args.insert(args.end(), {"-movflags", "+faststart"});
    }
    args.push_back(path_text(extended_length_path(*output_path)));
    return args;
}

} // namespace ondrel
