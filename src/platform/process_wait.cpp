#include "platform/process.hpp"

#include <algorithm>
#include <thread>

namespace ondrel {

Result<std::optional<std::int32_t>> wait_for_exit_within(ChildProcess& child,
                                                         std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        Result<std::optional<std::int32_t>> state = query_exit(child);
        const auto now = std::chrono::steady_clock::now();
        if (!state || state.value() || now >= deadline) {
            return state;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            std::chrono::milliseconds(10), deadline - now));
    }
}

} // namespace ondrel
