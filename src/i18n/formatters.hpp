// Formatters whose output depends on the interface language.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ondrel {

// Puts the values into the template's "{...}" placeholders, in order. A placeholder with no
// value left is kept as it stands.
std::string fill(std::string_view text, std::initializer_list<std::string_view> values);

// Display name of a track's language code ("fre" -> French / Français).
std::string language_name(std::string_view code);

// What a track's label shows of it.
struct TrackLabelParts {
    std::string_view title;
    std::string_view lang;
    std::string_view codec;
    std::int64_t id = 0;
    std::int64_t channel_count = 0;
    bool external = false;
    bool is_default = false;
};

// One line describing a track: "French — Commentaires (aac, stereo) [default]".
std::string track_label(const TrackLabelParts& track);

// Decimal units: 999 B, 1.5 MB / 1,5 Mo.
std::string format_size(std::uint64_t bytes);

// 7 s, 2 min 05 s, 3 min, 1 h 02 min; "?" for a value that is no duration.
std::string format_duration(double seconds);

} // namespace ondrel
