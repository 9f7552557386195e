// The user's preferences, kept in settings.ini as key=value lines.
#pragma once

#include "platform/result.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

// The main window's normal (restored) rectangle, in screen pixels.
struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

struct Settings {
    double volume = 80;
    bool mute = false;
    bool multi_instance = false;
    bool wheel_invert = false;
    bool hide_about = false;
    bool always_on_top = false;
    bool maximized = false;
    std::string compress;    // the compression window's choices, stored as they are
    std::string mpv_options; // extra libmpv options, edited by hand in the file
    std::string language;    // "en" or "fr" once the user has chosen
    std::optional<WindowRect> window;
};

// The program's folder for its own files: %APPDATA%\Ondrel, or the temporary folder's
// Ondrel when APPDATA is not set. The watch-later folder lives in it too.
std::filesystem::path program_data_folder();
std::filesystem::path settings_path();

// Reads the settings text; anything that is not understood leaves the default in place.
Settings parse_settings(std::string_view text);

// The file's exact text: the ten fixed lines in order, and the window line when known.
std::string format_settings(const Settings& settings);

// Never fails: a missing, unreadable or non-UTF-8 file gives the defaults.
Settings load_settings();
Settings load_settings_from(const std::filesystem::path& file);

// On failure the old file stays as it was, and the reason is returned. The user is not told:
// each caller says why it may go on without the file.
Status save_settings(const Settings& settings);
Status save_settings_to(const Settings& settings, const std::filesystem::path& file);

} // namespace ondrel
