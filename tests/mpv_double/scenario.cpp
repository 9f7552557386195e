#include "double_handle.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace mpv_double {
namespace {

using nlohmann::json;

TrackSpec read_track(const json& entry, const std::string& type, std::int64_t number) {
    TrackSpec track;
    track.type = type;
    track.id = entry.value("id", number);
    track.title = entry.value("title", "");
    track.lang = entry.value("lang", "");
    track.codec = entry.value("codec", type == "audio" ? "aac" : "subrip");
    track.channels = entry.value("channels", type == "audio" ? 2 : 0);
    track.is_default = entry.value("default", false);
    track.external = entry.value("external", false);
    track.type_unreadable = entry.value("type_unreadable", false);
    return track;
}

FileSpec read_file(const json& entry) {
    FileSpec file;
    file.duration = entry.value("duration", file.duration);
    file.start = entry.value("start", file.start);
    file.fail = entry.value("fail", file.fail);
    file.playing = entry.value("playing", file.playing);
    file.tick_ms = std::max(1, entry.value("tick_ms", file.tick_ms));
    for (const char* type : {"audio", "sub"}) {
        if (entry.contains(type)) {
            std::int64_t number = 0;
            for (const json& track : entry.at(type)) {
                file.tracks.push_back(read_track(track, type, ++number));
            }
        } else if (std::string(type) == "audio") {
            file.tracks.push_back(read_track(json::object(), type, 1));
        }
    }
    if (entry.contains("aid")) {
        file.aid = entry.at("aid").get<std::int64_t>();
    }
    file.sid = entry.value("sid", std::int64_t{0});
    return file;
}

std::filesystem::path utf8_path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string file_name_of(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

} // namespace

std::optional<std::string> environment_text(const char* name) {
#ifdef _WIN32
    // The tests set variables with SetEnvironmentVariableW, which getenv does not see.
    std::wstring wide_name(name, name + std::char_traits<char>::length(name));
    const DWORD size = ::GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(wide_name.c_str(), value.data(), size);
    value.resize(length);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, value.data(), static_cast<int>(length),
                                            nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, value.data(), static_cast<int>(length), text.data(), bytes,
                          nullptr, nullptr);
    return text;
#else
    const char* value = std::getenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
#endif
}

Scenario read_scenario() {
    Scenario scenario;
    const std::optional<std::string> file = environment_text("ONDREL_MPV_DOUBLE_SCENARIO");
    if (!file || file->empty()) {
        return scenario;
    }
    std::ifstream in(utf8_path(*file), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    try {
        const json document = json::parse(text.str());
        scenario.initialize_result = document.value("initialize_result", 0);
        if (document.contains("files")) {
            for (const auto& [name, entry] : document.at("files").items()) {
                scenario.files[name] = read_file(entry);
            }
        }
        if (document.contains("default")) {
            scenario.fallback = read_file(document.at("default"));
        }
    } catch (const std::exception& error) {
        record({{"call", "scenario"}, {"error", error.what()}});
    }
    return scenario;
}

FileSpec file_for(const Scenario& scenario, const std::string& path) {
    if (const auto found = scenario.files.find(path); found != scenario.files.end()) {
        return found->second;
    }
    if (const auto found = scenario.files.find(file_name_of(path)); found != scenario.files.end()) {
        return found->second;
    }
    return scenario.fallback ? *scenario.fallback : read_file(json::object());
}

} // namespace mpv_double
