#include "socket.hpp"

#include <winsock2.h>

#include <algorithm>
#include <climits>

namespace bridge {

bool send_all(SocketHandle socket, const void* data, std::size_t size) {
    const auto* next = static_cast<const char*>(data);
    while (size > 0) {
        const int chunk = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
        const int sent = ::send(static_cast<SOCKET>(socket), next, chunk, 0);
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
    const int chunk = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
    const int received = ::recv(static_cast<SOCKET>(socket), static_cast<char*>(data), chunk, 0);
    return received > 0 ? static_cast<std::size_t>(received) : 0;
}

bool wait_readable(SocketHandle socket, std::chrono::milliseconds timeout) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(static_cast<SOCKET>(socket), &readable);
    const auto count = timeout.count();
    timeval wait{static_cast<long>(count / 1000), static_cast<long>(count % 1000 * 1000)};
    return select(0, &readable, nullptr, nullptr, &wait) > 0;
}

void shut_down(SocketHandle socket) {
    ::shutdown(static_cast<SOCKET>(socket), SD_BOTH);
}

void close_socket(SocketHandle socket) {
    ::closesocket(static_cast<SOCKET>(socket));
}

} // namespace bridge
