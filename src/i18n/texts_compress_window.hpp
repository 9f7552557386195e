// Texts of the compression window: its title, labels, buttons and status lines.
#pragma once

#include "i18n/language.hpp"

namespace ondrel::texts {

inline constexpr TextPair compress_window_title{"Video compression — {name}",
                                                "Compression vidéo — {name}"};

inline constexpr TextPair analyzing_video{"Analyzing video...", "Analyse de la vidéo..."};
inline constexpr TextPair cannot_analyze{"Cannot analyze: {text}", "Analyse impossible : {text}"};

// Labels of the option grid.
inline constexpr TextPair label_codec{"Codec", "Codec"};
inline constexpr TextPair label_encoder{"Encoder", "Encodeur"};
inline constexpr TextPair label_resolution{"Resolution", "Résolution"};
inline constexpr TextPair label_quality{"Quality", "Qualité"};
inline constexpr TextPair label_speed{"Speed", "Vitesse"};
inline constexpr TextPair label_audio{"Audio", "Audio"};
inline constexpr TextPair label_audio_track{"Audio track", "Piste audio"};
inline constexpr TextPair label_container{"Container", "Conteneur"};
inline constexpr TextPair label_output{"Output", "Destination"};

inline constexpr TextPair pixels_unit{"px", "px"};
inline constexpr TextPair hardware_decode{"Hardware decode", "Décodage matériel"};
inline constexpr TextPair allow_upscaling{"Allow upscaling", "Autoriser l'agrandissement"};
inline constexpr TextPair browse_button{"Browse...", "Parcourir..."};
inline constexpr TextPair reset_button{"Reset", "Réinitialiser"};
inline constexpr TextPair ffmpeg_log{"ffmpeg log", "Journal ffmpeg"};

// The main button's three roles and the close button's two.
inline constexpr TextPair compress_button{"Compress", "Compresser"};
inline constexpr TextPair cancel_button{"Cancel", "Annuler"};
inline constexpr TextPair open_folder_button{"Open folder", "Ouvrir le dossier"};
inline constexpr TextPair close_button{"Close", "Fermer"};
inline constexpr TextPair hide_button{"Hide", "Masquer"};

inline constexpr TextPair quality_hint{"{quality}   best <-> smallest",
                                       "{quality}   meilleure <-> plus petit"};
inline constexpr TextPair aac_value{"{kbps} kb/s", "{kbps} kb/s"};
inline constexpr TextPair all_audio_streams{"All", "Toutes"};

inline constexpr TextPair output_folder_title{"Output folder", "Dossier de destination"};

// The job's messages stopped without an outcome (its worker could not go on).
inline constexpr TextPair job_ended_without_outcome{"The encode ended without a result.",
                                                    "L'encodage s'est terminé sans résultat."};

} // namespace ondrel::texts
