#include "video_compress/compress_settings.hpp"

#include "platform/files.hpp"
#include "platform/numbers.hpp"

#include <limits>

namespace ondrel {
namespace {

std::optional<std::uint32_t> parse_u32(std::string_view text) {
    const auto value = parse_digits(text, std::numeric_limits<std::uint32_t>::max());
    return value ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*value)) : std::nullopt;
}

EncoderFamily family_from_word(std::string_view word) {
    if (word == "amf") {
        return EncoderFamily::Amf;
    }
    if (word == "nvenc") {
        return EncoderFamily::Nvenc;
    }
    if (word == "qsv") {
        return EncoderFamily::Qsv;
    }
    if (word == "mf") {
        return EncoderFamily::MediaFoundation;
    }
    if (word == "sw") {
        return EncoderFamily::Software;
    }
    return EncoderFamily::Automatic;
}

std::string_view family_word(EncoderFamily family) {
    switch (family) {
    case EncoderFamily::Amf:
        return "amf";
    case EncoderFamily::Nvenc:
        return "nvenc";
    case EncoderFamily::Qsv:
        return "qsv";
    case EncoderFamily::MediaFoundation:
        return "mf";
    case EncoderFamily::Software:
        return "sw";
    case EncoderFamily::Automatic:
        break;
    }
    return "auto";
}

void apply_setting(CompressOptions& options, std::uint32_t& aac_bitrate, std::string_view key,
                   std::string_view value) {
    if (key == "codec") {
        options.codec = value == "h265" ? VideoCodec::H265 : VideoCodec::H264;
    } else if (key == "enc") {
        options.encoder = family_from_word(value);
    } else if (key == "res") {
        const auto index = parse_digits(value, resolution_count - 1);
        options.resolution = index ? static_cast<std::uint8_t>(*index) : resolution_original;
    } else if (key == "w") {
        options.custom_width = parse_u32(value).value_or(default_custom_width);
    } else if (key == "up") {
        options.allow_upscale = value == "1";
    } else if (key == "q") {
        options.quality = std::min<std::uint32_t>(parse_u32(value).value_or(default_quality), 100);
    } else if (key == "speed") {
        const auto index = parse_digits(value, speed_count - 1);
        options.speed = index ? static_cast<SpeedPreset>(*index) : SpeedPreset::Balanced;
    } else if (key == "audio") {
        if (value == "none") {
            options.audio = AudioMode::None;
        } else if (value.starts_with("aac:")) {
            options.audio = AudioMode::Aac;
            aac_bitrate = parse_u32(value.substr(4)).value_or(default_aac_kbps);
        } else {
            options.audio = AudioMode::Copy;
        }
    } else if (key == "cont") {
        options.container = value == "mkv" ? Container::Mkv : Container::Mp4;
    } else if (key == "hw") {
        options.hw_decode = value != "0";
    } else if (key == "dir") {
        options.output_dir = value.empty()
                                 ? std::nullopt
                                 : std::optional<std::filesystem::path>(path_from_utf8(value));
    }
}

} // namespace

CompressOptions parse_compress_settings(std::string_view text) {
    CompressOptions options;
    std::uint32_t aac_bitrate = default_aac_kbps;
    for (;;) {
        const std::size_t bar = text.find('|');
        const std::string_view piece = text.substr(0, bar);
        if (const std::size_t equals = piece.find('='); equals != std::string_view::npos) {
            apply_setting(options, aac_bitrate, piece.substr(0, equals), piece.substr(equals + 1));
        }
        if (bar == std::string_view::npos) {
            break;
        }
        text.remove_prefix(bar + 1);
    }
    options.aac_kbps = options.audio == AudioMode::Aac ? aac_bitrate : default_aac_kbps;
    return options;
}

std::string format_compress_settings(const CompressOptions& options) {
    std::string audio;
    switch (options.audio) {
    case AudioMode::None:
        audio = "none";
        break;
    case AudioMode::Aac:
        audio = "aac:" + std::to_string(options.aac_kbps);
        break;
    case AudioMode::Copy:
        audio = "copy";
        break;
    }
    std::string text;
    text += "codec=";
    text += codec_tag(options.codec);
    text += "|enc=";
    text += family_word(options.encoder);
    text += "|res=" + std::to_string(options.resolution);
    text += "|w=" + std::to_string(options.custom_width);
    text += options.allow_upscale ? "|up=1" : "|up=0";
    text += "|q=" + std::to_string(options.quality);
    text += "|speed=" + std::to_string(static_cast<unsigned>(options.speed));
    text += "|audio=" + audio;
    text += "|cont=";
    text += container_extension(options.container);
    text += options.hw_decode ? "|hw=1" : "|hw=0";
    text += "|dir=";
    if (options.output_dir) {
        text += path_text(*options.output_dir);
    }
    return text;
}

} // namespace ondrel
