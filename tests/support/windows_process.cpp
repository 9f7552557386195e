#include "support/windows_process.hpp"

#include "platform/win32/handles.hpp"

namespace ondrel::testing {

bool create_process(const wchar_t* application, std::wstring command, DWORD flags,
                    PROCESS_INFORMATION& started) {
    constexpr int attempts = 3;
    for (int attempt = 1;; ++attempt) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started = PROCESS_INFORMATION{};
        if (CreateProcessW(application, command.data(), nullptr, nullptr, FALSE, flags, nullptr,
                           nullptr, &startup, &started)) {
            return true;
        }
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == attempts) {
            return false;
        }
        Sleep(50 * attempt);
    }
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
