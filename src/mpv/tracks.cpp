#include "mpv/tracks.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_playback.hpp"
#include "mpv/mpv_calls.hpp"
#include "mpv/playback_rules.hpp"

#include <algorithm>

namespace ondrel {
namespace {

std::string entry_property(std::size_t index, std::string_view name) {
    return "track-list/" + std::to_string(index) + "/" + std::string(name);
}

std::string entry_string(const Player& player, std::size_t index, std::string_view name) {
    return read_string(player, entry_property(index, name).c_str()).value_or("");
}

std::int64_t entry_int64(const Player& player, std::size_t index, std::string_view name) {
    return read_int64(player, entry_property(index, name).c_str()).value_or(0);
}

bool entry_flag(const Player& player, std::size_t index, std::string_view name) {
    return entry_string(player, index, name) == "yes";
}

Track read_track(const Player& player, std::size_t i) {
    Track track;
    track.id = entry_int64(player, i, "id");
    track.title = entry_string(player, i, "title");
    track.lang = entry_string(player, i, "lang");
    track.codec = entry_string(player, i, "codec");
    track.channel_count = entry_int64(player, i, "demux-channel-count");
    track.selected = entry_flag(player, i, "selected");
    track.external = entry_flag(player, i, "external");
    track.is_default = entry_flag(player, i, "default");
    return track;
}

} // namespace

std::vector<Track> list_tracks(const PlayerSession& session, std::string_view kind) {
    std::vector<Track> tracks;
    if (!session.player) {
        return tracks;
    }
    const Player& player = *session.player;
    const std::int64_t count = read_int64(player, "track-list/count").value_or(0);
    for (std::int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const std::optional<std::string> type =
            read_string(player, entry_property(index, "type").c_str());
        if (type && *type == kind) {
            tracks.push_back(read_track(player, index));
        }
    }
    return tracks;
}

void cycle_track(PlayerSession& session, std::string_view kind) {
    if (!session.player || !session.playback.file_loaded) {
        return;
    }
    const bool subtitles = kind == "sub";
    const std::vector<Track> tracks = list_tracks(session, kind);
    std::vector<std::int64_t> ids;
    for (const Track& track : tracks) {
        ids.push_back(track.id);
    }
    if (subtitles) {
        ids.push_back(0); // off
    }
    if (ids.size() < 2) {
        show_text(session, tr(subtitles ? texts::no_subtitles : texts::only_one_audio_track), 2000);
        return;
    }
    const auto selected =
        std::find_if(tracks.begin(), tracks.end(), [](const Track& t) { return t.selected; });
    const std::int64_t current = selected == tracks.end() ? 0 : selected->id;
    const auto position = std::find(ids.begin(), ids.end(), current);
    const std::int64_t next =
        position == ids.end() ? ids.front() : ids[(position - ids.begin() + 1) % ids.size()];
    select_track(session, kind, next);
}

std::string track_label(const Track& track) {
    return track_label(TrackLabelParts{track.title, track.lang, track.codec, track.id,
                                       track.channel_count, track.external, track.is_default});
}

void select_track(PlayerSession& session, std::string_view kind, std::int64_t id) {
    if (!session.player) {
        return;
    }
    const bool subtitles = kind != "audio";
    const std::string value = id == 0 ? std::string("no") : std::to_string(id);
    command_now(*session.player, {"set", subtitles ? "sid" : "aid", value});

    const std::vector<Track> tracks = list_tracks(session, kind);
    const auto chosen =
        std::find_if(tracks.begin(), tracks.end(), [&](const Track& t) { return t.id == id; });
    const std::string label =
        chosen == tracks.end() ? std::string(tr(texts::track_off)) : track_label(*chosen);
    const std::string_view kind_word = subtitles ? tr(texts::subtitles_kind) : texts::audio_kind;
    show_text(session, fill(tr(texts::track_selected), {kind_word, label}), 2000);
    if (subtitles) {
        // The subtitle button follows at once, without waiting for libmpv's "sid" change.
        session.playback.subtitles_on = id != 0;
    }
    shell_invalidate(session.player->control_bar);
}

void add_subtitle_file(PlayerSession& session, std::string_view path) {
    if (!session.player || !session.playback.file_loaded) {
        return;
    }
    if (command_now(*session.player, {"sub-add", path, "select"}) < 0) {
        show_text(session, tr(texts::subtitle_file_failed), 2500);
        return;
    }
    show_text(session, fill(tr(texts::subtitle_file_added), {display_name(path)}), 2000);
}

} // namespace ondrel
