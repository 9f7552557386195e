// CreateProcessW that gets past Wine's passing start-up failure.
#pragma once

#include <windows.h>

namespace ondrel {

// Wine reports a child that dies while it is still starting (its loader ran out of something
// for a moment, often under load) as ERROR_INTERNAL_ERROR; no process exists then, and the
// same call a moment later can succeed. Nothing else is retried.
inline bool create_process_retrying(const wchar_t* application, wchar_t* command_line,
                                    BOOL inherit_handles, DWORD flags, STARTUPINFOW* startup,
                                    PROCESS_INFORMATION& created) {
    constexpr int attempts = 3;
    for (int attempt = 1;; ++attempt) {
        if (::CreateProcessW(application, command_line, nullptr, nullptr, inherit_handles, flags,
                             nullptr, nullptr, startup, &created)) {
            return true;
        }
        if (::GetLastError() != ERROR_INTERNAL_ERROR || attempt == attempts) {
            return false;
        }
        ::Sleep(50 * attempt);
    }
}

} // namespace ondrel
