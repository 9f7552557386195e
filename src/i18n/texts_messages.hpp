// On-screen messages of the interface's tools, shown on the video through show_text.
#pragma once

#include "i18n/language.hpp"

#include <cstdint>

namespace ondrel::texts {

// The compression command without a video open (or with a URL): shown for 2500 ms.
inline constexpr TextPair compress_needs_file{"Open a video file to compress first",
                                              "Ouvrez d'abord un fichier vidéo à compresser"};
inline constexpr std::uint32_t compress_needs_file_ms = 2500;

// The end of a compression while the player is open: shown for 6000 ms.
inline constexpr TextPair compression_finished_message{"Compression finished: {name} ({size})",
                                                       "Compression terminée : {name} ({size})"};
inline constexpr TextPair compression_ended_message{"Compression: {message}",
                                                    "Compression : {message}"};
inline constexpr std::uint32_t compression_message_ms = 6000;

} // namespace ondrel::texts
