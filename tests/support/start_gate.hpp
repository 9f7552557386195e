// Lets several threads begin at the same moment. std::latch is not used: MinGW's libstdc++ 12
// implements its wait without a platform futex, and under Wine that wait can miss its wake-up
// and block for good.
#pragma once

#include <condition_variable>
#include <mutex>

namespace ondrel::testing {

struct StartGate {
    std::mutex lock;
    std::condition_variable opened;
    int waiting_for = 0;

    explicit StartGate(int threads) : waiting_for(threads) {}
};

// Blocks until every thread the gate was made for has arrived.
inline void arrive_and_wait(StartGate& gate) {
    std::unique_lock<std::mutex> guard(gate.lock);
    if (--gate.waiting_for <= 0) {
        gate.opened.notify_all();
        return;
    }
    gate.opened.wait(guard, [&] { return gate.waiting_for <= 0; });
}

} // namespace ondrel::testing
