#include "dll_handle_win32.hpp"

#include <bcrypt.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace bridge {
namespace {

constexpr auto connect_timeout = std::chrono::seconds(20);
constexpr auto hello_timeout = std::chrono::seconds(5);
constexpr auto helper_exit_timeout = std::chrono::seconds(5);

std::wstring environment_variable(const wchar_t* name) {
    std::wstring value(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), 32768);
    value.resize(length < 32768 ? length : 0);
    return value;
}

std::wstring helper_program() {
    std::wstring program = environment_variable(L"ONDREL_LIBMPV_BRIDGE_HELPER");
    return program.empty() ? ondrel::widen(ONDREL_LIBMPV_BRIDGE_DEFAULT_HELPER) : program;
}

std::optional<std::string> random_token() {
    unsigned char bytes[16];
    if (!BCRYPT_SUCCESS(
            BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
        return std::nullopt;
    }
    std::string token;
    for (const unsigned char byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        token += digits;
    }
    return token;
}

// This process's environment with the connection details added, as CreateProcessW takes it:
// the port and token reach the helper there rather than on its command line, which any local
// user could read.
std::wstring helper_environment(int port, const std::string& token) {
    std::wstring block;
    const std::unique_ptr<wchar_t, decltype(&FreeEnvironmentStringsW)> strings(
        GetEnvironmentStringsW(), &FreeEnvironmentStringsW);
    for (const wchar_t* entry = strings.get(); entry != nullptr && *entry != L'\0';
         entry += wcslen(entry) + 1) {
        const std::wstring_view view(entry);
        if (!view.starts_with(L"ONDREL_LIBMPV_BRIDGE_PORT=") &&
            !view.starts_with(L"ONDREL_LIBMPV_BRIDGE_TOKEN=")) {
            block.append(view).push_back(L'\0');
        }
    }
    block.append(L"ONDREL_LIBMPV_BRIDGE_PORT=" + std::to_wstring(port)).push_back(L'\0');
    block.append(L"ONDREL_LIBMPV_BRIDGE_TOKEN=" + ondrel::widen(token)).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

bool launch(int port, const std::string& token) {
    std::wstring command = L"\"" + helper_program() + L"\"";
    std::wstring environment = helper_environment(port, token);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(), nullptr,
                        &startup, &started)) {
        return false;
    }
    // Wine gives a native program no process handle (the end of the connection is what
    // tells that the helper has gone), and what it leaves as the thread handle then is not
    // one: closing it would close whichever handle of this process has that value.
    if (started.hProcess != nullptr) {
        const ondrel::UniqueHandle thread(started.hThread);
        const ondrel::UniqueHandle process(started.hProcess);
    }
    return true;
}

SOCKET listen_on_loopback(int& port) {
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) {
        return INVALID_SOCKET;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 4) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return listener;
}

// The first connection that presents the token; others are closed. INVALID_SOCKET when none
// comes in time.
SOCKET accept_helper(SOCKET listener, const std::string& token) {
    const auto deadline = std::chrono::steady_clock::now() + connect_timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!wait_readable(static_cast<SocketHandle>(listener), std::chrono::seconds(1))) {
            continue;
        }
        const SOCKET connection = accept(listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET) {
            continue;
        }
        // A stranger must not hold the wait up: the whole token has to come quickly, and
        // nothing larger than it is read.
        const auto hello = receive_message_before(static_cast<SocketHandle>(connection),
                                                  std::chrono::steady_clock::now() + hello_timeout,
                                                  max_handshake_size);
        if (hello) {
            Reader reader(hello->data(), hello->size());
            if (reader.kind() == Kind::hello && reader.text() == token && !reader.failed()) {
                const BOOL on = TRUE;
                setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                           sizeof on);
                return connection;
            }
        }
        closesocket(connection);
    }
    return INVALID_SOCKET;
}

void wake_program(mpv_handle* handle) {
    void (*wakeup)(void*) = nullptr;
    void* context = nullptr;
    {
        const std::lock_guard lock(handle->lock);
        wakeup = handle->wakeup;
        context = handle->wakeup_context;
    }
    if (wakeup != nullptr) {
        wakeup(context);
    }
}

// Which file the helper is on, from its events (the handle's lock held).
void follow_file(mpv_handle& handle, const Event& event) {
    if (event.id == MPV_EVENT_START_FILE) {
        handle.file_expected = false;
        handle.file_playing = true;
        handle.playlist_entry_id = event.playlist_entry_id;
    } else if (event.id == MPV_EVENT_END_FILE) {
        handle.file_playing = false;
    }
}

// The connection's reading thread: replies go to the waiting caller, events to the queue
// (with a wake-up, as libmpv's own threads give), frames to the picture.
void read_messages(mpv_handle* handle) {
    for (;;) {
        std::optional<std::vector<std::uint8_t>> body = receive_message(handle->channel.socket);
        if (!body) {
            break;
        }
        Reader message(body->data(), body->size());
        if (message.kind() == Kind::frame) {
            receive_frame(handle, std::move(*body));
            continue;
        }
        if (message.kind() == Kind::reply) {
            Reply reply;
            reply.result = message.i32();
            reply.value = message.value();
            const std::lock_guard lock(handle->lock);
            handle->reply = std::move(reply);
            handle->changed.notify_all();
            continue;
        }
        if (message.kind() == Kind::event) {
            Event event = message.event();
            if (message.failed()) {
                break;
            }
            {
                const std::lock_guard lock(handle->lock);
                follow_file(*handle, event);
                handle->events.push_back(std::move(event));
                handle->changed.notify_all();
            }
            wake_program(handle);
            continue;
        }
        break; // not one of ours: treat it as the helper gone wrong
    }
    // The helper has gone (or was told to go): every waiting and later call fails, and the
    // program learns it from a SHUTDOWN event, after the end of the file it was playing.
    bool lost = false;
    {
        const std::lock_guard lock(handle->lock);
        handle->helper_gone = true;
        lost = !handle->terminating;
        if (lost && (handle->file_expected || handle->file_playing)) {
            Event ended;
            ended.id = MPV_EVENT_END_FILE;
            ended.end_reason = MPV_END_FILE_REASON_ERROR;
            ended.end_error = MPV_ERROR_GENERIC;
            ended.playlist_entry_id = handle->playlist_entry_id;
            handle->events.push_back(ended);
        }
        handle->file_expected = false;
        handle->file_playing = false;
        Event shutdown;
        shutdown.id = MPV_EVENT_SHUTDOWN;
        handle->events.push_back(shutdown);
        handle->changed.notify_all();
    }
    if (lost) {
        drop_picture(handle);
    }
    wake_program(handle);
}

} // namespace

mpv_handle* start_helper() {
    WSADATA winsock;
    if (WSAStartup(MAKEWORD(2, 2), &winsock) != 0) {
        return nullptr;
    }
    const std::optional<std::string> token = random_token();
    int port = 0;
    const SOCKET listener = token ? listen_on_loopback(port) : INVALID_SOCKET;
    if (listener == INVALID_SOCKET) {
        WSACleanup();
        return nullptr;
    }
    SOCKET connection = INVALID_SOCKET;
    if (launch(port, *token)) {
        connection = accept_helper(listener, *token);
    }
    closesocket(listener);
    if (connection == INVALID_SOCKET) {
        WSACleanup();
        return nullptr;
    }
    // The helper's first reply says whether its mpv_create worked; a helper stuck before it
    // must not keep the program from starting.
    const auto created = receive_message_before(static_cast<SocketHandle>(connection),
                                                std::chrono::steady_clock::now() + connect_timeout,
                                                max_handshake_size);
    bool ok = false;
    if (created) {
        Reader reader(created->data(), created->size());
        ok = reader.kind() == Kind::reply && reader.i32() == 0 && !reader.failed();
    }
    if (!ok) {
        closesocket(connection);
        WSACleanup();
        return nullptr;
    }
    auto* handle = new mpv_handle;
    handle->channel.socket = static_cast<SocketHandle>(connection);
    handle->reader = std::thread(read_messages, handle);
    return handle;
}

Reply call(mpv_handle* handle, Writer& request) {
    const std::lock_guard serial(handle->call_lock);
    {
        const std::lock_guard lock(handle->lock);
        if (handle->helper_gone) {
            return Reply{MPV_ERROR_GENERIC, {}};
        }
        handle->reply.reset();
    }
    if (!handle->channel.send(request)) {
        return Reply{MPV_ERROR_GENERIC, {}};
    }
    std::unique_lock lock(handle->lock);
    handle->changed.wait(lock, [&] { return handle->reply.has_value() || handle->helper_gone; });
    if (!handle->reply) {
        return Reply{MPV_ERROR_GENERIC, {}};
    }
    Reply reply = std::move(*handle->reply);
    handle->reply.reset();
    return reply;
}

bool helper_gone(mpv_handle* handle) {
    const std::lock_guard lock(handle->lock);
    return handle->helper_gone;
}

void expect_file(mpv_handle* handle, bool expected) {
    const std::lock_guard lock(handle->lock);
    handle->file_expected = expected && !handle->helper_gone;
}

void notify(mpv_handle* handle, Writer& message) {
    handle->channel.send(message);
}

std::optional<Event> next_event(mpv_handle* handle, double timeout) {
    std::unique_lock lock(handle->lock);
    const auto ready = [&] { return !handle->events.empty(); };
    if (timeout < 0) {
        handle->changed.wait(lock, ready);
    } else if (timeout > 0) {
        // Beyond a day is as good as for ever, and keeps the clock arithmetic in range.
        const double seconds = timeout < 86400.0 ? timeout : 86400.0;
        handle->changed.wait_for(lock, std::chrono::duration<double>(seconds), ready);
    }
    if (handle->events.empty()) {
        return std::nullopt;
    }
    Event event = std::move(handle->events.front());
    // SHUTDOWN stays at the head once the helper is gone, as libmpv repeats it.
    if (!(handle->helper_gone && event.id == MPV_EVENT_SHUTDOWN && handle->events.size() == 1)) {
        handle->events.pop_front();
    }
    return event;
}

void stop_helper(mpv_handle* handle) {
    {
        const std::lock_guard lock(handle->lock);
        handle->terminating = true;
    }
    stop_video(handle);
    Writer terminate(Kind::terminate);
    call(handle, terminate);
    // The helper has destroyed its player before replying, and closes the connection as it
    // ends: that is the end waited for, as there is no process handle to wait on. A helper
    // that does not get there in time is not waited for any longer.
    {
        std::unique_lock lock(handle->lock);
        handle->changed.wait_for(lock, helper_exit_timeout, [&] { return handle->helper_gone; });
    }
    shut_down(handle->channel.socket);
    handle->reader.join();
    close_socket(handle->channel.socket);
    std::free(handle->current.text);
    delete handle;
    WSACleanup();
}

} // namespace bridge
