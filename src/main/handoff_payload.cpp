#include "main/handoff_payload.hpp"

#include "platform/text.hpp"

#include <cstring>

namespace ondrel {

std::u16string build_handoff_payload(std::string_view file_text) {
    std::u16string units = utf8_to_utf16(file_text);
    units.push_back(u'\0');
    return units;
}

std::optional<std::string> read_handoff_payload(const void* data, std::size_t byte_count) {
    if (data == nullptr) {
        return std::string();
    }
    const std::size_t limit = byte_count / 2;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::u16string units;
    for (std::size_t i = 0; i < limit; ++i) {
        // Byte by byte: the sender's buffer need not be aligned for char16_t.
        char16_t unit = 0;
        std::memcpy(&unit, bytes + 2 * i, sizeof unit);
        if (unit == u'\0') {
            break;
        }
        if (units.size() == handoff_max_units) {
            return std::nullopt;
        }
        units.push_back(unit);
    }
    return utf16_to_utf8(units);
}

} // namespace ondrel
