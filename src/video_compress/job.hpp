// One encode: ffmpeg in the background, its progress and log, the check of its result, and
// cancellation. The job reports only through its own channel.
#pragma once

#include "platform/process.hpp"
#include "platform/result.hpp"
#include "video_compress/compress_message.hpp"
#include "video_compress/encoder_support.hpp"
#include "video_compress/media_info.hpp"
#include "video_compress/options.hpp"
#include "video_compress/tools.hpp"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace ondrel {

// The ffmpeg process, shared by the job worker and whoever cancels.
struct SharedChild {
    std::mutex lock;
    ChildProcess process;
    // Why a cancel could not stop the process; the job then ends in an Error, not Canceled.
    std::optional<std::string> stop_failure;
    // ffmpeg has been seen to end by itself: its outcome is being decided (the check of the
    // result may still run) and a cancel no longer changes it.
    bool ended = false;
};

// How often the job looks whether ffmpeg has ended, with the cancel flag read around every look.
inline constexpr std::chrono::milliseconds job_poll_interval{100};

// How long a cancel waits for the ended process before it reports that it could not stop it.
inline constexpr std::chrono::milliseconds stop_wait_limit{5000};

// What the starter keeps while a job exists. Dropping it leaves the job running to its end.
struct CompressJob {
    CompressReceiver messages;
    std::shared_ptr<SharedChild> child;
    std::shared_ptr<std::atomic<bool>> cancel_requested;
};

struct JobStart {
    // The output file of the job; chosen also when ffmpeg then could not be started. Empty
    // when no name could be chosen.
    std::filesystem::path output_path;
    // The running job, or what to show the user, in the current language.
    Result<CompressJob> job;
};

// Chooses and reserves the output file (an empty file made before ffmpeg starts, so that no
// other job can choose the same name), builds ffmpeg's arguments and starts the job. ffmpeg
// writes to the output's partial file; only a result that passes the check is renamed to
// the output, so a cut-short encode never sits under the output's name.
JobStart start_job(const CompressOptions& options, const MediaInfo& media,
                   const EncoderSupport& encoders, const std::filesystem::path& ffmpeg,
                   const std::filesystem::path& ffprobe,
                   std::chrono::milliseconds poll_interval = job_poll_interval);

// What the job does with ffmpeg's file once ffmpeg has ended well.
enum class ResultFile : unsigned char {
    CheckAndRename, // checked, then renamed from its partial name to the output
    CheckOnly,      // checked and left under its partial name, for the starter to judge
    None,           // ffmpeg writes no file (an analysis pass to the null muxer): no check
};

struct JobLaunch {
    std::filesystem::path ffmpeg;
    std::filesystem::path ffprobe;
    std::vector<std::string> arguments; // for ffmpeg, without the program name; they write
                                        // the partial file of output_path
    std::filesystem::path output_path;
    double duration = 0; // of the source, in seconds; 0 when unknown
    std::chrono::milliseconds poll_interval = job_poll_interval;
    ResultFile result_file = ResultFile::CheckAndRename;
};

// Chooses the output file of an encode and creates it empty, so that no other job can choose
// the same name. `chosen` is the last name tried (empty when it is another's file).
Result<std::filesystem::path> reserve_output(const MediaInfo& media, const CompressOptions& options,
                                             std::filesystem::path& chosen);

// Starts ffmpeg at below-normal priority and the job worker. Fails with
// "Could not launch ffmpeg: {error}" in the current language.
Result<CompressJob> launch_job(const JobLaunch& launch);

enum class CancelResult : unsigned char {
    // ffmpeg was ended; the job reports Canceled and its receiver deletes the output.
    Stopped,
    // ffmpeg had already ended by itself: nothing was canceled, the job's own outcome follows
    // (it may still be checking the result) and the output is not the receiver's to delete.
    AlreadyEnded,
};

// Ends the job's ffmpeg and waits, at most stop_wait_limit, until it has ended. When the
// process cannot be ended or does not end in time, the failure is returned, in the current
// language, and the job reports it as its Error outcome once ffmpeg has gone; its output is
// then not the receiver's to delete either.
Result<CancelResult> cancel_job(CompressJob& job);

// How long whoever must be done with a job whose ffmpeg has ended (it is closing, or the
// session ends) waits for its outcome: the check of the result and its renaming.
inline constexpr std::chrono::milliseconds finish_wait_limit{10000};

// Receives until the job's Finished, dropping everything before it; nothing when the job has
// not finished within `limit` or can no longer say how it ended.
std::optional<JobOutcome> wait_for_outcome(CompressJob& job, std::chrono::milliseconds limit);

// True when ffprobe reads a duration above 0 from the file within `limit`; an ffprobe still
// running then is ended and the check fails.
bool output_passes_check(const std::filesystem::path& ffprobe, const std::filesystem::path& output,
                         std::chrono::milliseconds limit = probe_time_limit);

} // namespace ondrel
