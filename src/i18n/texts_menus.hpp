// Texts of the right-click menu, the track menus, the open dialog and the compression entry.
// "\t" puts the shortcut in the menu's right-aligned column.
#pragma once

#include "i18n/language.hpp"

namespace ondrel::texts {

inline constexpr TextPair menu_open{"Open…\tCtrl+O", "Ouvrir…\tCtrl+O"};
inline constexpr TextPair menu_play_pause{"Play / Pause\tSpace", "Lecture / Pause\tEspace"};
inline constexpr TextPair menu_full_screen{"Full screen\tF", "Plein écran\tF"};
inline constexpr TextPair menu_audio_track{"Audio track\tA", "Piste audio\tA"};
inline constexpr TextPair menu_subtitles{"Subtitles\tS", "Sous-titres\tS"};
inline constexpr TextPair menu_multi_instance{"Multi-instance\tI", "Multi-instance\tI"};
inline constexpr TextPair menu_always_on_top{"Always on top\tT", "Toujours au premier plan\tT"};
inline constexpr TextPair menu_inverted_wheel{"Inverted wheel (up = quieter)",
                                              "Molette inversée (haut = moins fort)"};
inline constexpr TextPair menu_compress{"Compress the video…\tC", "Compresser la vidéo…\tC"};
inline constexpr TextPair menu_compressing{"Video compression… ({percent}%)\tC",
                                           "Compression vidéo… ({percent} %)\tC"};
inline constexpr TextPair menu_help{"Help\tF1", "Aide\tF1"};
inline constexpr TextPair menu_about{"About Ondrel…", "À propos de Ondrel…"};
inline constexpr TextPair menu_quit{"Quit\tAlt+F4", "Quitter\tAlt+F4"};

inline constexpr TextPair menu_subtitles_off{"Off", "Désactivés"};
inline constexpr TextPair menu_load_subtitles{"Load a subtitle file…",
                                              "Charger un fichier de sous-titres…"};
inline constexpr TextPair menu_no_audio_track{"No audio track", "Aucune piste audio"};

inline constexpr TextPair dialog_videos{"Videos", "Vidéos"};
inline constexpr TextPair dialog_subtitles{"Subtitles", "Sous-titres"};
inline constexpr TextPair dialog_all_files{"All files", "Tous les fichiers"};

inline constexpr TextPair compress_error_caption{"Video compression", "Compression vidéo"};

} // namespace ondrel::texts
