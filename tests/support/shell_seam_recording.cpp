#include "support/shell_seam_recording.hpp"

#include "main/language_switch.hpp"
#include "mpv/player_window.hpp"

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace ondrel {
namespace {

struct Mailbox {
    std::mutex mutex;
    std::condition_variable posted;
    testing::WakeupStatistics statistics;
    bool refuse_posts = false;
};

Mailbox& mailbox() {
    static Mailbox box;
    return box;
}

} // namespace

testing::ShellRecord& testing::shell_record() {
    static ShellRecord record;
    return record;
}

void testing::reset_shell_record() {
    shell_record() = ShellRecord{};
    Mailbox& box = mailbox();
    std::lock_guard lock(box.mutex);
    box.statistics = WakeupStatistics{};
    box.refuse_posts = false;
}

void testing::refuse_wakeup_posts(bool refuse) {
    Mailbox& box = mailbox();
    std::lock_guard lock(box.mutex);
    box.refuse_posts = refuse;
}

std::size_t testing::invalidation_count(ShellWindow window) {
    const auto& list = shell_record().invalidated;
    return static_cast<std::size_t>(std::count(list.begin(), list.end(), window));
}

testing::WakeupStatistics testing::wakeup_statistics() {
    Mailbox& box = mailbox();
    std::lock_guard lock(box.mutex);
    return box.statistics;
}

bool testing::take_wakeup(std::chrono::milliseconds timeout) {
    Mailbox& box = mailbox();
    std::unique_lock lock(box.mutex);
    if (!box.posted.wait_for(lock, timeout, [&] { return box.statistics.pending > 0; })) {
        return false;
    }
    --box.statistics.pending;
    return true;
}

void shell_language_changed(Language language) {
    testing::shell_record().language_changes.push_back(language);
}

bool shell_post_mpv_wakeup(ShellWindow window) noexcept {
    Mailbox& box = mailbox();
    {
        std::lock_guard lock(box.mutex);
        testing::WakeupStatistics& s = box.statistics;
        if (box.refuse_posts) {
            ++s.refused;
            return false;
        }
        ++s.posted;
        ++s.pending;
        s.most_pending = std::max(s.most_pending, s.pending);
        s.last_window = window;
        s.last_thread = std::this_thread::get_id();
    }
    box.posted.notify_all();
    return true;
}

void shell_invalidate(ShellWindow window) {
    if (window != 0) {
        testing::shell_record().invalidated.push_back(window);
    }
}

void shell_set_window_title(ShellWindow window, std::string_view title) {
    testing::shell_record().titles.emplace_back(window, std::string(title));
}

bool shell_is_foreground(ShellWindow window) {
    return window != 0 && testing::shell_record().foreground == window;
}

bool shell_has_focus(ShellWindow window) {
    return window != 0 && testing::shell_record().focus == window;
}

void shell_set_focus(ShellWindow window) {
    testing::shell_record().focus_given.push_back(window);
    testing::shell_record().focus = window;
}

ShellPlacement shell_window_placement(ShellWindow window) {
    const auto& placements = testing::shell_record().placements;
    const auto found = placements.find(window);
    return found == placements.end() ? ShellPlacement{} : found->second;
}

void shell_hide_window(ShellWindow window) {
    testing::shell_record().hidden.push_back(window);
}

} // namespace ondrel
