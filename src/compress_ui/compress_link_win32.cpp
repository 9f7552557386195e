// What the rest of the program asks of the compression window: whether a job runs, its
// progress, its window, and getting rid of it.
#include "compress_ui/compress_window_win32.hpp"

#include "i18n/texts_shell.hpp"
#include "platform/win32/wide.hpp"
#include "ui/app_state_win32.hpp"
#include "video_compress/outcome_text.hpp"
#include "video_compress/output_path.hpp"

namespace ondrel {
namespace {

// Ends the job of a window being disposed of. A job cut short leaves neither its output nor
// its partial file; one whose ffmpeg had already ended is let finish, and keeps what its
// outcome says (nobody is left to show it to). Gives what could not be done.
std::optional<std::string> end_job_for_good(CompressWindow& window) {
    const Result<CancelResult> canceled = cancel_job(*window.job);
    if (!canceled) {
        // ffmpeg still holds its partial file; the job object ends it with the process.
        release_reservation(window.output_path);
        return canceled.error();
    }
    if (canceled.value() == CancelResult::AlreadyEnded) {
        if (const auto outcome = wait_for_outcome(*window.job, finish_wait_limit)) {
            (void)conclude_job(*outcome, window.output_path);
        }
        return std::nullopt;
    }
    const Status removed = remove_output_files(window.output_path);
    return removed ? std::nullopt : std::optional<std::string>(removed.error());
}

} // namespace

bool is_open(const CompressWindow& window) {
    const AppState* state = app();
    // The record is only read once it is known to be the live one.
    return state != nullptr && state->compression.get() == &window && window.window != nullptr &&
           IsWindow(window.window) != FALSE;
}

void dispose_compression_window(CompressWindow& window) {
    std::optional<std::string> problem;
    if (window.job) {
        problem = end_job_for_good(window);
        window.job.reset();
    }
    if (window.window != nullptr) {
        KillTimer(window.window, TIMER_COMPRESS_POLL);
        window.polling = false;
        DestroyWindow(window.window);
        window.window = nullptr;
    }
    window.normal_font.reset();
    window.bold_font.reset();
    // A worker still running sends into a closed channel, which it tolerates.
    window.analysis_rx.reset();
    // Told last, once nothing of the window is left for the box's message loop to reach.
    if (problem) {
        MessageBoxW(nullptr, widen(*problem).c_str(), widen(texts::program_name).c_str(),
                    MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    }
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
