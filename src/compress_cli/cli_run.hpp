// ondrel-compress from its arguments to its exit status.
#pragma once

#include "compress_cli/console.hpp"

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace ondrel {

inline constexpr int exit_all_done = 0;
inline constexpr int exit_some_failed = 1;
inline constexpr int exit_usage = 2;
// A --target-size that cannot be met: refused before anything was written.
inline constexpr int exit_target_unreachable = 3;
inline constexpr int exit_interrupted = 130;

// Runs the whole command: the arguments after the program name, as given. Returns the exit
// status; after exit_interrupted, analysis workers may still be running and the caller ends
// the process at once.
int run_cli(const std::vector<std::filesystem::path>& arguments);

// The whole program from main's (or wmain's) arguments: each becomes a path exactly as given
// (bytes on Linux, UTF-16 on Windows, so no character of a file name is lost).
template <typename Char> int cli_main(int argc, Char** argv) {
    std::vector<std::filesystem::path> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    const int status = run_cli(arguments);
    if (status == exit_interrupted) {
        // Everything of the encode is cleaned up: a closing console may let the process end.
        interrupt_handled();
        // Analysis workers may still be running; their children end with this process.
        std::_Exit(status);
    }
    return status;
}

} // namespace ondrel
