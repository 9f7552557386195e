#include "platform/files.hpp"
#include "platform/process.hpp"
#include "platform/win32/create_process.hpp"
#include "platform/win32/handles.hpp"
#include "platform/win32/wide.hpp"

#include <vector>
#include <windows.h>

namespace ondrel {
namespace {

// Large enough that ffmpeg rarely waits on us between two reads.
constexpr DWORD pipe_buffer_bytes = 64 * 1024;

HANDLE as_handle(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);
}
std::intptr_t as_native(HANDLE handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}

// A pipe whose writing end, and only that end, may be inherited.
Status make_output_pipe(UniqueHandle& read_end, UniqueHandle& write_end) {
    HANDLE read_handle = nullptr;
    HANDLE write_handle = nullptr;
    if (!::CreatePipe(&read_handle, &write_handle, nullptr, pipe_buffer_bytes)) {
        return Failure{last_os_error_text()};
    }
    read_end.reset(read_handle);
    write_end.reset(write_handle);
    if (!::SetHandleInformation(write_handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
        return Failure{last_os_error_text()};
    }
    return success();
}

// The list of handles a child may inherit, for STARTUPINFOEXW.
struct InheritedHandles {
    std::vector<char> storage;
    HANDLE handles[3] = {};
    bool initialized = false;

    InheritedHandles() = default;
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;
    ~InheritedHandles() {
        if (initialized) {
            ::DeleteProcThreadAttributeList(list());
        }
    }
    LPPROC_THREAD_ATTRIBUTE_LIST list() {
        return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    }
};

Status limit_inheritance(InheritedHandles& inherited, HANDLE input, HANDLE output, HANDLE errors) {
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    inherited.storage.assign(size, 0);
    if (!::InitializeProcThreadAttributeList(inherited.list(), 1, 0, &size)) {
        return Failure{last_os_error_text()};
    }
    inherited.initialized = true;
    inherited.handles[0] = input;
    inherited.handles[1] = output;
    inherited.handles[2] = errors;
    if (!::UpdateProcThreadAttribute(inherited.list(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                     inherited.handles, sizeof inherited.handles, nullptr,
                                     nullptr)) {
        return Failure{last_os_error_text()};
    }
    return success();
}

// A job object that kills whatever it holds when its last handle closes, also when this
// program crashes.
Result<UniqueHandle> make_kill_on_close_job() {
    UniqueHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job) {
        return Failure{last_os_error_text()};
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                   sizeof limits)) {
        return Failure{last_os_error_text()};
    }
    return job;
}

Result<std::int32_t> read_exit_code(ChildProcess& child) {
    DWORD code = 0;
    if (!::GetExitCodeProcess(as_handle(child.process.get()), &code)) {
        return Failure{last_os_error_text()};
    }
    child.exit_code = static_cast<std::int32_t>(code);
    return *child.exit_code;
}

} // namespace

void PipeTraits::close(std::intptr_t pipe) noexcept {
    ::CloseHandle(as_handle(pipe));
}

void ProcessTraits::close(std::intptr_t process) noexcept {
    // A process that has ended refuses the termination; the wait then returns at once. The
    // wait is bounded because the owner may be dropped on the interface thread: a process that
    // does not end within it is left to the job object, which ends it when its handle closes.
    ::TerminateProcess(as_handle(process), 1);
    ::WaitForSingleObject(as_handle(process), 5000);
    ::CloseHandle(as_handle(process));
}

void ProcessJobTraits::close(std::intptr_t job) noexcept {
    ::CloseHandle(as_handle(job));
}

Result<std::size_t> read_pipe(PipeReader& pipe, char* buffer, std::size_t size) {
    if (!pipe) {
        return std::size_t{0};
    }
    const DWORD wanted = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD read = 0;
    // A child's write of zero bytes arrives as a successful read of zero bytes; only a broken
    // pipe is the end.
    bool succeeded = false;
    do {
        succeeded = ::ReadFile(as_handle(pipe.get()), buffer, wanted, &read, nullptr) != FALSE;
    } while (succeeded && read == 0 && wanted > 0);
    if (succeeded) {
        return static_cast<std::size_t>(read);
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_BROKEN_PIPE) {
        return std::size_t{0}; // every writer has closed its end
    }
    return Failure{os_error_text(static_cast<int>(error))};
}

Result<StartedProcess> start_process(const std::filesystem::path& program,
                                     const std::vector<std::string>& arguments,
                                     ProcessPriority priority) {
    if (!program.is_absolute()) {
        return Failure{os_error_text(ERROR_BAD_PATHNAME)};
    }
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueFile input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inheritable, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!input) {
        return Failure{last_os_error_text()};
    }
    UniqueHandle output_read, output_write, errors_read, errors_write;
    if (auto made = make_output_pipe(output_read, output_write); !made) {
        return Failure{made.error()};
    }
    if (auto made = make_output_pipe(errors_read, errors_write); !made) {
        return Failure{made.error()};
    }
    // Only these three handles reach the child, even while other threads start children of
    // their own with inheritable handles of their own.
    InheritedHandles inherited;
    if (auto limited =
            limit_inheritance(inherited, input.get(), output_write.get(), errors_write.get());
        !limited) {
        return Failure{limited.error()};
    }
    auto job = make_kill_on_close_job();
    if (!job) {
        return Failure{job.error()};
    }

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input.get();
    startup.StartupInfo.hStdOutput = output_write.get();
    startup.StartupInfo.hStdError = errors_write.get();
    startup.lpAttributeList = inherited.list();

    std::wstring command_line = widen(windows_command_line(narrow(program.native()), arguments));
    DWORD flags = CREATE_NO_WINDOW | CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT;
    if (priority == ProcessPriority::BelowNormal) {
        flags |= BELOW_NORMAL_PRIORITY_CLASS;
    }
    PROCESS_INFORMATION created{};
    if (!create_process_retrying(program.c_str(), command_line.data(), TRUE, flags,
                                 &startup.StartupInfo, created)) {
        return Failure{last_os_error_text()};
    }
    UniqueHandle thread(created.hThread);
    ChildProcess child;
    child.process.reset(as_native(created.hProcess));
    // Suspended until it is in the job, so it cannot start anything that escapes it.
    if (!::AssignProcessToJobObject(job.value().get(), created.hProcess)) {
        const std::string text = last_os_error_text();
        return Failure{text}; // dropping the child terminates it
    }
    child.job.reset(as_native(job.value().release()));
    // Some systems (Wine among them) ignore the priority creation flag; set while the
    // process is still suspended, the class holds from its first instruction.
    if (priority == ProcessPriority::BelowNormal) {
        ::SetPriorityClass(created.hProcess, BELOW_NORMAL_PRIORITY_CLASS);
    }
    if (::ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        return Failure{last_os_error_text()};
    }
    return StartedProcess{std::move(child), PipeReader(as_native(output_read.release())),
                          PipeReader(as_native(errors_read.release()))};
}

Result<std::optional<std::int32_t>> query_exit(ChildProcess& child) {
    if (child.exit_code) {
        return std::optional<std::int32_t>(child.exit_code);
    }
    if (!child.process) {
        return Failure{os_error_text(ERROR_INVALID_HANDLE)};
    }
    // WaitForSingleObject rather than GetExitCodeProcess alone: a process may end with
    // STILL_ACTIVE (259) as its exit code.
    switch (::WaitForSingleObject(as_handle(child.process.get()), 0)) {
    case WAIT_TIMEOUT:
        return std::optional<std::int32_t>();
    case WAIT_OBJECT_0: {
        auto code = read_exit_code(child);
        if (!code) {
            return Failure{code.error()};
        }
        return std::optional<std::int32_t>(code.value());
    }
    default:
        return Failure{last_os_error_text()};
    }
}

Status terminate_process(ChildProcess& child) {
    if (child.exit_code || !child.process) {
        return success();
    }
    if (::TerminateProcess(as_handle(child.process.get()), 1)) {
        return success();
    }
    const DWORD error = ::GetLastError();
    // Terminating a process that has already ended is refused with ERROR_ACCESS_DENIED.
    if (error == ERROR_ACCESS_DENIED &&
        ::WaitForSingleObject(as_handle(child.process.get()), 0) == WAIT_OBJECT_0) {
        return success();
    }
    return Failure{os_error_text(static_cast<int>(error))};
}

Result<std::int32_t> wait_for_exit(ChildProcess& child) {
    if (child.exit_code) {
        return *child.exit_code;
    }
    if (!child.process) {
        return Failure{os_error_text(ERROR_INVALID_HANDLE)};
    }
    if (::WaitForSingleObject(as_handle(child.process.get()), INFINITE) != WAIT_OBJECT_0) {
        return Failure{last_os_error_text()};
    }
    return read_exit_code(child);
}

std::optional<std::filesystem::path> running_executable_path() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return std::nullopt;
        }
        if (n < buffer.size()) {
            buffer.resize(n);
            return std::filesystem::path(buffer);
        }
        if (buffer.size() >= 32768) {
            return std::nullopt;
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace ondrel

namespace ondrel {

std::string executable_file_name(const std::string& name) {
    return name + ".exe";
}

std::vector<std::string> split_search_path(const std::string& text) {
    return split_windows_search_path(text);
}

} // namespace ondrel
