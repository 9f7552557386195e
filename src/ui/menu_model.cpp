#include "ui/menu_model.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_localization.hpp"
#include "i18n/texts_menus.hpp"
#include "mpv/tracks.hpp"
#include "platform/numbers.hpp"

#include <algorithm>

namespace ondrel {
namespace {

using Kind = MenuEntry::Kind;

MenuEntry item(std::string_view text, std::uint32_t id, bool grayed = false, bool checked = false) {
    return MenuEntry{Kind::Item, std::string(text), id, grayed, checked, {}};
}

MenuEntry separator() {
    return MenuEntry{Kind::Separator, {}, 0, false, false, {}};
}

MenuEntry submenu(std::string_view text, bool grayed, std::vector<MenuEntry> children) {
    return MenuEntry{Kind::Submenu, std::string(text), 0, grayed, false, std::move(children)};
}

// A track whose id the menu ids cannot carry gets no item rather than the id of another
// command: subtitle track 999 would otherwise read as "Load a subtitle file…".
void append_tracks(std::vector<MenuEntry>& entries, const std::vector<Track>& tracks,
                   std::uint32_t base, std::int64_t largest_id) {
    for (const Track& track : tracks) {
        if (track.id > 0 && track.id <= largest_id) {
            entries.push_back(item(menu_literal(track_label(track)),
                                   base + static_cast<std::uint32_t>(track.id), false,
                                   track.selected));
        }
    }
}

std::string compression_caption(const MainMenuFacts& facts) {
    if (!facts.compression_running) {
        return std::string(tr(texts::menu_compress));
    }
    const std::int64_t percent = round_half_away_saturated(facts.compression_percent);
    return fill(tr(texts::menu_compressing), {std::to_string(percent)});
}

} // namespace

std::string menu_literal(std::string_view text) {
    std::string literal;
    literal.reserve(text.size());
    for (const char c : text) {
        literal.push_back(c);
        if (c == '&') {
            literal.push_back('&');
        }
    }
    return literal;
}

std::vector<MenuEntry> track_menu_entries(std::string_view kind, const std::vector<Track>& tracks,
                                          bool player_exists, bool file_loaded) {
    std::vector<MenuEntry> entries;
    if (!player_exists) {
        return entries;
    }
    const std::vector<Track> none;
    const std::vector<Track>& shown = file_loaded ? tracks : none;
    if (kind == "sub") {
        const bool any_selected =
            std::any_of(shown.begin(), shown.end(), [](const Track& t) { return t.selected; });
        entries.push_back(item(tr(texts::menu_subtitles_off), menu_id::subtitle_base, !file_loaded,
                               !any_selected));
        append_tracks(entries, shown, menu_id::subtitle_base, 998);
        entries.push_back(separator());
        entries.push_back(
            item(tr(texts::menu_load_subtitles), menu_id::load_subtitles, !file_loaded));
        return entries;
    }
    append_tracks(entries, shown, menu_id::audio_base, 999);
    if (entries.empty()) {
        entries.push_back(item(tr(texts::menu_no_audio_track), 0, true));
    }
    return entries;
}

std::vector<MenuEntry> main_menu_entries(const MainMenuFacts& facts,
                                         std::vector<MenuEntry> audio_entries,
                                         std::vector<MenuEntry> subtitle_entries) {
    const bool no_file = !facts.file_loaded;
    const bool english = current_language() == Language::English;
    std::vector<MenuEntry> entries;
    entries.push_back(item(tr(texts::menu_open), menu_id::open));
    entries.push_back(item(tr(texts::menu_play_pause), menu_id::play_pause, no_file));
    entries.push_back(
        item(tr(texts::menu_full_screen), menu_id::full_screen, false, facts.full_screen));
    entries.push_back(separator());
    entries.push_back(submenu(tr(texts::menu_audio_track), no_file, std::move(audio_entries)));
    entries.push_back(submenu(tr(texts::menu_subtitles), no_file, std::move(subtitle_entries)));
    entries.push_back(separator());
    entries.push_back(
        item(tr(texts::menu_multi_instance), menu_id::multi_instance, false, facts.multi_instance));
    entries.push_back(
        item(tr(texts::menu_always_on_top), menu_id::always_on_top, false, facts.always_on_top));
    entries.push_back(
        item(tr(texts::menu_inverted_wheel), menu_id::inverted_wheel, false, facts.wheel_invert));
    entries.push_back(separator());
    entries.push_back(item(compression_caption(facts), menu_id::compression,
                           no_file && !facts.compression_window_exists));
    entries.push_back(separator());
    entries.push_back(
        submenu(texts::language_submenu, false,
                {item(texts::language_item_french, menu_id::french, false, !english),
                 item(texts::language_item_english, menu_id::english, false, english)}));
    entries.push_back(separator());
    entries.push_back(item(tr(texts::menu_help), menu_id::help));
    entries.push_back(item(tr(texts::menu_about), menu_id::about));
    entries.push_back(item(tr(texts::menu_quit), menu_id::quit));
    return entries;
}

std::optional<TrackCommand> track_command(std::uint32_t id) {
    if (id == menu_id::load_subtitles) {
        return TrackCommand{TrackCommand::Kind::LoadSubtitleFile, 0};
    }
    if (id > menu_id::audio_base && id < menu_id::subtitle_base) {
        return TrackCommand{TrackCommand::Kind::SelectAudio, id - menu_id::audio_base};
    }
    if (id >= menu_id::subtitle_base && id < menu_id::load_subtitles) {
        return TrackCommand{TrackCommand::Kind::SelectSubtitle, id - menu_id::subtitle_base};
    }
    return std::nullopt;
}

} // namespace ondrel
