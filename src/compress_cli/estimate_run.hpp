// --estimate: the pieces of one video encoded in a temporary folder of their own, and the
// range of the output's size printed (and written as a JSON line).
#pragma once

#include "compress_cli/cli_arguments.hpp"
#include "video_compress/encoder_support.hpp"
#include "video_compress/media_info.hpp"

#include <filesystem>
#include <string>

namespace ondrel {

enum class EstimateStatus { Done, Failed, Interrupted };

struct EstimateRun {
    EstimateStatus status = EstimateStatus::Failed;
    // What went wrong, in the current language, already shown; empty unless Failed.
    std::string failure;
};

// Encodes the planned pieces of `media` one after another with the request's options,
// stopping at Ctrl+C, and prints the range for `given` (the file as the user named it). The
// temporary folder is gone when this returns, whatever happened.
EstimateRun estimate_file(const CliRequest& request, const std::filesystem::path& ffmpeg,
                          const std::filesystem::path& ffprobe, const std::filesystem::path& given,
                          const MediaInfo& media, const EncoderSupport& encoders);

} // namespace ondrel
