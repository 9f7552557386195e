// How ondrel-compress tells what happens to each file, and how it follows one ffmpeg run to its
// end: shared by the plain encode and the encode into a target size.
#pragma once

#include "video_compress/job.hpp"

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace ondrel {

inline const std::string indent = "  ";

// The command line has nothing else to do while ffmpeg ends: it looks every 10 ms, so that a
// short encode does not wait up to a tenth of a second for its result.
inline constexpr std::chrono::milliseconds job_poll{10};

// Where the run's text goes. With --progress ndjson, standard output carries only the JSON
// lines and every text for people goes to standard error.
struct Report {
    bool ndjson = false;
    // The last failure shown, which the file's JSON error line repeats.
    std::string failure;
};

// Text for people that is not a failure; say() adds the end of the line.
void show(const Report& report, std::string_view text);
void say(const Report& report, std::string_view text);
// A failure on standard error.
void complain(std::string_view text);
// A failure of the current file, shown indented and kept for its JSON error line.
void fail(Report& report, std::string_view text);
// A JSON line, written at once so that a reader sees each event as it happens.
void emit(const Report& report, std::string_view line);

// Unreachable: a target size that cannot be met, refused before anything is written.
enum class FileResult { Done, Failed, Interrupted, Unreachable };

// Follows a started job to its end and shows how it ended. On an interrupt, or when the job
// ends without a result, the output and its partial file are removed.
FileResult follow_job(Report& report, CompressJob& job, const std::filesystem::path& output_path,
                      double duration);

} // namespace ondrel
