// Abandoning a running job: after the user confirmed it, or when Windows ends the session.
#include "compress_ui/background_win32.hpp"

#include "compress_ui/compress_window_win32.hpp"

#include <system_error>

namespace ondrel {

void abort_compression(CompressWindow& window) {
    if (!window.job) {
        return;
    }
    // Taken out first: from here on nothing reads this job's messages or shows its outcome.
    CompressJob job = std::move(*window.job);
    window.job.reset();
    // An ffmpeg that could not be stopped still holds its output; the job object ends it with
    // the process, and its file is left rather than pulled from under it.
    if (cancel_job(job)) {
        std::error_code ignored;
        std::filesystem::remove(window.output_path, ignored);
    }
}

} // namespace ondrel
