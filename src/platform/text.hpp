// UTF-8 / UTF-16 conversion and validation. Texts are UTF-8 inside the program; these
// helpers are the only place where they change form.
#pragma once

#include <string>
#include <string_view>

namespace ondrel {

inline constexpr char32_t replacement_character = 0xFFFD;

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF).
bool is_valid_utf8(std::string_view bytes);

// The bytes decoded as UTF-8, each maximal invalid subpart replaced by U+FFFD.
std::string repair_utf8(std::string_view bytes);

// UTF-8 to UTF-16; invalid sequences become U+FFFD. The result's c_str() is the
// NUL-terminated form Win32 wants (embedded NULs are kept).
std::u16string utf8_to_utf16(std::string_view utf8);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string utf16_to_utf8(std::u16string_view utf16);

// A copy for libmpv: embedded NUL bytes removed, so the C string says the whole text.
std::string text_for_mpv(std::string_view utf8);

// Appends the UTF-8 form of one code point (U+FFFD for surrogates and values out of range).
void append_utf8(std::string& out, char32_t code_point);

// Unicode White_Space property.
bool is_unicode_space(char32_t code_point);

// The text without leading and trailing Unicode white space (invalid bytes are kept).
std::string_view trim_unicode_space(std::string_view utf8);

// ASCII A-Z to a-z; every other byte unchanged.
std::string ascii_lower(std::string_view text);

} // namespace ondrel
