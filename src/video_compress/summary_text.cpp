#include "video_compress/summary_text.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "platform/numbers.hpp"
#include "platform/text.hpp"

namespace ondrel {
namespace {

constexpr std::string_view separator = "   |   ";

// Decodes one well-formed UTF-8 sequence at `at`; the caller only passes valid text.
char32_t decode_at(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t value = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    at += length;
    return value;
}

char32_t upper_letter(char32_t c) {
    if (c >= U'a' && c <= U'z') {
        return c - 0x20;
    }
    if (c == 0xB5) {
        return 0x39C; // micro sign
    }
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    if (c == 0xFF) {
        return 0x178;
    }
    // Latin Extended-A: pairs of capital and small letter, with two runs where the small
    // letter comes first.
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x131) {
            return U'I';
        }
        if (c == 0x17F) {
            return U'S'; // long s
        }
        const bool small_is_odd = (c < 0x138) || (c >= 0x14A && c < 0x178);
        if (c == 0x138 || c == 0x149) {
            return c; // no capital
        }
        if (small_is_odd) {
            return (c % 2 == 1) ? c - 1 : c;
        }
        return (c % 2 == 0 && c != 0x178) ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) {
        return c - 0x20; // Greek
    }
    if (c == 0x3C2) {
        return 0x3A3; // final sigma
    }
    if (c >= 0x430 && c <= 0x44F) {
        return c - 0x20; // Cyrillic
    }
    if (c >= 0x450 && c <= 0x45F) {
        return c - 0x50;
    }
    return c;
}

} // namespace

std::string upper_case(std::string_view utf8) {
    const std::string text = repair_utf8(utf8);
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const char32_t c = decode_at(text, at);
        if (c == 0xDF) {
            out += "SS";
        } else {
            append_utf8(out, upper_letter(c));
        }
    }
    return out;
}

std::string info_line(const MediaInfo& info) {
    std::string line = std::to_string(info.width) + "x" + std::to_string(info.height);
    line += separator;
    line += upper_case(info.video_codec);
    line += separator;
    line += format_fixed(info.fps, 2) + " fps";
    line += separator;
    line += format_duration(info.duration);
    line += separator;
    line += format_size(info.size);
    if (info.bit_rate != 0) {
        line += separator;
        line += format_fixed(static_cast<double>(info.bit_rate) / 1000000.0, 1) + " Mb/s";
    }
    return line;
}

std::string audio_tracks_line(const MediaInfo& info) {
    if (info.audio_streams.empty()) {
        return {};
    }
    std::string list;
    for (const AudioStream& stream : info.audio_streams) {
        if (!list.empty()) {
            list += "  ·  ";
        }
        if (!stream.language.empty()) {
            list += stream.language + " ";
        }
        list += stream.codec + " " + std::to_string(stream.channels) + "ch";
    }
    return fill(tr(texts::audio_tracks_line), {list});
}

std::string encoder_line(std::string_view encoder, std::optional<std::uint64_t> estimate) {
    std::string line = fill(tr(texts::encoder_line), {encoder});
    if (estimate) {
        line += fill(tr(texts::estimated_size_suffix), {format_size(*estimate)});
    }
    return line;
}

} // namespace ondrel
