#include "double_handle.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace mpv_double {
namespace {

std::filesystem::path utf8_path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Where a file's remembered position is kept: the watch-later folder, one file per path,
// named by a hash of the path (libmpv uses its own hash; only the folder's contents matter).
std::optional<std::filesystem::path> watch_later_file(const mpv_handle& h,
                                                      const std::string& path) {
    const auto folder = h.options.find("watch-later-directory");
    if (folder == h.options.end() || folder->second.empty()) {
        return std::nullopt;
    }
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char byte : path) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    std::ostringstream name;
    name << std::hex << std::uppercase << hash;
    return utf8_path(folder->second) / name.str();
}

std::optional<double> remembered_start(const mpv_handle& h, const std::string& path) {
    const auto resume = h.options.find("resume-playback");
    if (resume != h.options.end() && resume->second == "no") {
        return std::nullopt;
    }
    const std::optional<std::filesystem::path> file = watch_later_file(h, path);
    if (!file) {
        return std::nullopt;
    }
    std::ifstream in(*file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("start=", 0) == 0) {
            return std::strtod(line.c_str() + 6, nullptr);
        }
    }
    return std::nullopt;
}

void end_file(mpv_handle& h, mpv_end_file_reason reason, int error) {
    QueuedEvent event;
    event.id = MPV_EVENT_END_FILE;
    event.reason = reason;
    event.error = error;
    queue_event(h, std::move(event));
}

void unload(mpv_handle& h) {
    if (h.loaded) {
        h.loaded = false;
        h.tracks.clear();
        h.eof = false;
        end_file(h, MPV_END_FILE_REASON_STOP, 0);
        announce_playback(h);
    }
}

void seek(mpv_handle& h, double target, bool relative) {
    h.time_pos = std::clamp(relative ? h.time_pos + target : target, 0.0, h.file.duration);
    h.eof = false;
    queue_event(h, QueuedEvent{MPV_EVENT_SEEK});
    queue_event(h, QueuedEvent{MPV_EVENT_PLAYBACK_RESTART});
    announce(h, "time-pos");
    announce(h, "eof-reached");
}

int add_subtitles(mpv_handle& h, const std::vector<std::string>& args) {
    std::error_code error;
    if (!h.loaded || args.size() < 2 ||
        !std::filesystem::is_regular_file(utf8_path(args[1]), error)) {
        return MPV_ERROR_COMMAND;
    }
    std::int64_t id = 0;
    for (const TrackSpec& track : h.tracks) {
        if (track.type == "sub") {
            id = std::max(id, track.id);
        }
    }
    TrackSpec track;
    track.id = id + 1;
    track.type = "sub";
    const std::size_t separator = args[1].find_last_of("/\\");
    track.title = separator == std::string::npos ? args[1] : args[1].substr(separator + 1);
    track.codec = "subrip";
    track.external = true;
    h.tracks.push_back(track);
    // libmpv selects the new track unless told "auto" or "cached".
    if (args.size() < 3 || args[2] == "select") {
        h.sid = track.id;
        announce(h, "sid");
    }
    return 0;
}

int write_watch_later(mpv_handle& h, bool keep) {
    if (!h.loaded) {
        return MPV_ERROR_COMMAND;
    }
    const std::optional<std::filesystem::path> file = watch_later_file(h, h.path);
    if (!file) {
        return MPV_ERROR_COMMAND;
    }
    std::error_code error;
    if (!keep) {
        std::filesystem::remove(*file, error);
        return 0;
    }
    std::ofstream out(*file, std::ios::binary | std::ios::trunc);
    out << "# " << h.path << "\nstart=" << h.time_pos << "\n";
    return out ? 0 : MPV_ERROR_COMMAND;
}

} // namespace

int run_command(mpv_handle& h, const std::vector<std::string>& args) {
    if (args.empty()) {
        return MPV_ERROR_INVALID_PARAMETER;
    }
    const std::string& name = args[0];
    if (name == "loadfile" && args.size() >= 2) {
        unload(h);
        h.pending_load = args[1];
        h.changed.notify_all();
        return 0;
    }
    if (name == "show-text") {
        return args.size() >= 2 ? 0 : MPV_ERROR_INVALID_PARAMETER;
    }
    if (name == "seek" && args.size() >= 2) {
        if (!h.loaded) {
            return MPV_ERROR_COMMAND;
        }
        const bool absolute = args.size() >= 3 && args[2].rfind("absolute", 0) == 0;
        seek(h, std::strtod(args[1].c_str(), nullptr), !absolute);
        return 0;
    }
    if (name == "set" && args.size() >= 3) {
        return write_property(h, args[1], Value{args[2]});
    }
    if (name == "sub-add") {
        return add_subtitles(h, args);
    }
    if (name == "write-watch-later-config" || name == "delete-watch-later-config") {
        return write_watch_later(h, name == "write-watch-later-config");
    }
    if (name == "frame-step" || name == "frame-back-step") {
        if (!h.loaded) {
            return MPV_ERROR_COMMAND;
        }
        h.paused = true;
        announce(h, "pause");
        seek(h, name == "frame-step" ? 0.04 : -0.04, true);
        return 0;
    }
    if (name == "stop") {
        unload(h);
        return 0;
    }
    return MPV_ERROR_INVALID_PARAMETER;
}

void finish_load(mpv_handle& h) {
    const std::string path = *h.pending_load;
    h.pending_load.reset();
    const FileSpec file = file_for(read_scenario(), path);
    queue_event(h, QueuedEvent{MPV_EVENT_START_FILE});
    if (file.fail) {
        end_file(h, MPV_END_FILE_REASON_ERROR, MPV_ERROR_LOADING_FAILED);
        return;
    }
    h.loaded = true;
    h.path = path;
    h.file = file;
    h.tracks = file.tracks;
    h.eof = false;
    h.time_pos = std::clamp(remembered_start(h, path).value_or(file.start), 0.0, file.duration);
    h.aid = 0;
    for (const TrackSpec& track : h.tracks) {
        if (track.type == "audio") {
            h.aid = file.aid.value_or(track.id);
            break;
        }
    }
    h.sid = file.sid;
    h.last_tick = std::chrono::steady_clock::now();
    queue_event(h, QueuedEvent{MPV_EVENT_FILE_LOADED});
    announce_playback(h);
}

void advance_time(mpv_handle& h, std::chrono::steady_clock::time_point now) {
    const double elapsed = std::chrono::duration<double>(now - h.last_tick).count();
    h.last_tick = now;
    if (!h.loaded || !h.file.playing || h.paused || h.eof) {
        return;
    }
    h.time_pos += elapsed * h.speed;
    if (h.time_pos >= h.file.duration) {
        // keep-open: the last frame stays and playback pauses at the end.
        h.time_pos = h.file.duration;
        h.eof = true;
        h.paused = true;
        announce(h, "eof-reached");
        announce(h, "pause");
    }
    announce(h, "time-pos");
}

} // namespace mpv_double
