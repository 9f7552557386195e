// The table that message_count_hook.dll fills inside the watched process and idle_cost reads:
// how many WM_TIMER and WM_PAINT messages the hooked thread took, per window class and timer.
#pragma once

#include <windows.h>

namespace bench {

inline constexpr wchar_t message_counts_name[] = L"Local\\OndrelBenchMessageCounts";

struct MessageCount {
    wchar_t window_class[40];
    UINT message;
    UINT_PTR timer_id; // 0 for WM_PAINT
    volatile LONG count;
    volatile LONGLONG last_tick_ms; // GetTickCount64 at the last one
};

struct MessageCounts {
    volatile LONG used; // rows filled; only the hooked thread adds rows
    MessageCount rows[64];
};

} // namespace bench
