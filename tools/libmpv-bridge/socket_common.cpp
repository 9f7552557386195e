#include "socket.hpp"

namespace bridge {
namespace {

bool receive_all_before(SocketHandle socket, std::uint8_t* data, std::size_t size,
                        std::chrono::steady_clock::time_point deadline) {
    while (size > 0) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !wait_readable(socket, left)) {
            return false;
        }
        const std::size_t received = receive_some(socket, data, size);
        if (received == 0) {
            return false;
        }
        data += received;
        size -= received;
    }
    return true;
}

} // namespace

std::optional<std::vector<std::uint8_t>> receive_message(SocketHandle socket) {
    std::uint8_t header[4];
    if (!receive_all(socket, header, sizeof header)) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> length = frame_length(header);
    if (!length) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> body(*length);
    if (!receive_all(socket, body.data(), body.size())) {
        return std::nullopt;
    }
    return body;
}

std::optional<std::vector<std::uint8_t>>
receive_message_before(SocketHandle socket, std::chrono::steady_clock::time_point deadline,
                       std::uint32_t limit) {
    std::uint8_t header[4];
    if (!receive_all_before(socket, header, sizeof header, deadline)) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> length = frame_length(header, limit);
    if (!length) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> body(*length);
    if (!receive_all_before(socket, body.data(), body.size(), deadline)) {
        return std::nullopt;
    }
    return body;
}

} // namespace bridge
