// UTF-8 from anywhere: repair, validation and the UTF-16 round trip agree.
#include "platform/text.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string repaired = ondrel::repair_utf8(bytes);
    if (!ondrel::is_valid_utf8(repaired)) {
        std::abort();
    }
    if (ondrel::is_valid_utf8(bytes) != (repaired == bytes)) {
        std::abort();
    }
    if (ondrel::utf16_to_utf8(ondrel::utf8_to_utf16(bytes)) != repaired) {
        std::abort();
    }
    const std::string_view trimmed = ondrel::trim_unicode_space(bytes);
    if (trimmed.size() > bytes.size()) {
        std::abort();
    }
    return 0;
}
