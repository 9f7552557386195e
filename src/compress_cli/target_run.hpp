// ondrel-compress --target-size: each output is encoded to fit in the given size, with two
// passes for the software encoders, and made again with a lower bit rate when it came out too
// large. A target that cannot be met is refused before anything is written.
#pragma once

#include "compress_cli/cli_arguments.hpp"
#include "compress_cli/cli_report.hpp"
#include "video_compress/encoder_support.hpp"
#include "video_compress/media_info.hpp"

#include <filesystem>

namespace ondrel {

// Prints the arguments of each ffmpeg run (lists parted by an empty line) and writes nothing.
FileResult print_target_arguments(Report& report, const CliRequest& request, const MediaInfo& media,
                                  const EncoderSupport& encoders, bool& printed_before);

// Encodes the file into request.target_size. `output_path` is the file made, once chosen.
FileResult compress_to_target(Report& report, const CliRequest& request,
                              const std::filesystem::path& ffmpeg,
                              const std::filesystem::path& ffprobe, const MediaInfo& media,
                              const EncoderSupport& encoders, std::filesystem::path& output_path);

} // namespace ondrel
