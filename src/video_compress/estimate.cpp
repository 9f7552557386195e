#include "video_compress/estimate.hpp"

#include "video_compress/ffmpeg_args.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ondrel {
namespace {

// How much smaller the picture becomes (or larger, when upscaling).
double pixel_factor(const MediaInfo& source, const CompressOptions& options) {
    const std::optional<std::uint32_t> target =
        target_width(options.resolution, options.custom_width);
    if (!target) {
        return 1.0;
    }
    const double width = source.width;
    const double height = source.height;
    if (static_cast<double>(*target) / width >= 1.0 && !options.allow_upscale) {
        return 1.0;
    }
    const std::uint64_t w = source.width;
    std::uint64_t new_height = (std::uint64_t{source.height} * *target + w / 2) / w;
    new_height -= new_height % 2;
    if (new_height < 4) {
        new_height = 2;
    }
    return static_cast<double>(*target) * static_cast<double>(new_height) / (width * height);
}

std::uint64_t saturated_bytes(double value) {
    if (!(value > 0.0)) {
        return 0; // negative or not a number
    }
    // 2^64 is the first double that does not fit.
    if (value >= 18446744073709551616.0) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return static_cast<std::uint64_t>(value);
}

} // namespace

std::optional<std::uint64_t> size_estimate(const MediaInfo& source,
                                           const CompressOptions& options) {
    if (source.bit_rate == 0 || !(source.duration > 0.0) || source.width == 0 ||
        source.height == 0) {
        return std::nullopt;
    }
    const double pixels = pixel_factor(source, options);
    const double q = static_cast<double>(quality_number(options.quality));
    const double compression = std::clamp(1.0 - (q - 16.0) * 0.0625 * 0.55, 0.3, 1.0);
    // The same AAC rate the encode gets (copied audio is not counted).
    const double audio_bits =
        options.audio == AudioMode::Aac
            ? static_cast<double>(std::clamp(options.aac_kbps, aac_kbps_min, aac_kbps_max)) * 1000.0
            : 0.0;
    const double bytes =
        source.duration *
        (pixels * static_cast<double>(source.bit_rate) * compression + audio_bits) / 8.0;
    return saturated_bytes(bytes);
}

} // namespace ondrel
