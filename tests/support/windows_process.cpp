#include "support/windows_process.hpp"

#include "platform/win32/create_process.hpp"
#include "platform/win32/handles.hpp"

namespace ondrel::testing {

bool create_process(const wchar_t* application, std::wstring command, DWORD flags,
                    PROCESS_INFORMATION& started) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started = PROCESS_INFORMATION{};
    return create_process_retrying(application, command.data(), FALSE, flags, &startup, started);
}

std::optional<DWORD> run_and_wait(const std::wstring& command, DWORD timeout_ms) {
    PROCESS_INFORMATION started{};
    if (!create_process(nullptr, command, CREATE_NO_WINDOW, started)) {
        return std::nullopt;
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    if (WaitForSingleObject(started.hProcess, timeout_ms) != WAIT_OBJECT_0) {
        TerminateProcess(started.hProcess, 1);
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(started.hProcess, &code)) {
        return std::nullopt;
    }
    return code;
}

} // namespace ondrel::testing
