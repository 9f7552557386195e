// Texts of the control bar: its tooltips and the compression progress it shows.
#pragma once

#include "i18n/language.hpp"

#include <array>

namespace ondrel::texts {

// One per button, by item id (0 Open ... 9 Help).
inline constexpr std::array<TextPair, 10> bar_tooltips{{
    {"Open a file (Ctrl+O)", "Ouvrir un fichier (Ctrl+O)"},
    {"Play / Pause (Space)", "Lecture / Pause (Espace)"},
    {"Back 10 s (← : 5 s)", "Reculer de 10 s (← : 5 s)"},
    {"Forward 10 s (→ : 5 s)", "Avancer de 10 s (→ : 5 s)"},
    {"Mute (M) — wheel or ↑/↓ for volume", "Muet (M) — molette ou ↑/↓ pour le volume"},
    {"Audio track (A: next)", "Piste audio (A : suivante)"},
    {"Subtitles (S: next / off)", "Sous-titres (S : suivant / désactiver)"},
    {"Always on top (T)", "Toujours au premier plan (T)"},
    {"Full screen (F, double-click) — Esc to exit",
     "Plein écran (F, double-clic) — Échap pour sortir"},
    {"Help (F1)", "Aide (F1)"},
}};

// Shown in the bar while a compression runs; a click opens the compression window.
inline constexpr TextPair bar_compressing{"Compressing {percent}%", "Compression {percent} %"};

// Shown in place of the times while nothing is open.
inline constexpr std::string_view bar_no_time = "—";

} // namespace ondrel::texts
