// The audio and subtitle tracks of the current file, read afresh from libmpv each time.
#pragma once

#include "mpv/player.hpp"
#include "mpv/track.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

// kind is libmpv's type name: "audio" or "sub". Empty without a player.
std::vector<Track> list_tracks(const PlayerSession& session, std::string_view kind);

// The next track of that kind; the subtitle cycle passes through "off".
void cycle_track(PlayerSession& session, std::string_view kind);

// Selects the track (id 0 switches subtitles off) and confirms it on screen.
void select_track(PlayerSession& session, std::string_view kind, std::int64_t id);

// The track's line in menus and messages.
std::string track_label(const Track& track);

// Loads an external subtitle file and selects it; needs a loaded video.
void add_subtitle_file(PlayerSession& session, std::string_view path);

} // namespace ondrel
