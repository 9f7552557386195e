// Child processes with piped output: start, read, query, terminate, wait.
//
// Every child gets the null device as standard input and two pipes for standard output and
// standard error, inherits nothing else of ours, and never outlives this program (Windows:
// a job object that kills it when closed; Linux: the parent-death signal).
#pragma once

#include "platform/result.hpp"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ondrel {

// A pipe handle (Windows) or file descriptor (POSIX); this value stands for none.
inline constexpr std::intptr_t no_native_handle = -1;

// The reading end of a child's output pipe. Closed when dropped.
struct PipeReader {
    std::intptr_t native = no_native_handle;

    PipeReader() = default;
    explicit PipeReader(std::intptr_t handle) : native(handle) {}
    PipeReader(PipeReader&& other) noexcept;
    PipeReader& operator=(PipeReader&& other) noexcept;
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;
    ~PipeReader();
};

// Up to `size` bytes; 0 once every writer has closed its end. A read error is a failure.
Result<std::size_t> read_pipe(PipeReader& pipe, char* buffer, std::size_t size);
void close_pipe(PipeReader& pipe);

// A started child. Dropping one that still runs terminates it and reaps it.
struct ChildProcess {
    std::intptr_t process = no_native_handle; // process handle (Windows) or pid (POSIX)
    std::intptr_t job = no_native_handle;     // Windows job object that holds the process
    // Set once the process has been seen to end; its handle or pid is not used after that.
    std::optional<std::int32_t> exit_code;

    ChildProcess() = default;
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();
};

enum class ProcessPriority : std::uint8_t { Normal, BelowNormal };

struct StartedProcess {
    ChildProcess process;
    PipeReader output; // the child's standard output
    PipeReader errors; // the child's standard error
};

// Starts `program` (a path, not searched for) with the arguments in order. Fails with the
// operating system's text, "{message} (os error {code})"; a missing program gives code 2.
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
