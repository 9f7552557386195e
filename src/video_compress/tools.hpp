// Reaching ffmpeg and ffprobe: where they are, and running one to completion.
#pragma once

#include "platform/result.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

// "ffmpeg" or "ffprobe": looked for beside this program's executable first, then in every
// PATH entry in order (an empty entry means the current folder).
std::optional<std::filesystem::path> find_tool(const std::string& name);

// What to tell the user when find_tool finds nothing, in the current language.
std::string_view missing_tool_text(std::string_view name);

struct CapturedOutput {
    std::string output; // standard output, invalid UTF-8 replaced by U+FFFD
    std::string errors; // standard error, likewise
};

// Runs the program to its end without a window and collects both outputs, read at the same
// time so that neither can block the program. The exit status is not looked at. Fails with
// the system's text when the program cannot be started.
Result<CapturedOutput> run_capture(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments);

// Like run_capture, but gives the exit code, or the system's text when the program cannot be
// started or its end cannot be observed; the output is read and thrown away.
Result<std::int32_t> run_for_exit_code(const std::filesystem::path& program,
                                       const std::vector<std::string>& arguments);

} // namespace ondrel
