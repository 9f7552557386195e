// How ondrel-compress shows a running encode: one line rewritten in place on a terminal,
// otherwise a plain line at every tenth of the way.
#pragma once

#include "video_compress/compress_message.hpp"

#include <cstddef>
#include <string>

namespace ondrel {

struct ProgressDisplay {
    bool live = false;
    // Characters of the live line now on screen; 0 when none is showing.
    std::size_t shown_width = 0;
    // The last tenth of the way written as a plain line (-1 before the first).
    int plain_step = -1;
};

// "42.5%   -   1.2x - 30 fps - 1234.5kbits/s   -   12 s left": the progress line followed by
// the time left at the pace so far, when it is known.
std::string progress_text(const message::Progress& progress, double elapsed_seconds);

// What to write for a progress report; empty when nothing is to be written.
std::string progress_update(ProgressDisplay& display, const message::Progress& progress,
                            double elapsed_seconds, const std::string& indent);

// What to write before an ordinary line: ends a live line that is showing.
std::string progress_finish(ProgressDisplay& display);

} // namespace ondrel
