// ondrel-compress from its arguments to its exit status.
#pragma once

#include <filesystem>
#include <vector>

namespace ondrel {

inline constexpr int exit_all_done = 0;
inline constexpr int exit_some_failed = 1;
inline constexpr int exit_usage = 2;
inline constexpr int exit_interrupted = 130;

// Runs the whole command: the arguments after the program name, as given. Returns the exit
// status; after exit_interrupted, analysis workers may still be running and the caller ends
// the process at once.
int run_cli(const std::vector<std::filesystem::path>& arguments);

} // namespace ondrel
