// The program's command line: Windows splitting rules and the one file argument it uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

// Splits a command line as Windows programs do: the program path ends at the first blank
// outside double quotes (no escapes in it); in later arguments double quotes group blanks,
// 2n backslashes before a quote give n backslashes and a quote that toggles quoting, 2n+1
// give n backslashes and a literal quote, and "" inside a quoted part gives one quote.
std::vector<std::u16string> split_command_line(std::u16string_view line);

// A text containing "://" anywhere is a URL and is used as it stands.
bool is_url(std::string_view text);

// The argument after the program path as UTF-8 (invalid UTF-16 replaced by U+FFFD), or
// nothing; further arguments are ignored.
std::optional<std::string> first_argument(const std::vector<std::u16string>& arguments);

} // namespace ondrel
