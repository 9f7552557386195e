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
        const int chunk = static_cast<int>(std::min<std::size_t>(size, INT_MAX));
        const int received = ::recv(static_cast<SOCKET>(socket), next, chunk, 0);
        if (received <= 0) {
            return false;
        }
        next += received;
        size -= static_cast<std::size_t>(received);
    }
    return true;
}

void shut_down(SocketHandle socket) {
    ::shutdown(static_cast<SOCKET>(socket), SD_BOTH);
}

void close_socket(SocketHandle socket) {
    ::closesocket(static_cast<SOCKET>(socket));
}

} // namespace bridge
