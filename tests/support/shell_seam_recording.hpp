// What the portable code asked of the windows, for the native tests, and the answers the
// fake desktop gives back.
#pragma once

#include "i18n/language.hpp"
#include "main/language_switch.hpp"
#include "mpv/player_window.hpp"

#include <chrono>
#include <cstddef>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace ondrel::testing {

struct ShellRecord {
    std::vector<Language> language_changes;
    std::vector<ShellWindow> invalidated;
    std::vector<std::pair<ShellWindow, std::string>> titles;
    std::vector<ShellWindow> focus_given;
    std::vector<ShellWindow> hidden;

    // The desktop as the code under test sees it.
    ShellWindow foreground = 0;
    ShellWindow focus = 0;
    std::map<ShellWindow, ShellPlacement> placements;
};

// Touched only by the test's own thread.
ShellRecord& shell_record();

// Clears the record and the wake-up mailbox.
void reset_shell_record();

// How many times the window was marked for repainting.
std::size_t invalidation_count(ShellWindow window);

// WM_APP_MPV_WAKEUP messages, posted from any thread and taken by the test's message loop.
struct WakeupStatistics {
    std::size_t posted = 0;       // messages posted since the last reset
    std::size_t pending = 0;      // posted and not yet taken
    std::size_t most_pending = 0; // the largest number ever pending at once
    std::size_t refused = 0;      // posts refused as by a full message queue
    ShellWindow last_window = 0;
    std::thread::id last_thread;
};

WakeupStatistics wakeup_statistics();

// While set, posting a wake-up fails as it does when the window's message queue is full.
void refuse_wakeup_posts(bool refuse);

// Waits until a wake-up message is pending and takes it out; false after the timeout.
bool take_wakeup(std::chrono::milliseconds timeout);

} // namespace ondrel::testing
