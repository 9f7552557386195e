#include "video_compress/job_worker.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression_job.hpp"
#include "platform/process_output_lines.hpp"
#include "platform/text.hpp"
#include "platform/threads.hpp"
#include "video_compress/output_path.hpp"
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

// The exit code once ffmpeg has ended; nothing when the cancel flag stopped the wait. The end
// is recorded under the lock: from then on a cancel leaves the outcome to this worker.
std::optional<Result<std::int32_t>> wait_unless_canceled(JobWorker& worker) {
    while (!worker.cancel_requested->load()) {
        Result<std::optional<std::int32_t>> state = std::optional<std::int32_t>();
        {
            std::lock_guard<std::mutex> guard(worker.child->lock);
            state = query_exit(worker.child->process);
            if (state && state.value() && !worker.cancel_requested->load()) {
                worker.child->ended = true;
            }
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

// True when the file holds anything; the empty file that reserved the output's name is not a
// partial output of ffmpeg's.
bool has_data(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    return !error && size > 0;
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
    const std::filesystem::path partial = partial_output_path(worker.output_path);
    const std::int32_t exit_code = ended->value();
    if (worker.result_file == ResultFile::None) {
        return exit_code == 0 ? JobOutcome(outcome::Done{elapsed})
                              : JobOutcome(outcome::Failed{exit_code, elapsed, false});
    }
    if (exit_code == 0) {
        if (output_passes_check(worker.ffprobe, partial)) {
            if (worker.result_file == ResultFile::CheckOnly) {
                return outcome::Done{elapsed};
            }
            const Status named = give_final_name(partial, worker.output_path);
            if (!named) {
                // The checked video stays under its partial name, which the text gives.
                return outcome::Error{named.error(), true};
            }
            return outcome::Done{elapsed};
        }
        (void)remove_output_files(worker.output_path);
        return outcome::Invalid{elapsed};
    }
    const bool had_data = has_data(partial);
    const bool removed = remove_output_files(worker.output_path).ok();
    return outcome::Failed{exit_code, elapsed, had_data && removed};
}

} // namespace

// How many times, and how far apart, the checked result tries to take its name: a virus
// scanner or an indexer may hold the file that ffprobe has just closed for a moment.
constexpr int rename_attempts = 5;
constexpr std::chrono::milliseconds rename_pause{200};

Status give_final_name(const std::filesystem::path& partial, const std::filesystem::path& output) {
    std::error_code error;
    for (int attempt = 0; attempt < rename_attempts; ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(rename_pause);
        }
        std::filesystem::rename(partial, output, error);
        if (!error) {
            return success();
        }
    }
    return Failure{fill(tr(texts::could_not_rename_output),
                        {path_text(partial), path_text(output), error.message()})};
}

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
