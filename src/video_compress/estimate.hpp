// A rough forecast of the compressed file's size, shown while the user picks the options.
#pragma once

#include "video_compress/media_info.hpp"
#include "video_compress/options.hpp"

#include <cstdint>
#include <optional>

namespace ondrel {

// The expected output size in bytes: the source's video bit rate scaled by the pixel count
// and by the quality choice, plus the AAC audio when audio is re-encoded. Nothing when the
// source's bit rate, duration or size is unknown.
std::optional<std::uint64_t> size_estimate(const MediaInfo& source, const CompressOptions& options);

} // namespace ondrel
