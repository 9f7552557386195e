// What the player interface needs from the compression window: whether a job runs and how
// far it is (bar text, menu caption), and the window itself for the C key, the menu item and
// the bar's progress text. The compression window defines these; the interface only calls them.
#pragma once

#include "platform/result.hpp"

#include <memory>
#include <string>
#include <windows.h>

namespace ondrel {

struct AppState;
struct CompressWindow;

// Dropping the pointer disposes of the window: a running job is cancelled, the timer killed,
// the window destroyed and its fonts deleted.
struct CompressWindowDisposer {
    void operator()(CompressWindow* window) const noexcept;
};
using CompressWindowPtr = std::unique_ptr<CompressWindow, CompressWindowDisposer>;

// True while the compression window exists and its job runs.
bool compression_running(const AppState& state);

// The running job's progress in percent (0 when no job runs), not yet rounded.
double compression_percent(const AppState& state);

// The compression window's top-level window.
HWND compression_window_handle(const CompressWindow& window);

// Opens the compression window for this video with the remembered choices (the `compress`
// setting); the error text when the tools cannot be found or the window cannot be made.
Result<CompressWindowPtr> create_compression_window(HWND main_window, const std::string& video_path,
                                                    const std::string& compress_setting);

} // namespace ondrel
