#include "platform/files.hpp"

#include <string>

namespace ondrel {

std::filesystem::path path_from_utf8(std::string_view utf8) {
    // char8_t input makes std::filesystem convert from UTF-8 on every platform, whatever the
    // process code page is.
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string path_to_utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

void create_folders_quietly(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}

} // namespace ondrel
