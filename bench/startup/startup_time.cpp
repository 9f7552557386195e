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

#include "watch_win32.hpp"

namespace {

using Clock = std::chrono::steady_clock;

struct Timing {
    double window_ms = -1;
    double file_ms = -1; // -1 when not measured
};

// Starts the command line and times its window; closes it again before returning.
std::optional<Timing> time_start(std::wstring command_line, const wchar_t* class_name,
                                 bool wait_for_file) {
    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    if (!bench::start_process(std::move(command_line), process)) {
        return std::nullopt;
    }
    CloseHandle(process.hThread);
    const auto elapsed_ms = [&] {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    Timing timing;
    HWND window = nullptr;
    while (elapsed_ms() < 60000) {
        if (window == nullptr &&
            (window = bench::visible_window(process.dwProcessId, class_name))) {
            timing.window_ms = elapsed_ms();
        }
        if (window != nullptr && (!wait_for_file || bench::title_names_a_file(window))) {
            if (wait_for_file) {
                timing.file_ms = elapsed_ms();
            }
            break;
        }
        bench::pump(1);
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
    bench::use_bench_settings(L"ondrel-bench-startup");

    std::vector<double> minimal, window, file, ratio;
    for (int run = 0; run < runs; ++run) {
        // Alternated, so that a change of load on the machine falls on both.
        const auto baseline =
            time_start(bench::quoted(self) + L" --minimal-window", L"Ondrel.BenchMinimal", false);
        const auto program =
            time_start(bench::quoted(ondrel) + L" " + bench::quoted(video), L"Ondrel.Main", true);
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
