// The conversation between the Windows libmpv-2.dll and the native helper that runs libmpv.
// Every message is a frame: a 32-bit little-endian length, then that many bytes, the first of
// which is the message kind. Values inside are little-endian integers, IEEE doubles by their
// bits (so every double comes back exactly, NaN payloads included) and length-prefixed UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bridge {

enum class Kind : std::uint8_t {
    // helper -> DLL, first: the token it was given, then a reply with mpv_create's outcome.
    hello = 1, // token
    // DLL -> helper. Each request but resize and frame_done gets exactly one reply, in order.
    set_option = 2,         // name, value
    initialize = 3,         //
    command = 4,            // arguments
    command_async = 5,      // reply id, arguments
    command_string = 6,     // text
    set_property_async = 7, // reply id, name, value
    get_property = 8,       // name, format
    observe_property = 9,   // reply id, name, format
    terminate = 10,         //
    resize = 11,            // width, height (no reply)
    frame_done = 12,        // (no reply) the last frame is on screen; the next may come
    // helper -> DLL
    reply = 40, // result code, value (get_property only)
    event = 41, // one libmpv event
    frame = 42, // width, height, then width * height * 4 bytes (B, G, R, unused)
};

// The formats that cross the connection; any other is refused before it is sent.
enum class Format : std::uint8_t {
    none = 0,
    string = 1,
    osd_string = 2,
    flag = 3,
    int64 = 4,
    double_ = 5,
};

struct Value {
    Format format = Format::none;
    std::string text;         // string and osd_string
    std::int64_t integer = 0; // flag (0 or 1 as given) and int64
    double number = 0;        // double_
};

// What the DLL needs of a libmpv event to rebuild it on its side.
struct Event {
    std::uint32_t id = 0;
    std::int32_t error = 0;
    std::uint64_t reply_userdata = 0;
    std::string name;            // property events: the property; log messages: the prefix
    Value value;                 // property events
    std::int32_t end_reason = 0; // END_FILE
    std::int32_t end_error = 0;
    std::int64_t playlist_entry_id = 0; // START_FILE, END_FILE
    std::vector<std::string> texts;     // log messages: level, text; client messages: arguments
    std::int32_t log_level = 0;
};

class Writer {
public:
    explicit Writer(Kind kind);
    Writer& u8(std::uint8_t value);
    Writer& u32(std::uint32_t value);
    Writer& i32(std::int32_t value) { return u32(static_cast<std::uint32_t>(value)); }
    Writer& u64(std::uint64_t value);
    Writer& i64(std::int64_t value) { return u64(static_cast<std::uint64_t>(value)); }
    Writer& f64(double value);
    Writer& text(std::string_view value);
    Writer& texts(const std::vector<std::string>& values);
    Writer& value(const Value& value);
    Writer& event(const Event& event);
    Writer& bytes(const void* data, std::size_t size);
    // The whole frame, length prefix included.
    const std::vector<std::uint8_t>& frame();

private:
    std::vector<std::uint8_t> buffer_;
};

// Reads one message body (kind byte included). A read past the end, or a text or list longer
// than what is left, makes the reader fail; every later read then gives zeros.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size);
    Kind kind() const { return kind_; }
    bool failed() const { return failed_; }
    std::size_t remaining() const { return size_ - position_; }
    std::uint8_t u8();
    std::uint32_t u32();
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::uint64_t u64();
    std::int64_t i64() { return static_cast<std::int64_t>(u64()); }
    double f64();
    std::string text();
    std::vector<std::string> texts();
    Value value();
    Event event();
    // Points at `size` bytes inside the message, or null when fewer are left.
    const std::uint8_t* bytes(std::size_t size);

private:
    bool take(std::size_t size);
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
    Kind kind_{};
    bool failed_ = false;
};

// Frames larger than this are refused: a 4K picture is about 33 MB.
inline constexpr std::uint32_t max_message_size = 64u * 1024u * 1024u;
// The hello and the reply to it are a few dozen bytes; a connection that announces more
// before it has shown the token is not the helper.
inline constexpr std::uint32_t max_handshake_size = 256;

// The length of the frame at the start of `header` (4 bytes), or nothing when it is empty or
// longer than `limit`.
std::optional<std::uint32_t> frame_length(const std::uint8_t* header,
                                          std::uint32_t limit = max_message_size);

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The size to render a picture asked for at width x height: the same, or when its frame
// would not fit in a message, the largest of about the same shape that does (the DLL
// stretches it to the window).
PictureSize sendable_picture_size(int width, int height);

} // namespace bridge
