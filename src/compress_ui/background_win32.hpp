// A compression that outlives the player: the progress dialog that keeps the process alive
// once the main window has closed, the dialog that reports the end, and abandoning a job.
#pragma once

#include <string>
#include <windows.h>

namespace ondrel {

struct AppState;
struct CompressWindow;

// The custom buttons of the two dialogs.
inline constexpr int background_cancel_button_id = 100;
inline constexpr int completion_open_folder_button_id = 200;

// Runs the modal progress dialog until the running job ends or the user abandons it. Its
// modal loop keeps the hidden compression window's timer, and so the job, going. True when
// the user abandoned the compression (nothing is left to report).
bool run_background_dialog(AppState& state);

// The progress dialog's task-dialog callback.
HRESULT CALLBACK background_dialog_callback(HWND dialog, UINT notification, WPARAM w, LPARAM l,
                                            LONG_PTR data);

// Reports the last job's outcome in a modal dialog, with "Open folder" after a success.
// Nothing when there is no compression window or no outcome.
void show_completion_dialog(AppState& state);

// How abandoning a job went.
struct Abandoning {
    // The job was stopped and dropped without an outcome. False without a job, and for a job
    // whose ffmpeg had already ended: that one is not canceled, and its outcome is in the
    // window's last_result (or, when its check takes long, still to come through the timer).
    bool abandoned = false;
    // What could not be done as the user was told (ffmpeg not stopped, a file not deleted),
    // in the current language; empty when everything went as asked.
    std::string problem;
};

// Stops the running job and deletes its output and partial file; no outcome is kept or
// shown. A job whose ffmpeg has already ended is left to finish instead, waiting at most
// finish_wait_limit for it. Nothing without a job.
Abandoning abort_compression(CompressWindow& window);

} // namespace ondrel
