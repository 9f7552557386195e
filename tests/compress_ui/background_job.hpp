// A compression that waits at a gate until the test lets it end: the fake ffmpeg reports its
// first progress and waits; released with "ok" it copies the source to the output (a real
// video that the real ffprobe accepts), with anything else it fails.
#pragma once

#include "support/temporary_folder.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <windows.h>

namespace ondrel::testing {

struct Gate {
    TemporaryFolder folder{"gate"};
    ScopedEnvironment mode;

    Gate();
    // Lets the waiting encode end: "ok" or "fail".
    void release(const std::string& word) const;
    // The fake ffmpeg's process id, once it has started.
    std::optional<DWORD> ffmpeg_id() const;
    // True when the fake ffmpeg has started and is no longer running.
    bool ffmpeg_ended() const;
};

} // namespace ondrel::testing
