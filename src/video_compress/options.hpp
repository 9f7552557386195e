// The user's compression choices and the names the program shows for them.
#pragma once

#include "i18n/language.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

enum class AudioMode : std::uint8_t { Copy = 0, Aac = 1, None = 2 };
enum class VideoCodec : std::uint8_t { H264 = 0, H265 = 1 };
enum class Container : std::uint8_t { Mp4 = 0, Mkv = 1 };
enum class SpeedPreset : std::uint8_t { Fast = 0, Balanced = 1, Slow = 2, Max = 3 };
enum class EncoderFamily : std::uint8_t {
    Automatic = 0,
    Amf = 1,
    Nvenc = 2,
    Qsv = 3,
    MediaFoundation = 4,
    Software = 5,
};

// Resolution presets are kept as their index: 0 is the source size, 7 the custom width.
inline constexpr std::uint8_t resolution_original = 0;
inline constexpr std::uint8_t resolution_custom = 7;
inline constexpr std::size_t resolution_count = 8;
inline constexpr std::size_t speed_count = 4;
inline constexpr std::size_t encoder_family_count = 6;
inline constexpr std::size_t audio_mode_count = 3;

// A custom width is clamped to this range when it is used.
inline constexpr std::uint32_t custom_width_min = 160;
inline constexpr std::uint32_t custom_width_max = 7680;
// The AAC bit rate, in kbit/s, is clamped to this range when it is used.
inline constexpr std::uint32_t aac_kbps_min = 32;
inline constexpr std::uint32_t aac_kbps_max = 512;

inline constexpr std::uint32_t default_aac_kbps = 192;
inline constexpr std::uint32_t default_custom_width = 1920;
inline constexpr std::uint32_t default_quality = 60;

struct CompressOptions {
    // Index into the probed file's audio streams; absent means every audio stream.
    std::optional<std::size_t> audio_stream;
    // Absent means beside the source.
    std::optional<std::filesystem::path> output_dir;
    AudioMode audio = AudioMode::Copy;
    std::uint32_t aac_kbps = default_aac_kbps;
    std::uint32_t custom_width = default_custom_width;
    // 0 is the best quality, 100 the smallest file.
    std::uint32_t quality = default_quality;
    VideoCodec codec = VideoCodec::H264;
    bool allow_upscale = false;
    Container container = Container::Mp4;
    bool hw_decode = true;
    SpeedPreset speed = SpeedPreset::Balanced;
    EncoderFamily encoder = EncoderFamily::Automatic;
    std::uint8_t resolution = resolution_original;

    bool operator==(const CompressOptions&) const = default;
};

// Widths of the presets 1-6 (4K down to 360p); index 0 and 7 have none of their own.
inline constexpr std::array<std::uint32_t, resolution_count> resolution_preset_widths{
    0, 3840, 2560, 1920, 1280, 854, 640, 0};

// Values from a list position or a stored number; anything out of range gives the default
// choice (Automatic, Original, Balanced, Copy).
EncoderFamily encoder_family_from_index(std::int64_t index);
std::uint8_t resolution_from_index(std::int64_t index);
SpeedPreset speed_from_index(std::int64_t index);
AudioMode audio_mode_from_index(std::int64_t index);

// Labels in the current language, as the lists and buttons show them.
std::string_view resolution_label(std::uint8_t resolution);
std::string_view speed_label(SpeedPreset speed);
std::string_view encoder_family_label(EncoderFamily family);
std::string_view audio_mode_label(AudioMode mode);
std::string_view codec_label(VideoCodec codec);
std::string_view container_label(Container container);

// A path as UTF-8 text for arguments, settings and messages; anything that is not valid
// Unicode becomes U+FFFD.
std::string path_text(const std::filesystem::path& path);

// Short words for file names and the command line: "h264"/"h265", "mp4"/"mkv".
std::string_view codec_tag(VideoCodec codec);
std::string_view container_extension(Container container);

} // namespace ondrel
