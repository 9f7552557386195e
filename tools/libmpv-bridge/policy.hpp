// What the bridge changes on the way from a Windows program to the native libmpv: options
// that only make sense on Windows, and Windows paths inside options, properties and commands.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bridge {

// The options the DLL sets before any of the program's own, so that video goes to the
// bridge's renderer and sound to `audio_output` whatever the program asks for.
std::vector<std::pair<std::string, std::string>> bridge_options(std::string_view audio_output);

// The value to give the native libmpv for an option the program sets, or nothing when the
// bridge keeps it to itself (the window handle) or drops it (Windows-only graphics options).
std::optional<std::string> forwarded_option(std::string_view name, std::string_view value,
                                            std::string_view audio_output);

// A drive-letter or UNC path ("C:\v.mp4", "c:/v.mp4", "\\server\share\v.mp4").
bool is_windows_path(std::string_view text);

// Options and properties whose value is a file or folder path.
bool is_path_property(std::string_view name);

// The argument of a command that is a file path (1 for "loadfile"), or nothing.
std::optional<std::size_t> path_argument(const std::vector<std::string>& arguments);

using PathTranslator = std::function<std::optional<std::string>(std::string_view)>;

// The arguments with their path (when they have one that is a Windows path) translated; a
// path the translator cannot handle is left as it was, for libmpv to report.
std::vector<std::string> translate_command(std::vector<std::string> arguments,
                                           const PathTranslator& to_unix);

// A property value with a Windows path translated, for path properties only.
std::string translate_property_value(std::string_view name, std::string value,
                                     const PathTranslator& to_unix);

// Whether a string libmpv reports for this property is a Unix path to give back as a Windows
// path.
bool reports_path(std::string_view name, std::string_view value);

// The text libmpv's show-text would show for `text`, for drawing it without libmpv: "$$"
// is one "$", and "$>" shows the rest as it is. Properties (${...}) are not expanded.
std::string shown_text(std::string_view text);

} // namespace bridge
