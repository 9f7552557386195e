// Reaching ffmpeg and ffprobe: where they are, and running one to completion.
#pragma once

#include "platform/result.hpp"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

// How long one run of ffprobe, or one listing of ffmpeg, may take. Both read headers or print
// tables and finish within a few seconds even on a slow network folder or a disk that has to
// spin up; a run still going after this is stuck (a hung driver or share), not slow.
inline constexpr std::chrono::seconds probe_time_limit{30};
// How long one two-frame hardware test encode may take. Opening a hardware encoder takes up to
// a few seconds on a busy machine, with every candidate tested at once; past this the encoder
// is treated as unusable rather than keep the window waiting.
inline constexpr std::chrono::seconds test_encode_time_limit{15};

// "ffmpeg" or "ffprobe": looked for beside this program's executable first, then in every
// PATH entry in order. Only absolute entries count: an empty or relative one would name the
// current folder, which may be wherever the user last browsed or opened a document.
std::optional<std::filesystem::path> find_tool(const std::string& name);

// What to tell the user when find_tool finds nothing, in the current language.
std::string_view missing_tool_text(std::string_view name);

struct CapturedOutput {
    std::string output; // standard output, invalid UTF-8 replaced by U+FFFD
    std::string errors; // standard error, likewise
};

// Runs the program to its end without a window and collects both outputs, read at the same
// time so that neither can block the program. The exit status is not looked at. Fails with
// the system's text when the program cannot be started, and with tool_timed_out when it is
// still running after `limit`: it is then ended and reaped before this returns.
Result<CapturedOutput> run_capture(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments,
                                   std::chrono::milliseconds limit = probe_time_limit);

// Like run_capture, but gives the exit code, or the system's text when the program cannot be
// started or its end cannot be observed; the output is read and thrown away.
Result<std::int32_t> run_for_exit_code(const std::filesystem::path& program,
                                       const std::vector<std::string>& arguments,
                                       std::chrono::milliseconds limit = probe_time_limit);

} // namespace ondrel
