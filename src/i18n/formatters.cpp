#include "i18n/formatters.hpp"

#include "i18n/language.hpp"
#include "i18n/texts_localization.hpp"
#include "platform/numbers.hpp"
#include "platform/text.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace ondrel {
namespace {

struct LanguageNameRow {
    std::array<std::string_view, 3> codes;
    TextPair name;
};

constexpr std::array<LanguageNameRow, 13> language_names{{
    {{"fr", "fre", "fra"}, {"French", "Français"}},
    {{"en", "eng", ""}, {"English", "Anglais"}},
    {{"de", "ger", "deu"}, {"German", "Allemand"}},
    {{"es", "spa", ""}, {"Spanish", "Espagnol"}},
    {{"it", "ita", ""}, {"Italian", "Italien"}},
    {{"pt", "por", ""}, {"Portuguese", "Portugais"}},
    {{"nl", "dut", "nld"}, {"Dutch", "Néerlandais"}},
    {{"ru", "rus", ""}, {"Russian", "Russe"}},
    {{"ja", "jpn", ""}, {"Japanese", "Japonais"}},
    {{"zh", "chi", "zho"}, {"Chinese", "Chinois"}},
    {{"ko", "kor", ""}, {"Korean", "Coréen"}},
    {{"ar", "ara", ""}, {"Arabic", "Arabe"}},
    {{"und", "", ""}, {"", ""}},
}};

std::string channel_layout(std::int64_t count) {
    switch (count) {
    case 0:
        return "";
    case 1:
        return "mono";
    case 2:
        return std::string(tr(texts::stereo));
    case 6:
        return "5.1";
    case 8:
        return "7.1";
    default:
        return fill(tr(texts::channel_count), {std::to_string(count)});
    }
}

std::string with_decimal_comma(std::string text) {
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

} // namespace

std::string fill(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(text.size() + 32);
    const std::string_view* next = values.begin();
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('{', at);
        const std::size_t close =
            open == std::string_view::npos ? std::string_view::npos : text.find('}', open);
        if (close == std::string_view::npos || next == values.end()) {
            out.append(text.substr(at));
            break;
        }
        out.append(text.substr(at, open - at));
        out.append(*next++);
        at = close + 1;
    }
    return out;
}

std::string language_name(std::string_view code) {
    const std::string key = ascii_lower(code);
    if (key.size() == 2 || key.size() == 3) {
        for (const LanguageNameRow& row : language_names) {
            if (std::find(row.codes.begin(), row.codes.end(), key) != row.codes.end()) {
                return std::string(tr(row.name));
            }
        }
    }
    return key;
}

std::string track_label(const TrackLabelParts& track) {
    const std::string name = language_name(track.lang);
    std::string label;
    if (name.empty() && track.title.empty()) {
        label = fill(tr(texts::track_number), {std::to_string(track.id)});
    } else if (name.empty()) {
        label = track.title;
    } else if (track.title.empty() || track.title == name) {
        label = name;
    } else {
        label = name + " — ";
        label += track.title;
    }
    std::vector<std::string> details;
    if (!track.codec.empty()) {
        details.emplace_back(track.codec);
    }
    if (std::string layout = channel_layout(track.channel_count); !layout.empty()) {
        details.push_back(std::move(layout));
    }
    if (!details.empty()) {
        label += " (";
        for (std::size_t i = 0; i < details.size(); ++i) {
            label += (i == 0 ? "" : ", ") + details[i];
        }
        label += ")";
    }
    if (track.external) {
        label += tr(texts::external_suffix);
    }
    if (track.is_default) {
        label += tr(texts::default_suffix);
    }
    return label;
}

std::string format_size(std::uint64_t bytes) {
    std::string text;
    if (bytes < 1000) {
        text = fill(tr(texts::size_bytes), {std::to_string(bytes)});
    } else {
        const double value = static_cast<double>(bytes);
        if (bytes < 1000000) {
            text = fill(tr(texts::size_kilobytes), {format_fixed(value / 1e3, 1)});
        } else if (bytes < 1000000000) {
            text = fill(tr(texts::size_megabytes), {format_fixed(value / 1e6, 1)});
        } else {
            text = fill(tr(texts::size_gigabytes), {format_fixed(value / 1e9, 1)});
        }
    }
    return current_language() == Language::English ? text : with_decimal_comma(std::move(text));
}

std::string format_duration(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0) {
        return "?";
    }
    const std::int64_t s = round_half_away_saturated(seconds);
    const auto two_digits = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    if (s < 60) {
        return std::to_string(s) + " s";
    }
    if (s < 3600) {
        const std::int64_t minutes = s / 60;
        const std::int64_t rest = s % 60;
        return rest == 0 ? std::to_string(minutes) + " min"
                         : std::to_string(minutes) + " min " + two_digits(rest) + " s";
    }
    return std::to_string(s / 3600) + " h " + two_digits(s % 3600 / 60) + " min";
}

} // namespace ondrel
