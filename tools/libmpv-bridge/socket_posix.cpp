#include "socket.hpp"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace bridge {

bool send_all(SocketHandle socket, const void* data, std::size_t size) {
    const auto* next = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = ::send(static_cast<int>(socket), next, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        next += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool receive_all(SocketHandle socket, void* data, std::size_t size) {
    auto* next = static_cast<char*>(data);
    while (size > 0) {
        const std::size_t received = receive_some(socket, next, size);
        if (received == 0) {
            return false;
        }
        next += received;
        size -= received;
    }
    return true;
}

std::size_t receive_some(SocketHandle socket, void* data, std::size_t size) {
    for (;;) {
        const ssize_t received = ::recv(static_cast<int>(socket), data, size, 0);
        if (received < 0 && errno == EINTR) {
            continue;
        }
        return received > 0 ? static_cast<std::size_t>(received) : 0;
    }
}

bool wait_readable(SocketHandle socket, std::chrono::milliseconds timeout) {
    pollfd watched{static_cast<int>(socket), POLLIN, 0};
    const int result = ::poll(&watched, 1, static_cast<int>(timeout.count()));
    return result > 0;
}

void shut_down(SocketHandle socket) {
    ::shutdown(static_cast<int>(socket), SHUT_RDWR);
}

void close_socket(SocketHandle socket) {
    ::close(static_cast<int>(socket));
}

} // namespace bridge
