// What the Windows benchmarks share: starting Ondrel.exe with settings of their own, finding
// its windows and keeping a message queue of their own while they wait.
#pragma once

#include <cstdio>
#include <cwchar>
#include <string>
#include <windows.h>

namespace bench {

struct Search {
    DWORD process_id;
    const wchar_t* class_name;
    HWND found;
};

inline BOOL CALLBACK match_window(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (owner == search.process_id && IsWindowVisible(window) &&
        std::wcscmp(name, search.class_name) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of that class belonging to the process, or null.
inline HWND visible_window(DWORD process_id, const wchar_t* class_name) {
    Search search{process_id, class_name, nullptr};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline bool title_names_a_file(HWND window) {
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    return std::wcsstr(title, L" \x2014 Ondrel") != nullptr;
}

// A message queue of our own, as any window program has, keeps us on the same desktop as
// the program we watch; waits up to `milliseconds` for input.
inline void pump(DWORD milliseconds) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
}

inline void pump_for(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        pump(static_cast<DWORD>(end - now));
    }
}

inline std::wstring quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

// Settings of its own for the program, in a temporary APPDATA that the processes started
// from here inherit: English, every start a window of its own, no About window.
inline void use_bench_settings(const wchar_t* folder_name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring app_data = std::wstring(temp) + folder_name;
    CreateDirectoryW(app_data.c_str(), nullptr);
    CreateDirectoryW((app_data + L"\\Ondrel").c_str(), nullptr);
    const HANDLE settings =
        CreateFileW((app_data + L"\\Ondrel\\settings.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (settings != INVALID_HANDLE_VALUE) {
        const char text[] = "language=en\nmulti_instance=1\nhide_about=1\n";
        DWORD written = 0;
        WriteFile(settings, text, sizeof text - 1, &written, nullptr);
        CloseHandle(settings);
    }
    SetEnvironmentVariableW(L"APPDATA", app_data.c_str());
}

// Starts the command line; false (with the reason on stderr) when it cannot.
inline bool start_process(std::wstring command_line, PROCESS_INFORMATION& process) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start: error %lu\n", GetLastError());
        return false;
    }
    return true;
}

} // namespace bench
