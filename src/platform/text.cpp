#include "platform/text.hpp"

#include <cstdint>

namespace ondrel {
namespace {

struct Decoded {
    char32_t code_point;
    std::size_t length; // bytes consumed; an invalid subpart has code_point U+FFFD
    bool valid;
};

// Decodes one sequence at bytes[at]. Invalid input consumes its maximal subpart, as the
// Unicode standard recommends, so one bad byte yields one U+FFFD.
Decoded decode_one(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    std::size_t needed = 0;
    char32_t value = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        needed = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        needed = 2;
        value = lead & 0x0F;
        if (lead == 0xE0) {
            low = 0xA0;
        } else if (lead == 0xED) {
            high = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        needed = 3;
        value = lead & 0x07;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return {replacement_character, 1, false};
    }
    std::size_t consumed = 1;
    for (std::size_t i = 0; i < needed; ++i) {
        const std::size_t pos = at + consumed;
        if (pos >= bytes.size()) {
            return {replacement_character, consumed, false};
        }
        const unsigned char next = byte(pos);
        const unsigned char lo = i == 0 ? low : 0x80;
        const unsigned char hi = i == 0 ? high : 0xBF;
        if (next < lo || next > hi) {
            return {replacement_character, consumed, false};
        }
        value = (value << 6) | (next & 0x3F);
        ++consumed;
    }
    return {value, consumed, true};
}

} // namespace

bool is_valid_utf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const Decoded d = decode_one(bytes, at);
        if (!d.valid) {
            return false;
        }
        at += d.length;
    }
    return true;
}

void append_utf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = replacement_character;
    }
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string repair_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const Decoded d = decode_one(bytes, at);
        if (d.valid) {
            out.append(bytes.substr(at, d.length));
        } else {
            append_utf8(out, replacement_character);
        }
        at += d.length;
    }
    return out;
}

std::u16string utf8_to_utf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const Decoded d = decode_one(utf8, at);
        at += d.length;
        if (d.code_point >= 0x10000) {
            const char32_t v = d.code_point - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(d.code_point));
        }
    }
    return out;
}

std::string utf16_to_utf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            const char32_t cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                (static_cast<char32_t>(utf16[i + 1]) - 0xDC00);
            append_utf8(out, cp);
            ++i;
        } else {
            append_utf8(out, unit); // a lone surrogate becomes U+FFFD there
        }
    }
    return out;
}

std::string text_for_mpv(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        if (c != '\0') {
            out.push_back(c);
        }
    }
    return out;
}

bool is_unicode_space(char32_t cp) {
    switch (cp) {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x20:
    case 0x85:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return cp >= 0x2000 && cp <= 0x200A;
    }
}

std::string_view trim_unicode_space(std::string_view utf8) {
    std::size_t begin = 0;
    while (begin < utf8.size()) {
        const Decoded d = decode_one(utf8, begin);
        if (!d.valid || !is_unicode_space(d.code_point)) {
            break;
        }
        begin += d.length;
    }
    // From the back: find where the last non-space sequence ends by scanning forward.
    std::size_t end = begin;
    for (std::size_t at = begin; at < utf8.size();) {
        const Decoded d = decode_one(utf8, at);
        at += d.length;
        if (!d.valid || !is_unicode_space(d.code_point)) {
            end = at;
        }
    }
    return utf8.substr(begin, end - begin);
}

std::string ascii_lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

} // namespace ondrel
