// The loopback connection, the same on both sides: whole reads and writes of framed messages.
#pragma once

#include "protocol.hpp"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace bridge {

using SocketHandle = std::intptr_t;
inline constexpr SocketHandle no_socket = -1;

// Both fail (false) when the other side has gone away.
bool send_all(SocketHandle socket, const void* data, std::size_t size);
bool receive_all(SocketHandle socket, void* data, std::size_t size);
// What one read gives, up to `size` bytes; 0 when the other side has gone away.
std::size_t receive_some(SocketHandle socket, void* data, std::size_t size);
// Whether something (data or the end) can be read within `timeout`.
bool wait_readable(SocketHandle socket, std::chrono::milliseconds timeout);
// Stops both directions, which wakes a thread blocked in a read.
void shut_down(SocketHandle socket);
void close_socket(SocketHandle socket);

// One received message (kind byte first), or nothing when the connection ended or sent a
// frame too large to be one of ours.
std::optional<std::vector<std::uint8_t>> receive_message(SocketHandle socket);
// The same for a peer not yet trusted: nothing when the whole message has not arrived by
// `deadline`, however it trickles in, or when it announces more than `limit` bytes.
std::optional<std::vector<std::uint8_t>>
receive_message_before(SocketHandle socket, std::chrono::steady_clock::time_point deadline,
                       std::uint32_t limit);

// Several threads send on one connection; each message goes out whole.
struct Channel {
    SocketHandle socket = no_socket;
    std::mutex send_lock;

    bool send(Writer& message) {
        const std::vector<std::uint8_t>& frame = message.frame();
        const std::lock_guard lock(send_lock);
        return send_all(socket, frame.data(), frame.size());
    }
};

} // namespace bridge
