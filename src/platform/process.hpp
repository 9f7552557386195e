// Child processes with piped output: start, read, query, terminate, wait.
//
// Every child gets the null device as standard input and two pipes for standard output and
// standard error, inherits nothing else of ours, and never outlives this program (Windows:
// a job object that kills it when closed; Linux: the parent-death signal).
#pragma once

#include "platform/owned.hpp"
#include "platform/result.hpp"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ondrel {

// A handle (Windows) or file descriptor or process id (POSIX); this value stands for none.
inline constexpr std::intptr_t no_native_handle = -1;

// Each platform defines how its handles of these kinds are released.
struct PipeTraits {
    using Handle = std::intptr_t;
    static Handle invalid() { return no_native_handle; }
    static void close(Handle pipe) noexcept; // closes the handle or descriptor
};
// Releasing a process that may still run terminates it, waits for it and closes its handle;
// on POSIX the pid of a process already reaped is let go of first, never signalled.
struct ProcessTraits {
    using Handle = std::intptr_t;
    static Handle invalid() { return no_native_handle; }
    static void close(Handle process) noexcept;
};
// The Windows job object that holds a child; none elsewhere.
struct ProcessJobTraits {
    using Handle = std::intptr_t;
    static Handle invalid() { return no_native_handle; }
    static void close(Handle job) noexcept;
};

// The reading end of a child's output pipe. Closed when dropped.
using PipeReader = Owned<PipeTraits>;

// Up to `size` bytes; 0 once every writer has closed its end. A read error is a failure.
Result<std::size_t> read_pipe(PipeReader& pipe, char* buffer, std::size_t size);
inline void close_pipe(PipeReader& pipe) {
    pipe.reset();
}

// A started child. Dropping one that still runs terminates it and reaps it.
struct ChildProcess {
    Owned<ProcessJobTraits> job; // released after the process
    Owned<ProcessTraits> process;
    // Set once the process has been seen to end.
    std::optional<std::int32_t> exit_code;
};

enum class ProcessPriority : std::uint8_t { Normal, BelowNormal };

struct StartedProcess {
    ChildProcess process;
    PipeReader output; // the child's standard output
    PipeReader errors; // the child's standard error
};

// Starts `program` (an absolute path, never searched for) with the arguments in order. Fails
// with the operating system's text, "{message} (os error {code})"; a missing program gives
// code 2. A relative path is refused as an invalid one: the system would resolve it against
// the current folder, which the user or another program chose.
Result<StartedProcess> start_process(const std::filesystem::path& program,
                                     const std::vector<std::string>& arguments,
                                     ProcessPriority priority);

// Without waiting: the exit code once the process has ended, nothing while it runs.
Result<std::optional<std::int32_t>> query_exit(ChildProcess& child);

// Ends the process with exit code 1 (on POSIX with SIGKILL). A process that has already
// ended counts as terminated.
Status terminate_process(ChildProcess& child);

// Waits up to `limit`: the exit code, or nothing when the process still runs then.
Result<std::optional<std::int32_t>> wait_for_exit_within(ChildProcess& child,
                                                         std::chrono::milliseconds limit);

// Waits as long as it takes and gives the exit code. Windows exit codes are 32-bit values
// read as signed; on POSIX a process ended by signal N reports 128 + N.
Result<std::int32_t> wait_for_exit(ChildProcess& child);

// The Windows command line for a program and its arguments: each one quoted so that
// CommandLineToArgvW and the C runtime give back exactly the same texts.
std::string windows_command_line(const std::string& program,
                                 const std::vector<std::string>& arguments);

// The full path of this program's executable, when the system tells it.
std::optional<std::filesystem::path> running_executable_path();

// The file name of a program: "ffmpeg" is "ffmpeg.exe" on Windows and "ffmpeg" elsewhere.
std::string executable_file_name(const std::string& name);

// The entries of a search path such as PATH, by this platform's rules; empty entries stay.
std::vector<std::string> split_search_path(const std::string& text);
// Windows: ";" separates entries except between double quotes; the quotes are removed.
std::vector<std::string> split_windows_search_path(const std::string& text);
// POSIX: ":" separates entries; nothing else is special.
std::vector<std::string> split_posix_search_path(const std::string& text);

} // namespace ondrel
