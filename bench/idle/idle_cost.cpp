// What an idle or playing Ondrel.exe costs: process CPU time (GetProcessTimes), the WM_TIMER
// messages its GUI thread takes per second and from which window and timer, the control
// bar's repaints per second (both counted by message_count_hook.dll through a WH_GETMESSAGE
// hook), and its private bytes (GetProcessMemoryInfo). Under Wine the two process queries
// give nothing for another process, so the Linux process that Wine runs it in is read too,
// through Z:\proc: CPU time from stat, resident private memory from smaps_rollup. Then the
// compression window's time from the C key to its Ready state (the Compress button enabled), and to
// its last poll.
//
//   idle_cost <Ondrel.exe> <message_count_hook.dll> <video file> <seconds> <C runs>
#include "message_counts.hpp"
#include "watch_win32.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <windows.h>

#include <psapi.h>

namespace {

using bench::MessageCount;
using bench::MessageCounts;

constexpr int main_button_id = 170; // the compression window's Compress button

MessageCounts* counts = nullptr;

// Z:\proc\<pid> of the watched program's Linux process; empty on Windows.
std::wstring linux_process;

std::string read_all(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
    }
    CloseHandle(file);
    return text;
}

// The Linux process whose first argument is the program's Windows path, as Wine starts it.
std::wstring find_linux_process(const std::wstring& program) {
    char wanted[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, program.c_str(), -1, wanted, sizeof wanted, nullptr, nullptr);
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::wstring found;
    do {
        if (entry.cFileName[0] < L'0' || entry.cFileName[0] > L'9') {
            continue;
        }
        const std::wstring folder = std::wstring(L"Z:\\proc\\") + entry.cFileName;
        const std::string arguments = read_all(folder + L"\\cmdline");
        if (_stricmp(arguments.c_str(), wanted) == 0) {
            found = folder;
            break;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

// utime and stime, the 14th and 15th fields of stat, in clock ticks of 10 ms.
ULONGLONG linux_cpu_100ns() {
    const std::string stat = read_all(linux_process + L"\\stat");
    const std::size_t name_end = stat.rfind(')');
    if (name_end == std::string::npos) {
        return 0;
    }
    unsigned long long user = 0, system = 0;
    // After the name: state, then fields 4 to 13, then utime and stime.
    if (std::sscanf(stat.c_str() + name_end + 1,
                    " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user,
                    &system) != 2) {
        return 0;
    }
    return (user + system) * 100000ULL;
}

// Private_Clean plus Private_Dirty of smaps_rollup: the process's own resident pages.
double linux_private_megabytes() {
    const std::string rollup = read_all(linux_process + L"\\smaps_rollup");
    double kilobytes = 0;
    for (const char* field : {"Private_Clean:", "Private_Dirty:"}) {
        const std::size_t at = rollup.find(field);
        if (at != std::string::npos) {
            kilobytes += std::atof(rollup.c_str() + at + std::strlen(field));
        }
    }
    return kilobytes / 1024.0;
}

struct Sample {
    ULONGLONG cpu_100ns = 0;
    ULONGLONG tick_ms = 0;
    std::vector<MessageCount> rows;
};

ULONGLONG as_number(FILETIME time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

Sample sample(HANDLE process) {
    Sample s;
    FILETIME created, ended, kernel, user;
    if (GetProcessTimes(process, &created, &ended, &kernel, &user)) {
        s.cpu_100ns = as_number(kernel) + as_number(user);
    }
    if (!linux_process.empty()) {
        s.cpu_100ns = linux_cpu_100ns();
    }
    s.tick_ms = GetTickCount64();
    s.rows.assign(counts->rows, counts->rows + counts->used);
    return s;
}

double private_megabytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                              sizeof memory)) {
        return -1;
    }
    return static_cast<double>(memory.PrivateUsage) / (1024.0 * 1024.0);
}

long count_before(const Sample& before, const MessageCount& row) {
    for (const MessageCount& old : before.rows) {
        if (old.message == row.message && old.timer_id == row.timer_id &&
            std::wcscmp(old.window_class, row.window_class) == 0) {
            return old.count;
        }
    }
    return 0;
}

// One table row: the state, then what the program did in it over `seconds`.
void measure(const char* state, HANDLE process, DWORD seconds) {
    const Sample before = sample(process);
    bench::pump_for(seconds * 1000);
    const Sample after = sample(process);
    const double elapsed = static_cast<double>(after.tick_ms - before.tick_ms) / 1000.0;
    std::string timers;
    double bar_paints = 0;
    for (const MessageCount& row : after.rows) {
        const double per_second = (row.count - count_before(before, row)) / elapsed;
        if (per_second == 0) {
            continue;
        }
        char name[64] = {};
        std::snprintf(name, sizeof name, "%ls", row.window_class);
        if (row.message == WM_PAINT) {
            if (std::string(name) == "Ondrel.Bar") {
                bar_paints = per_second;
            }
            continue;
        }
        char text[128] = {};
        std::snprintf(text, sizeof text, "%s%s timer %llu: %.2f", timers.empty() ? "" : "; ", name,
                      static_cast<unsigned long long>(row.timer_id), per_second);
        timers += text;
    }
    const double cpu_ms =
        static_cast<double>(after.cpu_100ns - before.cpu_100ns) / 10000.0 / elapsed;
    std::printf("| %s | %.1f ms | %s | %.2f | %.1f MB | %.1f MB |\n", state, cpu_ms,
                timers.empty() ? "none" : timers.c_str(), bar_paints, private_megabytes(process),
                linux_private_megabytes());
    std::fflush(stdout);
}

// Every run starts the file from its beginning: no position remembered by an earlier run.
void forget_positions() {
    wchar_t app_data[MAX_PATH] = {};
    GetEnvironmentVariableW(L"APPDATA", app_data, MAX_PATH);
    const std::wstring folder = std::wstring(app_data) + L"\\Ondrel\\watch_later\\";
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            DeleteFileW((folder + entry.cFileName).c_str());
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

struct Watched {
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
    HHOOK hook = nullptr;
};

// Starts Ondrel.exe, waits for its window (and the file in its title), hooks its GUI thread.
bool start(const std::wstring& program, const std::wstring& arguments, const wchar_t* hook_dll,
           bool with_file, Watched& watched) {
    const std::wstring command_line = bench::quoted(program) + arguments;
    // A row that the program adds later starts from zero, not from the last program's count.
    std::memset(static_cast<void*>(counts), 0, sizeof(MessageCounts));
    if (!bench::start_process(command_line, watched.process)) {
        return false;
    }
    for (int waited = 0; waited < 60000; waited += 10) {
        watched.main = bench::visible_window(watched.process.dwProcessId, L"Ondrel.Main");
        if (watched.main != nullptr && (!with_file || bench::title_names_a_file(watched.main))) {
            break;
        }
        watched.main = nullptr;
        bench::pump(10);
    }
    if (watched.main == nullptr) {
        std::fprintf(stderr, "no window within a minute\n");
        return false;
    }
    linux_process = find_linux_process(program);
    if (linux_process.empty()) {
        std::fprintf(stderr, "(no Linux process of the program: Windows figures only)\n");
    }
    const HMODULE hook = LoadLibraryW(hook_dll);
    const auto procedure =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hook, "count_messages")));
    const DWORD thread = GetWindowThreadProcessId(watched.main, nullptr);
    watched.hook =
        procedure != nullptr ? SetWindowsHookExW(WH_GETMESSAGE, procedure, hook, thread) : nullptr;
    if (watched.hook == nullptr) {
        std::fprintf(stderr, "cannot hook the program: error %lu\n", GetLastError());
        return false;
    }
    return true;
}

void stop(Watched& watched) {
    UnhookWindowsHookEx(watched.hook);
    PostMessageW(watched.main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(watched.process.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(watched.process.hProcess, 1);
    }
    CloseHandle(watched.process.hThread);
    CloseHandle(watched.process.hProcess);
}

void press(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 0);
    PostMessageW(window, WM_KEYUP, key, 0xC0000000);
}

// The last poll of the compression window, as the hook saw it; 0 before any.
ULONGLONG last_poll_tick() {
    for (LONG row = 0; row < counts->used; ++row) {
        if (counts->rows[row].message == WM_TIMER &&
            std::wcscmp(counts->rows[row].window_class, L"Ondrel.Compress") == 0) {
            return static_cast<ULONGLONG>(counts->rows[row].last_tick_ms);
        }
    }
    return 0;
}

struct Opening {
    double window_ms = -1;
    double ready_ms = -1;
    double last_poll_ms = -1; // -1 while the window still polls
    HWND window = nullptr;
};

// Presses C and times the compression window until it is Ready, then until it stops polling
// (everything it waited for is in), giving up on the latter after 30 s.
Opening open_compression(const Watched& watched) {
    Opening opening;
    const ULONGLONG start = GetTickCount64();
    const auto since = [&](ULONGLONG tick) { return static_cast<double>(tick - start); };
    press(watched.main, 'C');
    while (since(GetTickCount64()) < 60000) {
        if (opening.window == nullptr) {
            opening.window = bench::visible_window(watched.process.dwProcessId, L"Ondrel.Compress");
            if (opening.window != nullptr) {
                opening.window_ms = since(GetTickCount64());
            }
        }
        const HWND button =
            opening.window != nullptr ? GetDlgItem(opening.window, main_button_id) : nullptr;
        if (button != nullptr && IsWindowVisible(button) && IsWindowEnabled(button)) {
            opening.ready_ms = since(GetTickCount64());
            break;
        }
        bench::pump(1);
    }
    while (opening.ready_ms >= 0 && since(GetTickCount64()) < 30000) {
        const ULONGLONG last = last_poll_tick();
        bench::pump_for(1000); // five periods of the poll
        if (last != 0 && last_poll_tick() == last) {
            opening.last_poll_ms = since(last);
            break;
        }
    }
    return opening;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? -1 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void print_timing(const char* what, std::vector<double> values) {
    if (values.empty()) {
        std::printf("| %s | not reached | |\n", what);
        return;
    }
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    std::printf("| %s | %.0f ms | %.0f-%.0f ms |\n", what, median(values), *low, *high);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: idle_cost <Ondrel.exe> <message_count_hook.dll> <video file> "
                             "<seconds> <C runs>\n");
        return 2;
    }
    const std::wstring ondrel = argv[1];
    const wchar_t* hook_dll = argv[2];
    const std::wstring video = bench::quoted(argv[3]);
    const DWORD seconds = static_cast<DWORD>(std::max(1, _wtoi(argv[4])));
    const int c_runs = std::max(1, _wtoi(argv[5]));
    bench::use_bench_settings(L"ondrel-bench-idle");
    const HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              sizeof(MessageCounts), bench::message_counts_name);
    counts = static_cast<MessageCounts*>(
        MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(MessageCounts)));
    if (counts == nullptr) {
        std::fprintf(stderr, "no shared memory: error %lu\n", GetLastError());
        return 1;
    }
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const auto park_cursor = [&] { SetCursorPos(width - 1, height - 1); };
    std::printf("| State (%lu s each) | CPU per second | WM_TIMER per second | Bar repaints per "
                "second | Private bytes | Private resident (Linux) |\n|---|---|---|---|---|---|\n",
                seconds);

    Watched idle;
    park_cursor();
    if (!start(ondrel, L"", hook_dll, false, idle)) {
        return 1;
    }
    bench::pump_for(2000);
    measure("No file, window", idle.process.hProcess, seconds);
    stop(idle);

    Watched player;
    forget_positions();
    if (!start(ondrel, L" " + video, hook_dll, true, player)) {
        return 1;
    }
    bench::pump_for(2000);
    measure("Playing, window (bar shown)", player.process.hProcess, seconds);
    press(player.main, VK_SPACE);
    bench::pump_for(1000);
    measure("Paused, window (bar shown)", player.process.hProcess, seconds);
    press(player.main, 'F');
    bench::pump_for(500);
    SetCursorPos(width / 2, height / 2); // a move reveals the bar; 2.5 s later it hides
    bench::pump_for(4000);
    measure("Paused, full screen, bar hidden", player.process.hProcess, seconds);
    // The play button of a bar at 96 DPI: 6 + 40 pixels from the left, 44 pixels high.
    SetCursorPos(66, height - 22);
    bench::pump_for(4000);
    measure("Paused, full screen, pointer resting on a bar button", player.process.hProcess,
            seconds);
    SetCursorPos(width / 2, height / 2);
    press(player.main, VK_SPACE);
    bench::pump_for(4000);
    measure("Playing, full screen, bar hidden", player.process.hProcess, seconds);
    press(player.main, 'F');
    press(player.main, VK_SPACE);
    park_cursor();
    bench::pump_for(1000);

    std::vector<double> window_ms, ready_ms, last_poll_ms;
    for (int run = 0; run < c_runs; ++run) {
        const Opening opening = open_compression(player);
        if (opening.window_ms >= 0) {
            window_ms.push_back(opening.window_ms);
        }
        if (opening.ready_ms >= 0) {
            ready_ms.push_back(opening.ready_ms);
        }
        if (opening.last_poll_ms >= 0) {
            last_poll_ms.push_back(opening.last_poll_ms);
        }
        if (run + 1 == c_runs && opening.window != nullptr) {
            measure("Paused, compression window Ready, nothing going on", player.process.hProcess,
                    seconds);
        }
        if (opening.window != nullptr) {
            PostMessageW(opening.window, WM_CLOSE, 0, 0);
            for (int waited = 0; waited < 10000 && IsWindow(opening.window); waited += 10) {
                bench::pump(10);
            }
        }
        bench::pump_for(500);
    }
    stop(player);

    std::printf("\n| From the C key (%d runs) | Median | Range |\n|---|---|---|\n", c_runs);
    print_timing("Compression window shown", window_ms);
    print_timing("Ready (Compress enabled: the probe is in)", ready_ms);
    print_timing("Last poll (the detection and the output name are in too)", last_poll_ms);
    return 0;
}
