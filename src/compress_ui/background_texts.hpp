// What the player says about a compression outside its window: the on-screen message at the
// end of a job, the progress dialog's lines and position, and the completion dialog's text.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ondrel {

// The size of the file as it is now, formatted; empty when it cannot be read.
std::string current_size_text(const std::filesystem::path& file);

// The on-screen message at the end of a job: "Compression finished: name (size)" after a
// success, "Compression: {result}" otherwise.
std::string finished_job_message(bool success, std::string_view result,
                                 const std::filesystem::path& output);

// The progress dialog's content before the first tick: the source's name, then "Preparing...".
std::string background_preparing_content(const std::filesystem::path& video);

// Its content while the job runs: the output's name, then the progress line.
std::string background_progress_content(const std::filesystem::path& output, float percent,
                                        double speed, double fps, std::string_view bitrate);

// The completion dialog's content. After a success: "name (size)", the result, an empty line
// and "Folder: ..."; after a failure: the source's name (the output is gone) and the result.
std::string completion_content(bool success, std::string_view result,
                               const std::filesystem::path& output,
                               const std::filesystem::path& video);

} // namespace ondrel
