// Where a compression writes its result and under which name:
// "<stem>_<h264|h265>_<height>p.<mp4|mkv>", with " (N)" added when the name is taken.
#pragma once

#include "platform/result.hpp"
#include "video_compress/media_info.hpp"
#include "video_compress/options.hpp"

#include <filesystem>
#include <string>

namespace ondrel {

// The highest N tried in " (N)" before giving up.
inline constexpr int highest_numbered_name = 9999;

// The name the output gets when nothing is in the way (no folder).
std::string output_file_name(const MediaInfo& source, const CompressOptions& options);

// The folder the output goes to: the chosen output folder when it exists, else the
// source's folder (empty for a bare file name, meaning the current folder).
std::filesystem::path output_folder(const MediaInfo& source, const CompressOptions& options);

// The first free path among the name and its numbered variants. Fails with "No free output
// file name in {folder}" when every one of them exists, rather than hand ffmpeg a file it
// would overwrite.
Result<std::filesystem::path> output_path_for(const MediaInfo& source,
                                              const CompressOptions& options);

} // namespace ondrel
