// The open dialog's file-type list and the path it hands back, without the dialog itself.
#pragma once

#include <string>
#include <string_view>

namespace ondrel {

inline constexpr std::string_view video_file_pattern =
    "*.mp4;*.m4v;*.mkv;*.webm;*.avi;*.mov;*.wmv;*.flv;*.mpg;*.mpeg;*.ts;*.m2ts;*.mts;*.3gp;"
    "*.ogv;*.vob;*.divx;*.f4v;*.asf;*.rm;*.rmvb";
inline constexpr std::string_view subtitle_file_pattern =
    "*.srt;*.ass;*.ssa;*.vtt;*.sub;*.idx;*.sup;*.smi;*.txt";

// The filter as the dialog reads it: label, pattern, "All files" in the current language and
// "*.*", each ending in NUL, then one more NUL that ends the list.
std::u16string open_dialog_filter(std::string_view label, std::string_view pattern);

// The chosen path: the buffer's text up to its first NUL, as UTF-8 (invalid UTF-16 replaced).
std::string path_from_dialog_buffer(std::u16string_view buffer);

} // namespace ondrel
