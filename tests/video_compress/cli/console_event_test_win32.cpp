// The console handler of ondrel-compress for the events that end the process when it returns
// (closing the console, logoff, shutdown). Wine cannot send them, so the handler is called
// directly, as Windows would call it: on a thread of its own.
#include "compress_cli/console.hpp"
#include "compress_cli/console_win32.hpp"

#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace ondrel {
namespace {

using namespace std::chrono_literals;

TEST(ConsoleEvents, AClosingConsoleWaitsUntilTheEncodeIsCleanedUp) {
    auto handler =
        std::async(std::launch::async, [] { return on_console_event(CTRL_CLOSE_EVENT); });
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!interrupt_requested() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(interrupt_requested());
    // Returning would end the process with ffmpeg's files still there.
    EXPECT_EQ(handler.wait_for(500ms), std::future_status::timeout);
    interrupt_handled();
    ASSERT_EQ(handler.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(handler.get(), TRUE);
}

} // namespace
} // namespace ondrel
