// Loaded into the watched process by SetWindowsHookExW(WH_GETMESSAGE): counts the WM_TIMER
// and WM_PAINT messages its thread takes from the queue, into the shared table of
// message_counts.hpp. Nothing of Ondrel is changed to be counted.
#include "message_counts.hpp"

#include <cwchar>

namespace {

bench::MessageCounts* table() {
    static bench::MessageCounts* counts = [] {
        const HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, bench::message_counts_name);
        return mapping == nullptr
                   ? nullptr
                   : static_cast<bench::MessageCounts*>(MapViewOfFile(
                         mapping, FILE_MAP_WRITE, 0, 0, sizeof(bench::MessageCounts)));
    }();
    return counts;
}

void count(const MSG& message) {
    bench::MessageCounts* counts = table();
    if (counts == nullptr) {
        return;
    }
    wchar_t name[40] = L"(no window)";
    if (message.hwnd != nullptr) {
        GetClassNameW(message.hwnd, name, 40);
    }
    const UINT_PTR id = message.message == WM_TIMER ? message.wParam : 0;
    LONG row = 0;
    while (row < counts->used &&
           !(counts->rows[row].message == message.message && counts->rows[row].timer_id == id &&
             std::wcscmp(counts->rows[row].window_class, name) == 0)) {
        ++row;
    }
    if (row == counts->used) {
        if (row == 64) {
            return;
        }
        bench::MessageCount& added = counts->rows[row];
        std::wcscpy(added.window_class, name);
        added.message = message.message;
        added.timer_id = id;
        InterlockedIncrement(&counts->used);
    }
    counts->rows[row].last_tick_ms = static_cast<LONGLONG>(GetTickCount64());
    InterlockedIncrement(&counts->rows[row].count);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK count_messages(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION && w == PM_REMOVE) {
        const MSG& message = *reinterpret_cast<const MSG*>(l);
        if (message.message == WM_TIMER || message.message == WM_PAINT) {
            count(message);
        }
    }
    return CallNextHookEx(nullptr, code, w, l);
}
