// The thread that follows one ffmpeg run to its end (used by launch_job).
#pragma once

#include "video_compress/job.hpp"

#include <chrono>

namespace ondrel {

struct JobWorker {
    PipeReader output; // ffmpeg's standard output: the progress report
    PipeReader errors; // ffmpeg's standard error: the log
    double duration = 0;
    std::filesystem::path ffprobe;
    std::filesystem::path output_path;
    std::chrono::steady_clock::time_point started;
    std::chrono::milliseconds poll_interval = job_poll_interval;
    std::shared_ptr<std::atomic<bool>> cancel_requested;
    std::shared_ptr<SharedChild> child;
    CompressSender sender;
    ResultFile result_file = ResultFile::CheckAndRename;
};

// The checked partial file takes the output's name, in place of the empty reservation, trying
// a few times: a virus scanner or an indexer may hold the file for a moment.
Status give_final_name(const std::filesystem::path& partial, const std::filesystem::path& output);

// Forwards the log, waits for the progress reader and for ffmpeg, decides the outcome and
// sends Finished as the job's last message.
void run_job_worker(JobWorker worker);

} // namespace ondrel
