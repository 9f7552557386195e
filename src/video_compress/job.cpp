#include "video_compress/job.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "i18n/texts_compression_job.hpp"
#include "platform/files.hpp"
#include "platform/new_file.hpp"
#include "platform/numbers.hpp"
#include "platform/text.hpp"
#include "platform/threads.hpp"
#include "video_compress/ffmpeg_args.hpp"
#include "video_compress/job_worker.hpp"
#include "video_compress/output_path.hpp"
#include "video_compress/tools.hpp"

namespace ondrel {
namespace {

// Another job can take the name between its choice and its reservation; the choice is then
// made again, a bounded number of times.
constexpr int reservation_attempts = 64;

std::string launch_failure(std::string_view error) {
    return fill(tr(texts::could_not_launch_ffmpeg), {error});
}

// Ends the process and waits a bounded time for it: this runs on the GUI thread.
Status stop_process(ChildProcess& process) {
    const Status terminated = terminate_process(process);
    if (!terminated) {
        return Failure{fill(tr(texts::could_not_stop_ffmpeg), {terminated.error()})};
    }
    const auto ended = wait_for_exit_within(process, stop_wait_limit);
    if (!ended) {
        return Failure{fill(tr(texts::could_not_stop_ffmpeg), {ended.error()})};
    }
    if (!ended.value()) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(stop_wait_limit);
        return Failure{
            fill(tr(texts::could_not_stop_ffmpeg),
                 {fill(tr(texts::still_running_after_stop), {std::to_string(seconds.count())})})};
    }
    return success();
}

} // namespace

// Created as an empty file that the checked result replaces: from here on no other job, in
// this program or another, can choose the same name.
Result<std::filesystem::path> reserve_output(const MediaInfo& media, const CompressOptions& options,
                                             std::filesystem::path& chosen) {
    for (int attempt = 0; attempt < reservation_attempts; ++attempt) {
        auto path = output_path_for(media, options);
        if (!path) {
            return Failure{path.error()};
        }
        chosen = path.value();
        const auto reserved = create_new_file(chosen);
        if (!reserved) {
            return Failure{
                fill(tr(texts::could_not_create_output), {path_text(chosen), reserved.error()})};
        }
        if (reserved.value() == NewFile::Created) {
            return chosen;
        }
    }
    chosen.clear(); // the last name tried is another's file, not this job's
    return Failure{
        fill(tr(texts::no_free_output_name), {path_text(output_folder(media, options))})};
}

JobStart start_job(const CompressOptions& options, const MediaInfo& media,
                   const EncoderSupport& encoders, const std::filesystem::path& ffmpeg,
                   const std::filesystem::path& ffprobe, std::chrono::milliseconds poll_interval) {
    std::filesystem::path output_path;
    const auto reserved = reserve_output(media, options, output_path);
    if (!reserved) {
        return JobStart{output_path, Failure{reserved.error()}};
    }
    JobLaunch launch{ffmpeg,
                     ffprobe,
                     build_ffmpeg_args(options, media, encoders.encoders, encoders.hwaccel_auto,
                                       partial_output_path(output_path)),
                     output_path,
                     media.duration,
                     poll_interval};
    auto job = launch_job(launch);
    if (!job) {
        // Only the empty reservation exists: nothing was written that a user could miss.
        (void)remove_output_files(output_path);
    }
    return JobStart{output_path, std::move(job)};
}

Result<CompressJob> launch_job(const JobLaunch& launch) {
    auto started = start_process(launch.ffmpeg, launch.arguments, ProcessPriority::BelowNormal);
    if (!started) {
        return Failure{launch_failure(started.error())};
    }
    const auto start_instant = std::chrono::steady_clock::now();
    auto child = std::make_shared<SharedChild>();
    child->process = std::move(started.value().process);
    auto cancel_requested = std::make_shared<std::atomic<bool>>(false);
    auto [sender, receiver] = make_channel<CompressMessage>();

    JobWorker worker{std::move(started.value().output),
                     std::move(started.value().errors),
                     launch.duration,
                     launch.ffprobe,
                     launch.output_path,
                     start_instant,
                     launch.poll_interval,
                     cancel_requested,
                     child,
                     std::move(sender),
                     launch.result_file};
    std::optional<std::string> no_worker;
    start_detached_thread(
        [worker = std::move(worker)]() mutable { run_job_worker(std::move(worker)); },
        [&](const std::string& reason) { no_worker = reason; });
    if (no_worker) {
        // Nobody would follow this ffmpeg: it is ended and reaped right away.
        std::lock_guard<std::mutex> guard(child->lock);
        (void)terminate_process(child->process);
        (void)wait_for_exit(child->process);
        return Failure{launch_failure(*no_worker)};
    }
    return CompressJob{std::move(receiver), std::move(child), std::move(cancel_requested)};
}

Result<CancelResult> cancel_job(CompressJob& job) {
    if (!job.child || !job.cancel_requested) {
        return CancelResult::AlreadyEnded; // a job handed on: nothing of it is ours to end
    }
    // The end of ffmpeg and the cancel flag are both recorded under the lock, so exactly one
    // of them comes first: a worker that has seen ffmpeg end decides the outcome itself, and
    // one that sees the flag finds the result of this cancel recorded.
    std::lock_guard<std::mutex> guard(job.child->lock);
    if (!job.child->ended) {
        // ffmpeg may have ended since the worker last looked.
        const auto state = query_exit(job.child->process);
        job.child->ended = state && state.value().has_value();
    }
    if (job.child->ended) {
        return CancelResult::AlreadyEnded;
    }
    job.cancel_requested->store(true);
    const Status stopped = stop_process(job.child->process);
    if (!stopped) {
        job.child->stop_failure = stopped.error();
        return Failure{stopped.error()};
    }
    return CancelResult::Stopped;
}

std::optional<JobOutcome> wait_for_outcome(CompressJob& job, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() < 0) {
            return std::nullopt;
        }
        Received<CompressMessage> received = receive_for(job.messages, left);
        if (received.status != ReceiveStatus::Received) {
            return std::nullopt;
        }
        if (auto* finished = std::get_if<message::Finished>(&*received.message)) {
            return std::move(finished->outcome);
        }
    }
}

bool output_passes_check(const std::filesystem::path& ffprobe, const std::filesystem::path& output,
                         std::chrono::milliseconds limit) {
    const auto report =
        run_capture(ffprobe,
                    {"-v", "error", "-show_entries", "format=duration", "-of",
                     "default=noprint_wrappers=1:nokey=1", path_text(extended_length_path(output))},
                    limit);
    if (!report) {
        return false;
    }
    const auto duration = parse_double(trim_unicode_space(report.value().output));
    return duration && *duration > 0;
}

} // namespace ondrel
