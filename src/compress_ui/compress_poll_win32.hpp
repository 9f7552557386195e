// The compression window's work on its timer and when a compression starts.
#pragma once

#include "compress_ui/compress_window_win32.hpp"

namespace ondrel {

// One timer tick: takes everything waiting on both channels without blocking and redraws
// what it changed.
void poll_workers(CompressWindow& window);

// The main button's "Compress": starts the job with the options shown.
void start_compression(CompressWindow& window);

} // namespace ondrel
