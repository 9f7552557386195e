#include "settings/settings.hpp"

#include "platform/files.hpp"
#include "platform/numbers.hpp"
#include "platform/text.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ondrel {
namespace {

constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

bool parse_flag(std::string_view value) {
    return value == "1";
}

void apply_volume(Settings& settings, std::string_view value) {
    const std::optional<double> parsed = parse_double(value);
    // "nan" parses as a number but is no volume; it keeps the previous value like any
    // other unreadable text.
    if (!parsed || std::isnan(*parsed)) {
        return;
    }
    settings.volume = std::clamp(*parsed, 0.0, 100.0);
}

void apply_window(Settings& settings, std::string_view value) {
    std::vector<std::int32_t> numbers;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        const std::string_view piece = value.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (const auto n = parse_int32(trim_unicode_space(piece))) {
            numbers.push_back(*n);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (numbers.size() == 4 && numbers[0] < numbers[2] && numbers[1] < numbers[3]) {
        settings.window = WindowRect{numbers[0], numbers[1], numbers[2], numbers[3]};
    }
}

void apply_line(Settings& settings, std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    const std::string_view key = trim_unicode_space(line.substr(0, equals));
    const std::string_view value = trim_unicode_space(line.substr(equals + 1));
    if (key == "volume") {
        apply_volume(settings, value);
    } else if (key == "mute") {
        settings.mute = parse_flag(value);
    } else if (key == "multi_instance") {
        settings.multi_instance = parse_flag(value);
    } else if (key == "wheel_invert") {
        settings.wheel_invert = parse_flag(value);
    } else if (key == "hide_about") {
        settings.hide_about = parse_flag(value);
    } else if (key == "always_on_top") {
        settings.always_on_top = parse_flag(value);
    } else if (key == "maximized") {
        settings.maximized = parse_flag(value);
    } else if (key == "compress") {
        settings.compress = value;
    } else if (key == "mpv_options") {
        settings.mpv_options = value;
    } else if (key == "language") {
        settings.language = value;
    } else if (key == "window") {
        apply_window(settings, value);
    }
}

// A value with a line break would turn into a second line, and the part after it into a
// key of its own.
std::string single_line(std::string_view value) {
    std::string out(value);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return out;
}

const char* flag_text(bool on) {
    return on ? "1" : "0";
}

} // namespace

std::filesystem::path program_data_folder() {
    std::optional<std::string> app_data = environment_variable("APPDATA");
    // An empty APPDATA would put the file in whatever the current folder happens to be.
    const std::filesystem::path base =
        app_data && !app_data->empty() ? path_from_utf8(*app_data) : temporary_folder();
    return base / "Ondrel";
}

std::filesystem::path settings_path() {
    return program_data_folder() / "settings.ini";
}

Settings parse_settings(std::string_view text) {
    Settings settings;
    // Notepad on older Windows saves UTF-8 with a byte-order mark; it is not part of a key.
    if (text.starts_with(byte_order_mark)) {
        text.remove_prefix(byte_order_mark.size());
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t newline = text.find('\n', start);
        std::string_view line = text.substr(
            start, newline == std::string_view::npos ? std::string_view::npos : newline - start);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        apply_line(settings, line);
        if (newline == std::string_view::npos) {
            break;
        }
        start = newline + 1;
    }
    return settings;
}

std::string format_settings(const Settings& s) {
    std::string text;
    text += "volume=" + std::to_string(round_half_away_saturated(s.volume)) + "\n";
    text += std::string("mute=") + flag_text(s.mute) + "\n";
    text += std::string("multi_instance=") + flag_text(s.multi_instance) + "\n";
    text += std::string("wheel_invert=") + flag_text(s.wheel_invert) + "\n";
    text += std::string("hide_about=") + flag_text(s.hide_about) + "\n";
    text += std::string("always_on_top=") + flag_text(s.always_on_top) + "\n";
    text += std::string("maximized=") + flag_text(s.maximized) + "\n";
    text += "compress=" + single_line(s.compress) + "\n";
    text += "mpv_options=" + single_line(s.mpv_options) + "\n";
    text += "language=" + single_line(s.language) + "\n";
    if (s.window) {
        text += "window=" + std::to_string(s.window->left) + "," + std::to_string(s.window->top) +
                "," + std::to_string(s.window->right) + "," + std::to_string(s.window->bottom) +
                "\n";
    }
    return text;
}

Settings load_settings_from(const std::filesystem::path& file) {
    const std::optional<std::string> bytes = read_file_bytes(file);
    if (!bytes || !is_valid_utf8(*bytes)) {
        return Settings{};
    }
    return parse_settings(*bytes);
}

Settings load_settings() {
    return load_settings_from(settings_path());
}

Status save_settings_to(const Settings& settings, const std::filesystem::path& file) {
    create_folders_quietly(file.parent_path());
    return replace_file_contents(file, format_settings(settings));
}

Status save_settings(const Settings& settings) {
    return save_settings_to(settings, settings_path());
}

} // namespace ondrel
