// The WM_COPYDATA payload another process sends.
#include "main/handoff_payload.hpp"
#include "platform/text.hpp"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<std::string> text = ondrel::read_handoff_payload(data, size);
    if (!text || !ondrel::is_valid_utf8(*text) || text->find('\0') != std::string::npos) {
        std::abort();
    }
    return 0;
}
