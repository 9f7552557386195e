#include "protocol.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace bridge {

Writer::Writer(Kind kind) {
    buffer_.resize(4);
    buffer_.push_back(static_cast<std::uint8_t>(kind));
}

Writer& Writer::u8(std::uint8_t value) {
    buffer_.push_back(value);
    return *this;
}

Writer& Writer::u32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        buffer_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    return *this;
}

Writer& Writer::u64(std::uint64_t value) {
    for (int shift = 0; shift < 64; shift += 8) {
        buffer_.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    return *this;
}

Writer& Writer::f64(double value) {
    return u64(std::bit_cast<std::uint64_t>(value));
}

Writer& Writer::text(std::string_view value) {
    u32(static_cast<std::uint32_t>(value.size()));
    return bytes(value.data(), value.size());
}

Writer& Writer::texts(const std::vector<std::string>& values) {
    u32(static_cast<std::uint32_t>(values.size()));
    for (const std::string& value : values) {
        text(value);
    }
    return *this;
}

Writer& Writer::value(const Value& value) {
    u8(static_cast<std::uint8_t>(value.format));
    switch (value.format) {
    case Format::string:
    case Format::osd_string:
        return text(value.text);
    case Format::flag:
    case Format::int64:
        return i64(value.integer);
    case Format::double_:
        return f64(value.number);
    case Format::none:
        break;
    }
    return *this;
}

Writer& Writer::event(const Event& event) {
    u32(event.id).i32(event.error).u64(event.reply_userdata).text(event.name).value(event.value);
    i32(event.end_reason).i32(event.end_error).i64(event.playlist_entry_id);
    return texts(event.texts).i32(event.log_level);
}

Writer& Writer::bytes(const void* data, std::size_t size) {
    const auto* first = static_cast<const std::uint8_t*>(data);
    buffer_.insert(buffer_.end(), first, first + size);
    return *this;
}

const std::vector<std::uint8_t>& Writer::frame() {
    const auto length = static_cast<std::uint32_t>(buffer_.size() - 4);
    for (int index = 0; index < 4; ++index) {
        buffer_[index] = static_cast<std::uint8_t>(length >> (8 * index));
    }
    return buffer_;
}

Reader::Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {
    kind_ = static_cast<Kind>(u8());
}

bool Reader::take(std::size_t size) {
    if (failed_ || size > remaining()) {
        failed_ = true;
        return false;
    }
    return true;
}

std::uint8_t Reader::u8() {
    if (!take(1)) {
        return 0;
    }
    return data_[position_++];
}

std::uint32_t Reader::u32() {
    if (!take(4)) {
        return 0;
    }
    std::uint32_t value = 0;
    for (int index = 0; index < 4; ++index) {
        value |= static_cast<std::uint32_t>(data_[position_++]) << (8 * index);
    }
    return value;
}

std::uint64_t Reader::u64() {
    if (!take(8)) {
        return 0;
    }
    std::uint64_t value = 0;
    for (int index = 0; index < 8; ++index) {
        value |= static_cast<std::uint64_t>(data_[position_++]) << (8 * index);
    }
    return value;
}

double Reader::f64() {
    return std::bit_cast<double>(u64());
}

std::string Reader::text() {
    const std::uint32_t size = u32();
    const std::uint8_t* first = bytes(size);
    if (first == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(first), size);
}

std::vector<std::string> Reader::texts() {
    const std::uint32_t count = u32();
    std::vector<std::string> values;
    // Each text takes at least its 4-byte length, which bounds a forged count.
    if (count > remaining() / 4) {
        failed_ = true;
        return values;
    }
    for (std::uint32_t index = 0; index < count && !failed_; ++index) {
        values.push_back(text());
    }
    return values;
}

Value Reader::value() {
    Value value;
    const std::uint8_t format = u8();
    switch (format) {
    case 1:
    case 2:
        value.format = static_cast<Format>(format);
        value.text = text();
        break;
    case 3:
    case 4:
        value.format = static_cast<Format>(format);
        value.integer = i64();
        break;
    case 5:
        value.format = Format::double_;
        value.number = f64();
        break;
    case 0:
        break;
    default:
        failed_ = true;
        break;
    }
    return value;
}

Event Reader::event() {
    Event event;
    event.id = u32();
    event.error = i32();
    event.reply_userdata = u64();
    event.name = text();
    event.value = value();
    event.end_reason = i32();
    event.end_error = i32();
    event.playlist_entry_id = i64();
    event.texts = texts();
    event.log_level = i32();
    return event;
}

const std::uint8_t* Reader::bytes(std::size_t size) {
    if (!take(size)) {
        return nullptr;
    }
    const std::uint8_t* first = data_ + position_;
    position_ += size;
    return first;
}

std::optional<std::uint32_t> frame_length(const std::uint8_t* header, std::uint32_t limit) {
    std::uint32_t length = 0;
    for (int index = 0; index < 4; ++index) {
        length |= static_cast<std::uint32_t>(header[index]) << (8 * index);
    }
    if (length == 0 || length > limit) {
        return std::nullopt;
    }
    return length;
}

PictureSize sendable_picture_size(int width, int height) {
    // A frame's body: kind, width, height, then 4 bytes a pixel.
    constexpr std::uint64_t most_pixels = (max_message_size - 9) / 4;
    if (width <= 0 || height <= 0) {
        return {0, 0};
    }
    const std::uint64_t pixels =
        std::uint64_t{static_cast<std::uint32_t>(width)} * static_cast<std::uint32_t>(height);
    if (pixels <= most_pixels) {
        return {width, height};
    }
    const double scale = std::sqrt(static_cast<double>(most_pixels) / static_cast<double>(pixels));
    // Rounding, or a picture one pixel wide, must not take it back over the limit.
    const std::uint64_t scaled_width =
        std::min(static_cast<std::uint64_t>(std::max(1.0, width * scale)), most_pixels);
    const std::uint64_t scaled_height = std::min(
        static_cast<std::uint64_t>(std::max(1.0, height * scale)), most_pixels / scaled_width);
    return {static_cast<int>(scaled_width), static_cast<int>(scaled_height)};
}

} // namespace bridge
