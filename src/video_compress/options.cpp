#include "video_compress/options.hpp"

#include "i18n/texts_compression.hpp"
#include "platform/text.hpp"

#include <type_traits>

namespace ondrel {
namespace {

template <class Table> std::string_view label_at(const Table& table, std::size_t index) {
    return index < table.size() ? tr(table[index]) : tr(table[0]);
}

// Windows names are UTF-16 and may hold unpaired surrogates.
[[maybe_unused]] std::string native_text(const std::wstring& native) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t) ||
                  !std::is_same_v<std::filesystem::path::value_type, wchar_t>);
    std::u16string units(native.begin(), native.end());
    return utf16_to_utf8(units);
}

// POSIX names are bytes in any encoding.
[[maybe_unused]] std::string native_text(const std::string& native) {
    return repair_utf8(native);
}

} // namespace

EncoderFamily encoder_family_from_index(std::int64_t index) {
    return index >= 0 && index < static_cast<std::int64_t>(encoder_family_count)
               ? static_cast<EncoderFamily>(index)
               : EncoderFamily::Automatic;
}

std::uint8_t resolution_from_index(std::int64_t index) {
    return index >= 0 && index < static_cast<std::int64_t>(resolution_count)
               ? static_cast<std::uint8_t>(index)
               : resolution_original;
}

SpeedPreset speed_from_index(std::int64_t index) {
    return index >= 0 && index < static_cast<std::int64_t>(speed_count)
               ? static_cast<SpeedPreset>(index)
               : SpeedPreset::Balanced;
}

AudioMode audio_mode_from_index(std::int64_t index) {
    return index >= 0 && index < static_cast<std::int64_t>(audio_mode_count)
               ? static_cast<AudioMode>(index)
               : AudioMode::Copy;
}

std::string_view resolution_label(std::uint8_t resolution) {
    return label_at(texts::resolution_labels, resolution);
}

std::string_view speed_label(SpeedPreset speed) {
    return label_at(texts::speed_labels, static_cast<std::size_t>(speed));
}

std::string_view encoder_family_label(EncoderFamily family) {
    return label_at(texts::encoder_family_labels, static_cast<std::size_t>(family));
}

std::string_view audio_mode_label(AudioMode mode) {
    return label_at(texts::audio_mode_labels, static_cast<std::size_t>(mode));
}

std::string_view codec_label(VideoCodec codec) {
    return label_at(texts::codec_labels, static_cast<std::size_t>(codec));
}

std::string_view container_label(Container container) {
    return label_at(texts::container_labels, static_cast<std::size_t>(container));
}

std::string path_text(const std::filesystem::path& path) {
    return native_text(path.native());
}

std::string_view codec_tag(VideoCodec codec) {
    return codec == VideoCodec::H265 ? "h265" : "h264";
}

std::string_view container_extension(Container container) {
    return container == Container::Mkv ? "mkv" : "mp4";
}

} // namespace ondrel
