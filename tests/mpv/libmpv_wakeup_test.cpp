#include "real_player_fixture.hpp"

#include <atomic>
#include <thread>

namespace ondrel {
namespace {

using namespace ondrel::testing;

// libmpv wakes the program from its own threads while the GUI thread drains: there is never
// more than one wake-up waiting, and the last event always gets one.
TEST_F(RealPlayerTest, WakeupsAreNeverPiledUpNorLost) {
    start();
    const Player& player = *session.player;
    for (int round = 0; round < 5; ++round) {
        const double last = 42.25 + round;
        std::atomic<int> writers_done{0};
        const auto write = [&](int from) {
            for (int i = 0; i < 400; ++i) {
                double volume = (from + i) % 100;
                // A full event queue refuses the request; it is simply asked again.
                while (player.api.set_property_async(player.handle.get(), 0, "volume",
                                                     MPV_FORMAT_DOUBLE, &volume) < 0) {
                    std::this_thread::yield();
                }
            }
            if (writers_done.fetch_add(1) == 1) {
                double volume = last;
                while (player.api.set_property_async(player.handle.get(), 0, "volume",
                                                     MPV_FORMAT_DOUBLE, &volume) < 0) {
                    std::this_thread::yield();
                }
            }
        };
        std::thread first(write, 0);
        std::thread second(write, 50);
        const bool reached = pump_until(
            session, [&] { return writers_done == 2 && session.playback.volume == last; },
            std::chrono::seconds(20));
        first.join();
        second.join();
        ASSERT_TRUE(reached) << "round " << round << ": volume " << session.playback.volume;
        const WakeupStatistics statistics = wakeup_statistics();
        EXPECT_LE(statistics.most_pending, 1u);
        EXPECT_GT(statistics.posted, 0u);
        EXPECT_NE(statistics.last_thread, std::this_thread::get_id());
    }
}

} // namespace
} // namespace ondrel
