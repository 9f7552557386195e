// What the rest of the program asks of the compression window: whether a job runs, its
// progress, its window, and getting rid of it.
#include "compress_ui/compress_window_win32.hpp"

#include "ui/app_state_win32.hpp"
#include "video_compress/outcome_text.hpp"

namespace ondrel {
namespace {

// The outcome the job has sent already, if any; never waits.
std::optional<JobOutcome> finished_outcome(CompressJob& job) {
    for (;;) {
        Received<CompressMessage> received = try_receive(job.messages);
        if (received.status != ReceiveStatus::Received) {
            return std::nullopt;
        }
        if (auto* finished = std::get_if<message::Finished>(&*received.message)) {
            return std::move(finished->outcome);
        }
    }
}

} // namespace

bool is_open(const CompressWindow& window) {
    const AppState* state = app();
    // The record is only read once it is known to be the live one.
    return state != nullptr && state->compression.get() == &window && window.window != nullptr &&
           IsWindow(window.window) != FALSE;
}

void dispose_compression_window(CompressWindow& window) {
    if (window.job) {
        const Status canceled = cancel_job(*window.job);
        // A compression cut short leaves a truncated file under the final name: it goes, so
        // that nothing looks like a finished compression. A job that had already ended keeps
        // what its outcome says, and a file that an ffmpeg which could not be stopped may
        // still be writing is left alone.
        if (const auto outcome = finished_outcome(*window.job)) {
            (void)conclude_job(*outcome, window.output_path);
        } else if (canceled) {
            std::error_code ignored;
            std::filesystem::remove(window.output_path, ignored);
        }
        window.job.reset();
    }
    if (window.window != nullptr) {
        KillTimer(window.window, TIMER_COMPRESS_POLL);
        DestroyWindow(window.window);
        window.window = nullptr;
    }
    window.normal_font.reset();
    window.bold_font.reset();
    // A worker still running sends into a closed channel, which it tolerates.
    window.analysis_rx.reset();
}

void CompressWindowDisposer::operator()(CompressWindow* window) const noexcept {
    if (window == nullptr) {
        return;
    }
    try {
        dispose_compression_window(*window);
    } catch (const std::exception&) {
        // The lock around ffmpeg could not be taken; what is left goes with the record.
    }
    delete window;
}

bool compression_running(const AppState& state) {
    return state.compression && state.compression->job.has_value();
}

double compression_percent(const AppState& state) {
    return compression_running(state) ? state.compression->progress.percent : 0.0;
}

HWND compression_window_handle(const CompressWindow& window) {
    return window.window;
}

bool compression_dialog_message(const AppState& state, MSG& message) {
    if (!state.compression || state.compression->window == nullptr) {
        return false;
    }
    return IsDialogMessageW(state.compression->window, &message) != FALSE;
}

} // namespace ondrel
