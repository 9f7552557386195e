// The message a second launch sends to the running window: the file text in UTF-16 with a
// closing NUL, marked with the 'ODL1' tag.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

inline constexpr unsigned long handoff_tag = 0x4F444C31; // 'O' 'D' 'L' '1'

// UTF-16 units of the text followed by one NUL unit.
std::u16string build_handoff_payload(std::string_view file_text);

// Longest text accepted: far beyond any path (32 767 units) and any sensible URL.
inline constexpr std::size_t handoff_max_units = 1 << 20;

// Reads a received payload without trusting it: never beyond `byte_count`, at most
// byte_count / 2 units, up to the first NUL unit (or the end when there is none); a null
// pointer reads as empty. The text is copied, so the sender's memory is not used afterwards.
// Nothing when the text runs past handoff_max_units: a cut path would open the wrong file.
std::optional<std::string> read_handoff_payload(const void* data, std::size_t byte_count);

} // namespace ondrel
