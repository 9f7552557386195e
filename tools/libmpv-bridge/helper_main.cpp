// The native helper of the libmpv bridge, started by the Windows libmpv-2.dll under Wine. It
// connects back to the DLL on the loopback port and with the token found in its environment,
// and runs the real libmpv for it until told to stop or until the connection ends.
#include "helper_session.hpp"

#include <arpa/inet.h>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace bridge {
namespace {

SocketHandle connect_to_dll(int port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket < 0) {
        return no_socket;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close_socket(socket);
        return no_socket;
    }
    // Replies are small and waited for; they must not sit in Nagle's buffer.
    const int on = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return socket;
}

bool reply(HelperSession& session, int result, const Value& value = {}) {
    Writer message(Kind::reply);
    message.i32(result).value(value);
    return session.channel.send(message);
}

// Pointers into the arguments, ending with the null pointer libmpv expects.
std::vector<const char*> argument_pointers(const std::vector<std::string>& arguments) {
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    pointers.push_back(nullptr);
    return pointers;
}

int set_option(HelperSession& session, const std::string& name, const std::string& value) {
    if (name == "force-window") {
        if (value != "yes" && value != "no" && value != "immediate") {
            return MPV_ERROR_OPTION_FORMAT;
        }
        session.force_window = value;
        return 0;
    }
    return mpv_set_option_string(session.mpv, name.c_str(), value.c_str());
}

int initialize(HelperSession& session) {
    const int result = mpv_initialize(session.mpv);
    if (result < 0) {
        return result;
    }
    if (!start_rendering(session)) {
        std::fputs("libmpv bridge: the software renderer is not available\n", stderr);
    }
    start_turning(session);
    if (session.force_window) {
        mpv_set_property_string(session.mpv, "force-window", session.force_window->c_str());
    }
    return result;
}

int set_property_async(HelperSession& session, std::uint64_t reply_id, const std::string& name,
                       const Value& value) {
    int flag = static_cast<int>(value.integer);
    std::int64_t integer = value.integer;
    double number = value.number;
    const char* text = value.text.c_str();
    switch (value.format) {
    case Format::string:
    case Format::osd_string:
        return mpv_set_property_async(session.mpv, reply_id, name.c_str(), MPV_FORMAT_STRING,
                                      &text);
    case Format::flag:
        return mpv_set_property_async(session.mpv, reply_id, name.c_str(), MPV_FORMAT_FLAG, &flag);
    case Format::int64:
        return mpv_set_property_async(session.mpv, reply_id, name.c_str(), MPV_FORMAT_INT64,
                                      &integer);
    case Format::double_:
        return mpv_set_property_async(session.mpv, reply_id, name.c_str(), MPV_FORMAT_DOUBLE,
                                      &number);
    case Format::none:
        break;
    }
    return MPV_ERROR_PROPERTY_FORMAT;
}

bool get_property(HelperSession& session, const std::string& name, Format format) {
    Value value;
    value.format = format;
    int result = MPV_ERROR_PROPERTY_FORMAT;
    switch (format) {
    case Format::string:
    case Format::osd_string: {
        char* text = nullptr;
        result = mpv_get_property(
            session.mpv, name.c_str(),
            format == Format::string ? MPV_FORMAT_STRING : MPV_FORMAT_OSD_STRING, &text);
        if (result >= 0 && text != nullptr) {
            value.text = text;
        }
        mpv_free(text);
        break;
    }
    case Format::flag: {
        int flag = 0;
        result = mpv_get_property(session.mpv, name.c_str(), MPV_FORMAT_FLAG, &flag);
        value.integer = flag;
        break;
    }
    case Format::int64:
        result = mpv_get_property(session.mpv, name.c_str(), MPV_FORMAT_INT64, &value.integer);
        break;
    case Format::double_:
        result = mpv_get_property(session.mpv, name.c_str(), MPV_FORMAT_DOUBLE, &value.number);
        break;
    case Format::none:
        break;
    }
    if (result < 0) {
        value = Value{};
    }
    return reply(session, result, value);
}

void shut_down_player(HelperSession& session) {
    stop_turning(session);
    stop_rendering(session);
    stop_event_forwarding(session);
    mpv_terminate_destroy(session.mpv);
    session.mpv = nullptr;
}

// Serves requests until the DLL asks to terminate or goes away.
void serve(HelperSession& session) {
    for (;;) {
        const std::optional<std::vector<std::uint8_t>> body =
            receive_message(session.channel.socket);
        if (!body) {
            return;
        }
        Reader request(body->data(), body->size());
        bool sent = true;
        switch (request.kind()) {
        case Kind::set_option: {
            const std::string name = request.text();
            const std::string value = request.text();
            sent = reply(session, set_option(session, name, value));
            break;
        }
        case Kind::initialize:
            sent = reply(session, initialize(session));
            break;
        case Kind::command: {
            const std::vector<std::string> arguments = request.texts();
            std::vector<const char*> pointers = argument_pointers(arguments);
            sent = reply(session, mpv_command(session.mpv, pointers.data()));
            break;
        }
        case Kind::command_async: {
            const std::uint64_t reply_id = request.u64();
            const std::vector<std::string> arguments = request.texts();
            std::vector<const char*> pointers = argument_pointers(arguments);
            sent = reply(session, mpv_command_async(session.mpv, reply_id, pointers.data()));
            break;
        }
        case Kind::command_string: {
            const std::string text = request.text();
            sent = reply(session, mpv_command_string(session.mpv, text.c_str()));
            break;
        }
        case Kind::set_property_async: {
            const std::uint64_t reply_id = request.u64();
            const std::string name = request.text();
            const Value value = request.value();
            sent = reply(session, set_property_async(session, reply_id, name, value));
            break;
        }
        case Kind::get_property: {
            const std::string name = request.text();
            const auto format = static_cast<Format>(request.u8());
            sent = get_property(session, name, format);
            break;
        }
        case Kind::observe_property: {
            const std::uint64_t reply_id = request.u64();
            const std::string name = request.text();
            const auto format = static_cast<mpv_format>(request.u8());
            sent =
                reply(session, mpv_observe_property(session.mpv, reply_id, name.c_str(), format));
            break;
        }
        case Kind::resize: {
            const auto width = static_cast<int>(request.u32());
            const auto height = static_cast<int>(request.u32());
            resize_output(session, width, height);
            break;
        }
        case Kind::frame_done:
            frame_shown(session);
            break;
        case Kind::terminate:
            shut_down_player(session);
            reply(session, 0);
            return;
        default:
            sent = reply(session, MPV_ERROR_INVALID_PARAMETER);
            break;
        }
        if (!sent) {
            return;
        }
    }
}

const char* environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace
} // namespace bridge

int main() {
    using namespace bridge;
    const int port = std::atoi(environment("ONDREL_LIBMPV_BRIDGE_PORT"));
    const std::string token = environment("ONDREL_LIBMPV_BRIDGE_TOKEN");
    if (port <= 0 || port > 65535 || token.empty()) {
        std::fputs("libmpv bridge helper: start it through libmpv-2.dll, not by hand\n", stderr);
        return 2;
    }
    HelperSession session;
    session.channel.socket = connect_to_dll(port);
    if (session.channel.socket == no_socket) {
        return 1;
    }
    Writer hello(Kind::hello);
    hello.text(token);
    if (!session.channel.send(hello)) {
        return 1;
    }
    // libmpv wants the C numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    session.mpv = mpv_create();
    if (!reply(session, session.mpv != nullptr ? 0 : MPV_ERROR_NOMEM) || session.mpv == nullptr) {
        return 1;
    }
    start_event_forwarding(session);
    serve(session);
    if (session.mpv != nullptr) {
        shut_down_player(session);
    }
    shut_down(session.channel.socket);
    close_socket(session.channel.socket);
    return 0;
}
