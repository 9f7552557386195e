#include "platform/files.hpp"

#include "platform/text.hpp"

#include <string>

namespace ondrel {

// Windows paths are UTF-16, and the conversions there are ours: the standard library's throw on
// invalid UTF-8 and on unpaired surrogates, which names from the file system or a hand-edited
// settings file can hold. Ours replace them with U+FFFD. Elsewhere paths are bytes and go to
// the file system as they are.
std::filesystem::path path_from_utf8(std::string_view utf8) {
#ifdef _WIN32
    const std::u16string units = utf8_to_utf16(utf8);
    return std::filesystem::path(std::wstring(units.begin(), units.end()));
#else
    return std::filesystem::path(std::string(utf8));
#endif
}

std::string path_to_utf8(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& native = path.native();
    return utf16_to_utf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(native.data()), native.size()));
#else
    return path.native();
#endif
}

void create_folders_quietly(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}

} // namespace ondrel
