// UTF-8 <-> UTF-16 in the wchar_t form Win32 takes (wchar_t is 16 bits on Windows).
#pragma once

#include "platform/text.hpp"

#include <string>
#include <string_view>

namespace ondrel {

inline std::wstring widen(std::string_view utf8) {
    const std::u16string units = utf8_to_utf16(utf8);
    return std::wstring(units.begin(), units.end());
}

inline std::string narrow(std::wstring_view utf16) {
    return utf16_to_utf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()));
}

} // namespace ondrel
