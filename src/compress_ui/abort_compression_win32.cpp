// Abandoning a running job: after the user confirmed it, or when Windows ends the session.
#include "compress_ui/background_win32.hpp"

#include "compress_ui/compress_window_win32.hpp"
#include "video_compress/outcome_text.hpp"
#include "video_compress/output_path.hpp"

namespace ondrel {

Abandoning abort_compression(CompressWindow& window) {
    if (!window.job) {
        return {};
    }
    const Result<CancelResult> canceled = cancel_job(*window.job);
    if (canceled && canceled.value() == CancelResult::AlreadyEnded) {
        // Nothing was canceled: ffmpeg had ended and the job is checking its result. It ends
        // as it would have and is reported like any finished job; one that takes longer
        // than the wait stays with the window, which reports it when it comes.
        if (const auto outcome = wait_for_outcome(*window.job, finish_wait_limit)) {
            window.last_result =
                JobResult{outcome_succeeded(*outcome), conclude_job(*outcome, window.output_path)};
            window.job.reset();
        }
        return {};
    }
    // Taken out: from here on nothing reads this job's messages or shows its outcome.
    window.job.reset();
    if (!canceled) {
        // An ffmpeg that could not be stopped still holds its partial file; the job object
        // ends it with the process. Only the empty file that reserved the output's name can go,
        // so that nothing is left under that name.
        release_reservation(window.output_path);
        return {true, canceled.error()};
    }
    const Status removed = remove_output_files(window.output_path);
    return {true, removed ? std::string() : removed.error()};
}

} // namespace ondrel
