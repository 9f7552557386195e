// Texts of the localization subsystem: track labels, sizes, the language switch.
#pragma once

#include "i18n/language.hpp"

namespace ondrel::texts {

inline constexpr TextPair track_number{"Track {id}", "Piste {id}"};
inline constexpr TextPair stereo{"stereo", "stéréo"};
inline constexpr TextPair channel_count{"{count} channels", "{count} canaux"};
inline constexpr TextPair external_suffix{" [external]", " [externe]"};
inline constexpr TextPair default_suffix{" [default]", " [défaut]"};

inline constexpr TextPair size_bytes{"{n} B", "{n} o"};
inline constexpr TextPair size_kilobytes{"{x} KB", "{x} Ko"};
inline constexpr TextPair size_megabytes{"{x} MB", "{x} Mo"};
inline constexpr TextPair size_gigabytes{"{x} GB", "{x} Go"};

// Shown on the video for 1500 ms after the user switches the language.
inline constexpr TextPair language_switched{"Language: English", "Langue : français"};

// Same in both languages.
inline constexpr std::string_view language_submenu = "Langue / Language";
inline constexpr std::string_view language_item_french = "Français";
inline constexpr std::string_view language_item_english = "English";

} // namespace ondrel::texts
