// The worker-to-window channel: order, many senders, and telling "not yet" from "never".
#include "platform/channel.hpp"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace ondrel {
namespace {

TEST(Channel, EmptyUntilTheLastSenderGoesThenDisconnected) {
    auto [sender, receiver] = make_channel<int>();
    EXPECT_EQ(try_receive(receiver).status, ReceiveStatus::Empty);
    {
        Sender<int> copy = sender;
        ASSERT_TRUE(send(copy, 1));
    }
    // One sender is left: what was sent arrives, then "nothing yet".
    auto first = try_receive(receiver);
    ASSERT_EQ(first.status, ReceiveStatus::Received);
    EXPECT_EQ(first.message, 1);
    EXPECT_EQ(try_receive(receiver).status, ReceiveStatus::Empty);
    ASSERT_TRUE(send(sender, 2));
    { Sender<int> last = std::move(sender); }
    // Messages sent before the last sender left are still delivered.
    auto second = try_receive(receiver);
    ASSERT_EQ(second.status, ReceiveStatus::Received);
    EXPECT_EQ(second.message, 2);
    EXPECT_EQ(try_receive(receiver).status, ReceiveStatus::Disconnected);
    EXPECT_FALSE(try_receive(receiver).message.has_value());
}

TEST(Channel, ManySendersLoseNothingAndKeepEachSendersOrder) {
    auto [sender, receiver] = make_channel<std::pair<int, int>>();
    constexpr int senders = 4;
    constexpr int per_sender = 5000;
    std::vector<std::thread> threads;
    for (int s = 0; s < senders; ++s) {
        threads.emplace_back([s, own = sender] {
            for (int i = 0; i < per_sender; ++i) {
                send(own, std::pair{s, i});
            }
        });
    }
    { Sender<std::pair<int, int>> drop = std::move(sender); }
    std::vector<int> next(senders, 0);
    int received = 0;
    while (auto message = receive(receiver)) {
        EXPECT_EQ(message->second, next[message->first]) << "sender " << message->first;
        next[message->first] = message->second + 1;
        ++received;
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(received, senders * per_sender);
    EXPECT_EQ(try_receive(receiver).status, ReceiveStatus::Disconnected);
}

TEST(Channel, SendingToADroppedReceiverIsHarmless) {
    auto [sender, receiver] = make_channel<std::string>();
    ASSERT_TRUE(send(sender, std::string("kept")));
    { Receiver<std::string> gone = std::move(receiver); }
    EXPECT_FALSE(send(sender, std::string("dropped")));
}

TEST(Channel, WaitingReceivesEndWithMessageOrDisconnection) {
    auto [sender, receiver] = make_channel<int>();
    EXPECT_EQ(receive_for(receiver, std::chrono::milliseconds(1)).status, ReceiveStatus::Empty);
    std::thread late([own = std::move(sender)] { send(own, 7); });
    EXPECT_EQ(receive(receiver), std::optional<int>(7));
    late.join();
    EXPECT_EQ(receive(receiver), std::nullopt);
    EXPECT_EQ(receive_for(receiver, std::chrono::hours(1)).status, ReceiveStatus::Disconnected);
}

} // namespace
} // namespace ondrel
