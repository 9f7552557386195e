// settings.ini as any file on disk might hold it.
#include "settings/settings.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ondrel::Settings first = ondrel::parse_settings(text);
    if (first.volume < 0 || first.volume > 100 || first.volume != first.volume) {
        std::abort();
    }
    if (first.window &&
        (first.window->left >= first.window->right || first.window->top >= first.window->bottom)) {
        std::abort();
    }
    // What is written reads back as the same file.
    const std::string written = ondrel::format_settings(first);
    if (ondrel::format_settings(ondrel::parse_settings(written)) != written) {
        std::abort();
    }
    return 0;
}
