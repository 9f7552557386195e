// Texts of the help overlay: one label and one keys text per action, the title and footers.
#pragma once

#include "i18n/glyphs.hpp"
#include "i18n/language.hpp"
#include "ondrel_version.hpp"

#include <cstddef>
#include <string_view>

namespace ondrel::texts {

inline constexpr std::string_view program_version = ONDREL_VERSION_TEXT;

inline constexpr TextPair help_title{"Help — {name} {version}", "Aide — {name} {version}"};
inline constexpr TextPair help_footer_remembered{
    "Each video's playback position and the volume are remembered automatically.",
    "La position de lecture de chaque vidéo et le volume sont mémorisés automatiquement."};
inline constexpr TextPair help_footer_close{"Esc, F1 or click to close",
                                            "Échap, F1 ou clic pour fermer"};

inline constexpr TextPair help_currently{"{keys}  (currently: {state})",
                                         "{keys}  (actuellement : {state})"};
inline constexpr TextPair help_state_on{"on", "activé"};
inline constexpr TextPair help_state_off{"off", "désactivé"};

// One row of the overlay: an optional icon glyph (0 for none), the action and
// the ways to do it.
struct HelpRowText {
    char16_t icon;
    TextPair label;
    TextPair keys;
};

inline constexpr HelpRowText help_rows[] = {
    {glyph::open_file,
     {"Open a file", "Ouvrir un fichier"},
     {"Ctrl+O · drag and drop · right-click", "Ctrl+O · glisser-déposer · clic droit"}},
    {glyph::play,
     {"Play / Pause", "Lecture / Pause"},
     {"Space · K · click on the video", "Espace · K · clic sur la vidéo"}},
    {glyph::back_10,
     {"Back 10 s", "Reculer de 10 s"},
     {"← 5 s · Shift+← 1 s · Ctrl+← 60 s", "← 5 s · Maj+← 1 s · Ctrl+← 60 s"}},
    {glyph::forward_30,
     {"Forward 10 s", "Avancer de 10 s"},
     {"→ 5 s · Shift+→ 1 s · Ctrl+→ 60 s", "→ 5 s · Maj+→ 1 s · Ctrl+→ 60 s"}},
    {0,
     {"Progress bar", "Barre de progression"},
     {"click or drag · Home = back to start", "clic ou glisser · Début = retour au début"}},
    {glyph::volume_3, {"Mute", "Muet"}, {"M", "M"}},
    {0,
     {"Volume", "Volume"},
     {"↑ / ↓ · wheel (direction set by right-click) · slider",
      "↑ / ↓ · molette (sens réglable, clic droit) · curseur"}},
    {glyph::audio,
     {"Audio track", "Piste audio"},
     {"A (next) · button or right-click: list", "A (suivante) · bouton ou clic droit : liste"}},
    {glyph::subtitles,
     {"Subtitles", "Sous-titres"},
     {"S (next / off) · drop a .srt file", "S (suivant / désactivés) · glisser un .srt"}},
    {glyph::full_screen,
     {"Full screen", "Plein écran"},
     {"F · F11 · Enter · double-click · Esc exits", "F · F11 · Entrée · double-clic · Échap sort"}},
    {glyph::help, {"This help", "Cette aide"}, {"F1", "F1"}},
    {0,
     {"Frame by frame", "Image par image"},
     {", (previous) · . (next)", ", (précédente) · . (suivante)"}},
    {0,
     {"Speed", "Vitesse"},
     {"+ faster · - slower · = normal", "+ plus vite · - moins vite · = normale"}},
    {0, {"Multi-instance", "Multi-instance"}, {"I", "I"}},
    {glyph::pin,
     {"Always on top", "Toujours au premier plan"},
     {"T · pin button · right-click", "T · bouton épingle · clic droit"}},
    {0,
     {"Video compression", "Compression vidéo"},
     {"C · right-click — in the background while playing",
      "C · clic droit — en tâche de fond pendant la lecture"}},
    {0,
     {"Language", "Langue"},
     {"right-click → Langue / Language", "clic droit → Langue / Language"}},
    {0, {"About", "À propos"}, {"right-click", "clic droit"}},
};

// The row whose keys text carries the current multi-instance state.
inline constexpr std::size_t help_multi_instance_row = 13;

} // namespace ondrel::texts
