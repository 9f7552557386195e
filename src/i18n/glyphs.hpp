// Every icon the interface draws, as its code point in the icon font "Segoe MDL2 Assets": the
// control bar, the help overlay and the About window take their glyphs from this one table.
// (The development set-up reads it too, to build the stand-in font it installs under Wine.)
#pragma once

namespace ondrel::glyph {

inline constexpr char16_t open_file = 0xE8E5;
inline constexpr char16_t play = 0xE768;
inline constexpr char16_t pause = 0xE769;
inline constexpr char16_t back_10 = 0xEB9E;
inline constexpr char16_t forward_30 = 0xEB9D;
inline constexpr char16_t muted = 0xE74F;
inline constexpr char16_t volume_0 = 0xE992;
inline constexpr char16_t volume_1 = 0xE993;
inline constexpr char16_t volume_2 = 0xE994;
inline constexpr char16_t volume_3 = 0xE995;
inline constexpr char16_t audio = 0xE8D6;
inline constexpr char16_t subtitles = 0xE7F0;
inline constexpr char16_t pin = 0xE718;
inline constexpr char16_t full_screen = 0xE740;
inline constexpr char16_t leave_full_screen = 0xE73F;
inline constexpr char16_t help = 0xE897;
inline constexpr char16_t info = 0xE946;
inline constexpr char16_t close = 0xE8BB;
inline constexpr char16_t check_mark = 0xE73E;

} // namespace ondrel::glyph
