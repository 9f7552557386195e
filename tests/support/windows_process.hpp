// Starting programs from the Windows tests: the programs under test, and Wine's own tools.
#pragma once

#include <optional>
#include <string>
#include <windows.h>

namespace ondrel::testing {

// Starts a program without inherited handles, tried again like the program's own children when
// Wine fails it during start-up. `application` may be null; `command` is the whole command line.
bool create_process(const wchar_t* application, std::wstring command, DWORD flags,
                    PROCESS_INFORMATION& started);

// Runs a command line without a window and waits up to `timeout_ms` for it; its exit code, or
// nothing when it could not be started or did not end in time.
std::optional<DWORD> run_and_wait(const std::wstring& command, DWORD timeout_ms);

} // namespace ondrel::testing
