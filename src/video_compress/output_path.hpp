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
// source's folder. Always absolute, so that a folder given as "-out" or a source named
// "-clip.mp4" never reaches ffmpeg as something that reads like an option.
std::filesystem::path output_folder(const MediaInfo& source, const CompressOptions& options);

// Where ffmpeg writes while it encodes for `output`: the same folder and container extension
// (ffmpeg picks its muxer by it) with ".part" before it, "clip_h264_720p.part.mp4". Only a
// checked result takes the output's own name.
std::filesystem::path partial_output_path(const std::filesystem::path& output);

// Deletes the output and its partial file. Fails with "Could not delete {path}: {error}"
// for each that is there and cannot be deleted, in the current language.
Status remove_output_files(const std::filesystem::path& output);

// Deletes the output when it is still the empty file that reserved its name, as when an
// ffmpeg that could not be stopped keeps its partial file open. Anything else stays.
void release_reservation(const std::filesystem::path& output);

// The first free path among the name and its numbered variants; a name is taken when the
// file or its partial file exists. Fails with "No free output file name in {folder}" when
// every one of them is taken, rather than hand ffmpeg a file it would overwrite.
Result<std::filesystem::path> output_path_for(const MediaInfo& source,
                                              const CompressOptions& options);

} // namespace ondrel
