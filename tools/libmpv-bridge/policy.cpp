#include "policy.hpp"

#include <algorithm>
#include <array>

namespace bridge {
namespace {

bool is_any_of(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool is_ascii_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::vector<std::pair<std::string, std::string>> bridge_options(std::string_view audio_output) {
    return {{"vo", "libmpv"},
            {"ao", std::string(audio_output)},
            {"hwdec", "no"},
            {"video-rotate", "no"}};
}

std::optional<std::string> forwarded_option(std::string_view name, std::string_view value,
                                            std::string_view audio_output) {
    if (name == "wid") {
        return std::nullopt;
    }
    // The picture always goes through the software renderer, drawn by the DLL.
    if (name == "vo") {
        return std::string("libmpv");
    }
    if (name == "ao") {
        return std::string(audio_output);
    }
    // Hardware decoding cannot hand its frames to the software renderer.
    if (name == "hwdec") {
        return std::string("no");
    }
    // The software renderer cannot turn a picture; the helper turns the frames itself.
    if (name == "video-rotate") {
        return std::string("no");
    }
    if (name.starts_with("gpu-") || name.starts_with("d3d11") || name.starts_with("vulkan-") ||
        name.starts_with("opengl-")) {
        return std::nullopt;
    }
    return std::string(value);
}

bool is_windows_path(std::string_view text) {
    if (text.size() >= 3 && is_ascii_letter(text[0]) && text[1] == ':' &&
        (text[2] == '\\' || text[2] == '/')) {
        return true;
    }
    return text.starts_with("\\\\");
}

bool is_path_property(std::string_view name) {
    return is_any_of(name, {"watch-later-directory", "watch-later-dir", "sub-file", "sub-files",
                            "audio-file", "audio-files", "external-file", "external-files",
                            "log-file", "screenshot-directory", "input-conf", "include"});
}

std::optional<std::size_t> path_argument(const std::vector<std::string>& arguments) {
    if (arguments.size() < 2) {
        return std::nullopt;
    }
    if (is_any_of(arguments[0], {"loadfile", "loadlist", "sub-add", "audio-add", "video-add",
                                 "screenshot-to-file"})) {
        return 1;
    }
    return std::nullopt;
}

std::vector<std::string> translate_command(std::vector<std::string> arguments,
                                           const PathTranslator& to_unix) {
    const std::optional<std::size_t> index = path_argument(arguments);
    if (index && is_windows_path(arguments[*index])) {
        if (std::optional<std::string> unix_path = to_unix(arguments[*index])) {
            arguments[*index] = std::move(*unix_path);
        }
    }
    return arguments;
}

std::string translate_property_value(std::string_view name, std::string value,
                                     const PathTranslator& to_unix) {
    if (is_path_property(name) && is_windows_path(value)) {
        if (std::optional<std::string> unix_path = to_unix(value)) {
            return std::move(*unix_path);
        }
    }
    return value;
}

bool reports_path(std::string_view name, std::string_view value) {
    if (!value.starts_with("/")) {
        return false;
    }
    return is_path_property(name) ||
           is_any_of(name, {"path", "stream-path", "stream-open-filename", "working-directory"}) ||
           name.ends_with("/external-filename") || name.ends_with("/filename");
}

std::string shown_text(std::string_view text) {
    std::string shown;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] == '$' && index + 1 < text.size()) {
            if (text[index + 1] == '>') {
                return shown.append(text.substr(index + 2));
            }
            if (text[index + 1] == '$') {
                ++index;
            }
        }
        shown.push_back(text[index]);
    }
    return shown;
}

} // namespace bridge
