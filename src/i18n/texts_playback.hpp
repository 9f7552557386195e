// Texts of the playback engine: loading libmpv and the messages shown on the video.
#pragma once

#include "i18n/language.hpp"

#include <string_view>

namespace ondrel::texts {

// Start-up failures, shown in an error box before the program ends.
inline constexpr TextPair cannot_load_library{"Cannot load {path}", "Impossible de charger {path}"};
inline constexpr TextPair function_missing{"Function missing from libmpv: {name}",
                                           "Fonction absente de libmpv : {name}"};
inline constexpr TextPair mpv_create_failed{"mpv_create failed", "mpv_create a échoué"};
inline constexpr TextPair mpv_initialize_failed{"mpv_initialize failed ({r})",
                                                "mpv_initialize a échoué ({r})"};

// On-screen messages.
inline constexpr TextPair resuming_at{"Resuming at {time}", "Reprise à {time}"};
inline constexpr TextPair cannot_play{"Cannot play \"{name}\"", "Impossible de lire « {name} »"};
inline constexpr TextPair volume_changed{"Volume: {volume}%", "Volume : {volume} %"};
inline constexpr TextPair sound_on{"Sound on", "Son activé"};
inline constexpr TextPair sound_muted{"Muted", "Muet"};
inline constexpr TextPair speed_changed{"Speed: ×{speed}", "Vitesse : ×{speed}"};

inline constexpr TextPair only_one_audio_track{"Only one audio track", "Une seule piste audio"};
inline constexpr TextPair no_subtitles{"No subtitles (right-click to load a file)",
                                       "Aucun sous-titre (clic droit pour charger un fichier)"};
inline constexpr TextPair track_selected{"{kind}: {label}", "{kind} : {label}"};
inline constexpr TextPair subtitles_kind{"Subtitles", "Sous-titres"};
inline constexpr std::string_view audio_kind = "Audio"; // the same in both languages
inline constexpr TextPair track_off{"off", "désactivés"};
inline constexpr TextPair subtitle_file_added{"Subtitles: {name}", "Sous-titres : {name}"};
inline constexpr TextPair subtitle_file_failed{"Cannot load this subtitle file",
                                               "Impossible de charger ce fichier de sous-titres"};

// Shown after the file name in the main window's title.
inline constexpr std::string_view title_suffix = " — Ondrel";

} // namespace ondrel::texts
