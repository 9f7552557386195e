// Texts of the compression settings, the analysis summary, the progress line and the
// command-line compressor.
#pragma once

#include "i18n/language.hpp"

#include <array>

namespace ondrel::texts {

// Lists of choices, in the order of their stored values.
inline constexpr std::array<TextPair, 8> resolution_labels{{
    {"Original", "Originale"},
    {"4K (3840x2160)", "4K (3840x2160)"},
    {"1440p (2560x1440)", "1440p (2560x1440)"},
    {"1080p (1920x1080)", "1080p (1920x1080)"},
    {"720p (1280x720)", "720p (1280x720)"},
    {"480p (854x480)", "480p (854x480)"},
    {"360p (640x360)", "360p (640x360)"},
    {"Custom", "Personnalisée"},
}};
inline constexpr std::array<TextPair, 4> speed_labels{{
    {"Fast", "Rapide"},
    {"Balanced", "Équilibré"},
    {"Slow", "Lent"},
    {"Max", "Max"},
}};
inline constexpr std::array<TextPair, 6> encoder_family_labels{{
    {"Automatic", "Automatique"},
    {"AMD AMF", "AMD AMF"},
    {"NVIDIA NVENC", "NVIDIA NVENC"},
    {"Intel QSV", "Intel QSV"},
    {"Media Foundation (e.g. Adreno)", "Media Foundation (ex. Adreno)"},
    {"Software (CPU)", "Logiciel (CPU)"},
}};
inline constexpr std::array<TextPair, 3> audio_mode_labels{{
    {"Copy", "Copier"},
    {"AAC", "AAC"},
    {"None", "Aucun"},
}};
inline constexpr std::array<TextPair, 2> codec_labels{{
    {"H.264", "H.264"},
    {"H.265", "H.265"},
}};
inline constexpr std::array<TextPair, 2> container_labels{{
    {"MP4", "MP4"},
    {"MKV", "MKV"},
}};

// The output name cannot be chosen: every numbered variant already exists.
inline constexpr TextPair no_free_output_name{"No free output file name in {folder}",
                                              "Aucun nom de fichier libre dans {folder}"};

// Analysis summary.
inline constexpr TextPair audio_tracks_line{"Audio tracks: {list}", "Pistes audio : {list}"};

// Encoder line and size estimate.
inline constexpr TextPair encoder_line{"Encoder: {name}", "Encodeur : {name}"};
inline constexpr TextPair estimated_size_suffix{"  -  Estimated size: ~{size}",
                                                "  -  Taille estimée : ~{size}"};

// Progress of a running encode.
inline constexpr TextPair progress_line{"{percent}%   -   {speed}x - {fps} fps - {bitrate}",
                                        "{percent} %   -   {speed}x - {fps} im/s - {bitrate}"};

// The command-line compressor, ondrel-compress.
inline constexpr TextPair cli_usage{
    "Usage: ondrel-compress [--options TEXT] [--output-dir DIR] [--dry-run] [--estimate]\n"
    "                       [--target-size SIZE] [--encoders] [--lang en|fr]\n"
    "                       [--progress ndjson] FILE...\n"
    "\n"
    "Compresses each video FILE in turn with ffmpeg, beside its source or into DIR.\n"
    "\n"
    "  --options TEXT    compression choices, written as in Ondrel's settings, for example\n"
    "                    \"codec=h265|res=4|q=50|audio=aac:160|cont=mkv\". Keys:\n"
    "                    codec=h264|h265  enc=auto|amf|nvenc|qsv|mf|sw  res=0-7 (0 original,\n"
    "                    1 4K, 2 1440p, 3 1080p, 4 720p, 5 480p, 6 360p, 7 custom)  w=WIDTH\n"
    "                    up=0|1 (upscaling)  q=0-100 (0 best, 100 smallest)\n"
    "                    speed=0-3 (fast to max)  audio=copy|none|aac:KBPS  cont=mp4|mkv\n"
    "                    hw=0|1 (hardware decoding)  dir=FOLDER\n"
    "  --output-dir DIR  write the compressed files into DIR\n"
    "  --dry-run         print ffmpeg's arguments, one per line, and compress nothing\n"
    "  --estimate        print the range the size of each output will fall in with these\n"
    "                    options, measured by encoding a few short pieces of the video\n"
    "                    (in a temporary folder, removed afterwards), and write nothing\n"
    "  --target-size SIZE  make each output at most SIZE: 25MB, 8MiB, 500KB, 1.5GB (KB, MB,\n"
    "                    GB count by 1000, KiB, MiB, GiB by 1024; a bare number is bytes).\n"
    "                    Software encoders take two passes, hardware ones one pass a little\n"
    "                    under; a result over SIZE is made again, at most twice, else it fails.\n"
    "                    A SIZE out of reach is refused before anything is written.\n"
    "  --encoders        print the hardware encoders that work on this computer, then stop\n"
    "  --lang en|fr      language of the messages\n"
    "  --progress ndjson report on standard output as one JSON object a line, each with its\n"
    "                    \"type\": start (file, output, duration_s), progress (percent,\n"
    "                    out_time_us, size_bytes, speed, eta_s), done (output, size_bytes,\n"
    "                    seconds), estimate (file, low_bytes, high_bytes, samples), error\n"
    "                    (message, exit_code); with --target-size also pass (number, of)\n"
    "                    before each ffmpeg run, whose progress follows, and retry (reason,\n"
    "                    size_bytes, bitrate_kbps). Unknown values are null. Every text for\n"
    "                    people goes to standard error. Readers must ignore keys and types\n"
    "                    they do not know: more may come.\n"
    "  --help            print this text\n"
    "\n"
    "Exit status: 0 when every file was compressed and checked (or estimated), 1 when one\n"
    "failed, 2 for a usage error, 3 when a --target-size cannot be met (nothing was\n"
    "written), 130 when interrupted (Ctrl+C, a closed console or terminal, or a request to\n"
    "end).\n",
    "Usage : ondrel-compress [--options TEXTE] [--output-dir DOSSIER] [--dry-run] [--estimate]\n"
    "                        [--target-size TAILLE] [--encoders] [--lang en|fr]\n"
    "                        [--progress ndjson] FICHIER...\n"
    "\n"
    "Compresse chaque FICHIER vidéo à son tour avec ffmpeg, à côté de sa source ou dans\n"
    "DOSSIER.\n"
    "\n"
    "  --options TEXTE       choix de compression, écrits comme dans les réglages d'Ondrel,\n"
    "                        par exemple \"codec=h265|res=4|q=50|audio=aac:160|cont=mkv\".\n"
    "                        Clés : codec=h264|h265  enc=auto|amf|nvenc|qsv|mf|sw\n"
    "                        res=0-7 (0 originale, 1 4K, 2 1440p, 3 1080p, 4 720p, 5 480p,\n"
    "                        6 360p, 7 personnalisée)  w=LARGEUR  up=0|1 (agrandissement)\n"
    "                        q=0-100 (0 meilleure, 100 plus petit)  speed=0-3 (rapide à max)\n"
    "                        audio=copy|none|aac:KBPS  cont=mp4|mkv\n"
    "                        hw=0|1 (décodage matériel)  dir=DOSSIER\n"
    "  --output-dir DOSSIER  écrire les fichiers compressés dans DOSSIER\n"
    "  --dry-run             afficher les arguments de ffmpeg, un par ligne, sans rien\n"
    "                        compresser\n"
    "  --estimate            afficher l'intervalle où tombera la taille de chaque fichier\n"
    "                        compressé avec ces options, mesuré en encodant quelques courts\n"
    "                        extraits de la vidéo (dans un dossier temporaire, supprimé\n"
    "                        ensuite), sans rien écrire\n"
    "  --target-size TAILLE  rendre chaque sortie d'au plus TAILLE : 25MB, 8MiB, 500KB,\n"
    "                        1.5GB (KB, MB, GB comptent par 1000, KiB, MiB, GiB par 1024 ;\n"
    "                        un nombre seul compte en octets). Les encodeurs logiciels font\n"
    "                        deux passes, les matériels une seule un peu en dessous ; un\n"
    "                        résultat plus grand est refait, deux fois au plus, sinon c'est\n"
    "                        un échec. Une TAILLE hors d'atteinte est refusée avant toute\n"
    "                        écriture.\n"
    "  --encoders            afficher les encodeurs matériels qui fonctionnent sur cet\n"
    "                        ordinateur, puis s'arrêter\n"
    "  --lang en|fr          langue des messages\n"
    "  --progress ndjson     rendre compte sur la sortie standard, un objet JSON par ligne,\n"
    "                        chacun avec son \"type\" : start (file, output, duration_s),\n"
    "                        progress (percent, out_time_us, size_bytes, speed, eta_s),\n"
    "                        done (output, size_bytes, seconds), estimate (file,\n"
    "                        low_bytes, high_bytes, samples), error (message,\n"
    "                        exit_code) ; avec --target-size aussi pass (number, of) avant\n"
    "                        chaque passage de ffmpeg, dont la progression suit, et retry\n"
    "                        (reason, size_bytes, bitrate_kbps). Une valeur inconnue vaut\n"
    "                        null. Tout texte destiné aux personnes va sur la sortie\n"
    "                        d'erreur. Les lecteurs doivent ignorer les clés et les types\n"
    "                        qu'ils ne connaissent pas : d'autres pourront venir.\n"
    "  --help                afficher ce texte\n"
    "\n"
    "Code de sortie : 0 quand chaque fichier a été compressé et vérifié (ou estimé), 1\n"
    "quand l'un a échoué, 2 pour une erreur d'utilisation, 3 quand une --target-size ne\n"
    "peut pas être tenue (rien n'a été écrit), 130 après une interruption (Ctrl+C, console\n"
    "ou terminal fermé, ou demande d'arrêt).\n"};
inline constexpr TextPair cli_unknown_option{"Unknown option: {option}",
                                             "Option inconnue : {option}"};
inline constexpr TextPair cli_missing_value{"Missing value after {option}",
                                            "Valeur manquante après {option}"};
inline constexpr TextPair cli_bad_language{"Unknown language: {value} (use en or fr)",
                                           "Langue inconnue : {value} (en ou fr)"};
inline constexpr TextPair cli_bad_progress{"Unknown progress format: {value} (use ndjson)",
                                           "Format de progression inconnu : {value} (ndjson)"};
inline constexpr TextPair cli_interrupted{"Interrupted.", "Interrompu."};
inline constexpr TextPair cli_no_files{"No video file given.", "Aucun fichier vidéo indiqué."};
inline constexpr TextPair cli_output_dir_missing{"Output folder not found: {folder}",
                                                 "Dossier de destination introuvable : {folder}"};
inline constexpr TextPair cli_cannot_analyze{"Cannot analyze: {text}",
                                             "Analyse impossible : {text}"};
inline constexpr TextPair cli_output_line{"Output: {path}", "Sortie : {path}"};
inline constexpr TextPair cli_time_left{"{duration} left", "reste {duration}"};
inline constexpr TextPair cli_encoders_heading{
    "Hardware encoders that passed a test encode:",
    "Encodeurs matériels qui ont réussi un encodage d'essai :"};
inline constexpr TextPair cli_no_hardware_encoder{
    "  none (the software encoders libx264 and libx265 are used)",
    "  aucun (les encodeurs logiciels libx264 et libx265 sont utilisés)"};
inline constexpr TextPair cli_hwaccel_available{"Hardware decoding (-hwaccel auto): available",
                                                "Décodage matériel (-hwaccel auto) : disponible"};
inline constexpr TextPair cli_hwaccel_unavailable{
    "Hardware decoding (-hwaccel auto): not available",
    "Décodage matériel (-hwaccel auto) : non disponible"};
inline constexpr TextPair cli_summary{"{done} of {total} files compressed.",
                                      "{done} fichiers sur {total} compressés."};
// The closing table of several files: its headings and outcomes.
inline constexpr TextPair cli_table_file{"File", "Fichier"};
inline constexpr TextPair cli_table_output{"Output", "Sortie"};
inline constexpr TextPair cli_table_before{"Before", "Avant"};
inline constexpr TextPair cli_table_after{"After", "Après"};
inline constexpr TextPair cli_table_time{"Time", "Durée"};
inline constexpr TextPair cli_table_result{"Result", "Résultat"};
inline constexpr TextPair cli_table_done{"compressed", "compressé"};
inline constexpr TextPair cli_table_failed{"failed", "échec"};
inline constexpr TextPair cli_table_not_analysed{"not analysed", "non analysé"};
// --estimate: the range of each file's output size, and why there is none.
inline constexpr TextPair cli_estimate_line{
    "{file}: {low} – {high} ({count} samples of {length})",
    "{file} : {low} – {high} ({count} extraits de {length})"};
inline constexpr TextPair cli_estimate_whole_line{
    "{file}: {low} – {high} (whole video encoded)",
    "{file} : {low} – {high} (vidéo entière encodée)"};
// Shown on a terminal only, while the pieces encode, and blanked out before the range.
inline constexpr TextPair cli_estimate_piece{"{file}: encoding sample {number} of {count}...",
                                             "{file} : encodage de l'extrait {number} sur "
                                             "{count}..."};
inline constexpr TextPair cli_cannot_estimate{"Cannot estimate: {text}",
                                              "Estimation impossible : {text}"};
inline constexpr TextPair cli_unknown_duration{"the duration of the video is unknown.",
                                               "la durée de la vidéo est inconnue."};
inline constexpr TextPair cli_no_sample_folder{
    "Could not create a temporary folder in {folder}",
    "Impossible de créer un dossier temporaire dans {folder}"};
inline constexpr TextPair cli_ended_without_outcome{"The encode ended without a result.",
                                                    "L'encodage s'est terminé sans résultat."};

} // namespace ondrel::texts
