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

} // namespace ondrel::texts
