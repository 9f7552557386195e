// Every text of the About window, English first. Each text lives here once; the layout only
// picks them up.
#pragma once

#include "i18n/glyphs.hpp"
#include "i18n/language.hpp"
#include "ondrel_version.hpp"

#include <array>
#include <string>
#include <string_view>

namespace ondrel::texts::about {

// Window text and header title.
inline constexpr TextPair title{"About Ondrel", "À propos de Ondrel"};

inline constexpr std::string_view product_name = "Ondrel";
inline constexpr std::string_view version = "v" ONDREL_VERSION_TEXT;

inline constexpr TextPair tagline{
    "An ultra-fast video player written in C++20 on native Win32, playing through libmpv and "
    "compressing through FFmpeg.",
    "Un lecteur vidéo ultra-rapide écrit en C++20 sur Win32 natif, qui lit avec libmpv et "
    "compresse avec FFmpeg."};

// Also the right-hand text of the program's own licence row.
inline constexpr TextPair ownership{"© 2026 the Ondrel authors", "© 2026 les auteurs d'Ondrel"};
inline constexpr TextPair rights_reserved{"All rights reserved.", "Tous droits réservés."};

// The program's own site. The reserved .example name stands in until the site has its
// address; it can never lead to somebody else's page.
inline constexpr TextPair site_link{"Website", "Site web"};
inline constexpr std::string_view site_address = "https://ondrel.example/";

inline constexpr TextPair warning_title{"⚠  Experimental software, under development",
                                        "⚠  Logiciel expérimental, en cours de développement"};
inline constexpr TextPair warning_text{
    "It is intended neither for production nor for safety-critical use. You use it at your own "
    "risk: no warranty is given, either that it works or that what it shows or exports is "
    "correct. Check any value before making an engineering decision from it.",
    "Il n'est destiné ni à un environnement de production, ni à un usage critique. Son "
    "utilisation se fait aux risques de l'utilisateur : aucune garantie n'est donnée, ni sur son "
    "fonctionnement, ni sur l'exactitude de ce qu'il affiche ou exporte. Vérifiez toute valeur "
    "avant d'en tirer une décision technique."};

inline constexpr std::string_view licences_heading = "Licences";
inline constexpr TextPair shipped_heading{"Shipped with the application",
                                          "Livré avec l'application"};

inline constexpr std::string_view mpv_host = "mpv.io";
inline constexpr std::string_view ffmpeg_host = "ffmpeg.org";

// One row of the licence table: the component and the licence it comes under.
struct LicenceRow {
    std::string left;
    std::string right;
};

inline constexpr TextPair libmpv_component{"libmpv (mpv 0.41, built-in FFmpeg)",
                                           "libmpv (mpv 0.41, FFmpeg intégré)"};
inline constexpr TextPair libmpv_licence{"GPL v2 or later", "GPL v2 ou ultérieure"};
inline constexpr TextPair ffmpeg_component{"ffmpeg and ffprobe (separate executables)",
                                           "ffmpeg et ffprobe (exécutables à part)"};
inline constexpr std::string_view ffmpeg_licence = "GPL v3";
inline constexpr TextPair vulkan_component{"Vulkan loader (vulkan-1.dll)",
                                           "Chargeur Vulkan (vulkan-1.dll)"};
inline constexpr TextPair vulkan_licence{"Apache-2.0 and MIT — Khronos, LunarG",
                                         "Apache-2.0 et MIT — Khronos, LunarG"};
// What the static link puts inside Ondrel.exe: the GCC runtime (libstdc++, libgcc), the
// MinGW-w64 runtime with winpthreads, and the header-only JSON parser.
inline constexpr TextPair built_in_component{"Built in: GCC, MinGW-w64, nlohmann/json",
                                             "Intégrés : GCC, MinGW-w64, nlohmann/json"};
inline constexpr TextPair built_in_licence{"GPL v3 + GCC exception, ZPL 2.1, MIT",
                                           "GPL v3 + exception GCC, ZPL 2.1, MIT"};

// The rows in the current language, in the order they are shown.
inline std::array<LicenceRow, 5> licence_rows() {
    const std::string dash = " — ";
    return {{
        {std::string(product_name), std::string(tr(ownership))},
        {std::string(tr(libmpv_component)),
         std::string(tr(libmpv_licence)) + dash + std::string(mpv_host)},
        {std::string(tr(ffmpeg_component)),
         std::string(ffmpeg_licence) + dash + std::string(ffmpeg_host)},
        {std::string(tr(vulkan_component)), std::string(tr(vulkan_licence))},
        {std::string(tr(built_in_component)), std::string(tr(built_in_licence))},
    }};
}

inline constexpr TextPair licence_footnote{
    "The full text of each licence travels with the component it covers, in the installation "
    "folder.",
    "Le texte intégral de chaque licence accompagne le composant concerné, dans le dossier "
    "d'installation."};

// The companion product shown in the picture of the promotional block. Its page sits on the
// program's own site.
inline constexpr TextPair companion_text{
    "Tessel, from the same authors, records your screen in a few clicks and keeps the video "
    "small enough to share.",
    "Tessel, des mêmes auteurs, enregistre votre écran en quelques clics et garde la vidéo assez "
    "légère pour la partager."};
inline constexpr TextPair companion_link{"Discover Tessel", "Découvrir Tessel"};
inline constexpr std::string_view companion_address = "https://ondrel.example/tessel";

inline constexpr TextPair dont_show{"Don't show at startup", "Ne plus afficher au démarrage"};
inline constexpr TextPair close{"Close", "Fermer"};

// Icon glyphs: the header's information sign, the close cross, the check mark.
inline constexpr wchar_t info_glyph_text[] = {glyph::info, L'\0'};
inline constexpr wchar_t close_glyph_text[] = {glyph::close, L'\0'};
inline constexpr wchar_t check_glyph_text[] = {glyph::check_mark, L'\0'};
inline constexpr std::wstring_view info_glyph{info_glyph_text, 1};
inline constexpr std::wstring_view close_glyph{close_glyph_text, 1};
inline constexpr std::wstring_view check_glyph{check_glyph_text, 1};

} // namespace ondrel::texts::about
