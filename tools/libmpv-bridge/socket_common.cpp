#include "socket.hpp"

namespace bridge {

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

} // namespace bridge
