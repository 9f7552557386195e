#include "video_compress/job_worker.hpp"

#include "platform/process_output_lines.hpp"
#include "platform/text.hpp"
#include "platform/threads.hpp"
#include "video_compress/progress_reader.hpp"

#include <thread>

namespace ondrel {
namespace {

void forward_log(PipeReader errors, const CompressSender& sender) {
    LineReader lines(std::move(errors));
    while (const auto line = read_line(lines)) {
        if (!is_valid_utf8(*line)) {
            break;
        }
        if (!trim_unicode_space(*line).empty()) {
            send(sender, CompressMessage(message::Log{*line}));
        }
    }
    stop_reading(lines);
}

// The exit code once ffmpeg has ended; nothing when the cancel flag stopped the wait.
std::optional<Result<std::int32_t>> wait_unless_canceled(JobWorker& worker) {
    while (!worker.cancel_requested->load()) {
        Result<std::optional<std::int32_t>> state = std::optional<std::int32_t>();
        {
            std::lock_guard<std::mutex> guard(worker.child->lock);
            state = query_exit(worker.child->process);
        }
        if (!state) {
            return Result<std::int32_t>(Failure{state.error()});
        }
        if (state.value()) {
            return Result<std::int32_t>(*state.value());
        }
        std::this_thread::sleep_for(worker.poll_interval);
    }
    return std::nullopt;
}

// Deletes the output; true when it held anything. The empty file that reserved the name is
// not a partial output of ffmpeg's.
bool remove_output(const std::filesystem::path& output) {
    std::error_code error;
    const auto size = std::filesystem::file_size(output, error);
    const bool had_data = !error && size > 0;
    std::filesystem::remove(output, error);
    return had_data;
}

JobOutcome decide_outcome(JobWorker& worker) {
    const auto ended = wait_unless_canceled(worker);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - worker.started).count();
    if (worker.cancel_requested->load() || !ended) {
        std::lock_guard<std::mutex> guard(worker.child->lock);
        if (worker.child->stop_failure) {
            return outcome::Error{*worker.child->stop_failure, true};
        }
        return outcome::Canceled{};
    }
    if (!*ended) {
        return outcome::Error{ended->error()};
    }
    const std::int32_t exit_code = ended->value();
    if (exit_code == 0) {
        if (output_passes_check(worker.ffprobe, worker.output_path)) {
            return outcome::Done{elapsed};
        }
        remove_output(worker.output_path);
        return outcome::Invalid{elapsed};
    }
    const bool removed = remove_output(worker.output_path);
    return outcome::Failed{exit_code, elapsed, removed};
}

} // namespace

void run_job_worker(JobWorker worker) {
    JobOutcome outcome = outcome::Canceled{};
    try {
        // Without a reader the progress report is dropped: ffmpeg then sees a broken pipe
        // there and goes on, rather than blocking on it (the pipe closes with the thread's
        // copy of the work).
        std::thread progress = start_thread(
            [output = std::move(worker.output), duration = worker.duration,
             sender = worker.sender]() mutable {
                read_progress(std::move(output), duration, sender);
            },
            [](const std::string&) {});
        try {
            forward_log(std::move(worker.errors), worker.sender);
        } catch (...) {
            close_pipe(worker.errors); // the log is lost, the job goes on
        }
        if (progress.joinable()) {
            progress.join();
        }
        outcome = decide_outcome(worker);
    } catch (const std::exception& error) {
        outcome = outcome::Error{error.what()};
    } catch (...) {
        outcome = outcome::Error{"?"};
    }
    send(worker.sender, CompressMessage(message::Finished{std::move(outcome)}));
}

} // namespace ondrel
