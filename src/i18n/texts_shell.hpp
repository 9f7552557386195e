// Texts of the application shell: start-up, main window, instance hand-off.
#pragma once

#include "i18n/language.hpp"

namespace ondrel::texts {

// Stays on the empty video area for an hour, or until a file is opened.
inline constexpr TextPair drop_hint{"Drop a video here or press Ctrl+O to open — F1: help",
                                    "Glissez une vidéo ici ou Ctrl+O pour ouvrir — F1 : aide"};

inline constexpr TextPair always_on_top_on{"Always on top: on",
                                           "Toujours au premier plan : activé"};
inline constexpr TextPair always_on_top_off{"Always on top: off",
                                            "Toujours au premier plan : désactivé"};

inline constexpr TextPair multi_instance_on{
    "Multi-instance on: each video opens in a new window",
    "Multi-instance activé : chaque vidéo s'ouvre dans une nouvelle fenêtre"};
inline constexpr TextPair multi_instance_off{
    "Multi-instance off: videos open in this window",
    "Multi-instance désactivé : les vidéos s'ouvrent dans cette fenêtre"};

// The caption of the start-up error box, the same in both languages.
inline constexpr std::string_view program_name = "Ondrel";

} // namespace ondrel::texts
