// A named mutex held for the whole life of the process: the installer and the uninstaller look
// for it, so that they never replace or remove the files of a program that is running.
#pragma once

#include "platform/win32/handles.hpp"

#include <windows.h>

namespace ondrel {

inline constexpr wchar_t running_mark_name[] = L"Ondrel.Running";

// A failure only costs the installer's check, never the start of the program.
inline UniqueHandle mark_running() {
    return UniqueHandle(::CreateMutexW(nullptr, FALSE, running_mark_name));
}

} // namespace ondrel
