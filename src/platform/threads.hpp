// Starting a thread, with a way out when the system cannot start one.
#pragma once

#include <exception>
#include <string>
#include <thread>
#include <utility>

namespace ondrel {

// Starts `work` on a thread of its own and returns that thread. When the system cannot start
// one, `instead` runs here with the reason, `work` never runs, and the returned thread is not
// joinable. `work` is taken by value, so a caller that passes a copy still has its own to run
// in place.
template <class Work, class Instead> std::thread start_thread(Work work, Instead&& instead) {
    try {
        return std::thread(std::move(work));
    } catch (const std::exception& error) {
        std::forward<Instead>(instead)(std::string(error.what()));
    }
    return std::thread();
}

// The same for a thread nobody joins.
template <class Work, class Instead> void start_detached_thread(Work work, Instead&& instead) {
    std::thread thread = start_thread(std::move(work), std::forward<Instead>(instead));
    if (thread.joinable()) {
        thread.detach();
    }
}

} // namespace ondrel
