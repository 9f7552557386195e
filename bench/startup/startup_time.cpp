// Start-up to first window: starts Ondrel.exe again and again and times, for each start, how
// long until its main window is on screen and until the file given to it is open (its title
// names the file). The same is timed for a minimal window program (this program, started with
// --minimal-window), which is what any Windows program costs on the same system.
//
//   startup_time <Ondrel.exe> <runs> <video file>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Search {
    DWORD process_id;
    const wchar_t* class_name;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM data) {
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

HWND visible_window(DWORD process_id, const wchar_t* class_name) {
    Search search{process_id, class_name, nullptr};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool title_names_a_file(HWND window) {
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    return std::wcsstr(title, L" \x2014 Ondrel") != nullptr;
}

struct Timing {
    double window_ms = -1;
    double file_ms = -1; // -1 when not measured
};

// Starts the command line and times its window; closes it again before returning.
std::optional<Timing> time_start(std::wstring command_line, const wchar_t* class_name,
                                 bool wait_for_file) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start: error %lu\n", GetLastError());
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    const auto elapsed_ms = [&] {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    Timing timing;
    HWND window = nullptr;
    while (elapsed_ms() < 60000) {
        if (window == nullptr && (window = visible_window(process.dwProcessId, class_name))) {
            timing.window_ms = elapsed_ms();
        }
        if (window != nullptr && (!wait_for_file || title_names_a_file(window))) {
            if (wait_for_file) {
                timing.file_ms = elapsed_ms();
            }
            break;
        }
        // A message queue of our own, as any window program has, keeps us on the same
        // desktop as the program we watch.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    if (window != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    if (timing.window_ms < 0 || (wait_for_file && timing.file_ms < 0)) {
        std::fprintf(stderr, "no window within a minute\n");
        return std::nullopt;
    }
    return timing;
}

LRESULT CALLBACK minimal_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

int run_minimal_window() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = minimal_procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"Ondrel.BenchMinimal";
    RegisterClassW(&window_class);
    CreateWindowExW(0, window_class.lpszClassName, L"minimal", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                    CW_USEDEFAULT, CW_USEDEFAULT, 960, 580, nullptr, nullptr,
                    window_class.hInstance, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void print_row(const char* what, const std::vector<double>& values) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    std::printf("| %s | %.0f ms | %.0f-%.0f ms |\n", what, median(values), *low, *high);
}

std::wstring quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"--minimal-window") == 0) {
        return run_minimal_window();
    }
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_time <Ondrel.exe> <runs> <video file>\n");
        return 2;
    }
    const std::wstring ondrel = argv[1];
    const int runs = std::max(1, _wtoi(argv[2]));
    const std::wstring video = argv[3];
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    // Settings of its own for the program: English, every start a window of its own (no
    // hand-off to a window still closing), nothing shown at start-up but the window.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring app_data = std::wstring(temp) + L"ondrel-bench-startup";
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

    std::vector<double> minimal, window, file, ratio;
    for (int run = 0; run < runs; ++run) {
        // Alternated, so that a change of load on the machine falls on both.
        const auto baseline =
            time_start(quoted(self) + L" --minimal-window", L"Ondrel.BenchMinimal", false);
        const auto program =
            time_start(quoted(ondrel) + L" " + quoted(video), L"Ondrel.Main", true);
        if (!baseline || !program) {
            return 1;
        }
        minimal.push_back(baseline->window_ms);
        window.push_back(program->window_ms);
        file.push_back(program->file_ms);
        ratio.push_back(program->window_ms / baseline->window_ms);
    }
    std::printf("| Measure (%d runs each) | Median | Range |\n|---|---|---|\n", runs);
    print_row("Minimal window program: start to window shown", minimal);
    print_row("Ondrel.exe: start to main window shown", window);
    print_row("Ondrel.exe: start to the file open (title names it)", file);
    // Each start against the minimal one just before it: steadier than the medians on a busy
    // machine.
    const auto [low, high] = std::minmax_element(ratio.begin(), ratio.end());
    std::printf("| Ratio of each start to main window to its minimal pair | %.2f | %.2f-%.2f |\n",
                median(ratio), *low, *high);
    return 0;
}
