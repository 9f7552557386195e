// A message from a peer not yet trusted: the whole of it must arrive before one deadline,
// and nothing longer than the limit is read.
#include "socket.hpp"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <thread>

namespace bridge {
namespace {

using namespace std::chrono_literals;

TEST(Socket, AnUntrustedMessageHasOneDeadlineAndALimit) {
    struct Case {
        const char* name;
        std::uint32_t announced;
        std::chrono::milliseconds between_bytes;
        bool arrives;
    };
    const Case cases[] = {
        {"sent at once", 37, 0ms, true},
        {"trickled past the deadline, each byte in time", 37, 40ms, false},
        {"longer than the limit", 1000, 0ms, false},
    };
    for (const Case& test : cases) {
        int ends[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
        std::vector<std::uint8_t> frame(4 + test.announced, 'x');
        for (int index = 0; index < 4; ++index) {
            frame[index] = static_cast<std::uint8_t>(test.announced >> (8 * index));
        }
        std::thread sender([&] {
            if (test.between_bytes == 0ms) {
                send_all(ends[1], frame.data(), frame.size());
                return;
            }
            for (const std::uint8_t byte : frame) {
                if (!send_all(ends[1], &byte, 1)) {
                    return;
                }
                std::this_thread::sleep_for(test.between_bytes);
            }
        });
        const auto message =
            receive_message_before(ends[0], std::chrono::steady_clock::now() + 300ms, 256);
        EXPECT_EQ(message.has_value(), test.arrives) << test.name;
        EXPECT_EQ(message ? message->size() : 0, test.arrives ? test.announced : 0) << test.name;
        close_socket(ends[0]);
        sender.join();
        close_socket(ends[1]);
    }
}

} // namespace
} // namespace bridge
