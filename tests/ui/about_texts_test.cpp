// The About window's texts in both languages, written out.
#include "support/language_guard.hpp"
#include "ui/about_texts.hpp"

#include <array>
#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

TEST(AboutTexts, BothLanguages) {
    namespace about = texts::about;
    const struct {
        TextPair text;
        std::string_view english;
        std::string_view french;
    } rows[] = {
        {about::title, "About Ondrel", "À propos de Ondrel"},
        {about::warning_title, "⚠  Experimental software, under development",
         "⚠  Logiciel expérimental, en cours de développement"},
        {about::warning_text,
         "It is intended neither for production nor for safety-critical use. You use it at your "
         "own risk: no warranty is given, either that it works or that what it shows or exports "
         "is correct. Check any value before making an engineering decision from it.",
         "Il n'est destiné ni à un environnement de production, ni à un usage critique. Son "
         "utilisation se fait aux risques de l'utilisateur : aucune garantie n'est donnée, ni sur "
         "son fonctionnement, ni sur l'exactitude de ce qu'il affiche ou exporte. Vérifiez toute "
         "valeur avant d'en tirer une décision technique."},
        {about::shipped_heading, "Shipped with the application", "Livré avec l'application"},
        {about::licence_footnote,
         "The full text of each licence travels with the component it covers, in the "
         "installation folder.",
         "Le texte intégral de chaque licence accompagne le composant concerné, dans le dossier "
         "d'installation."},
        {about::dont_show, "Don't show at startup", "Ne plus afficher au démarrage"},
        {about::close, "Close", "Fermer"},
    };
    const LanguageGuard guard;
    for (const auto& row : rows) {
        store_language(Language::English);
        EXPECT_EQ(tr(row.text), row.english);
        store_language(Language::French);
        EXPECT_EQ(tr(row.text), row.french);
    }
    EXPECT_EQ(about::version, "v1.8.0");
    EXPECT_EQ(about::licences_heading, "Licences");

    const std::array<std::array<std::string_view, 4>, 4> licence_rows{{
        {"libmpv (mpv 0.41, built-in FFmpeg)", "GPL v2 or later — mpv.io",
         "libmpv (mpv 0.41, FFmpeg intégré)", "GPL v2 ou ultérieure — mpv.io"},
        {"ffmpeg and ffprobe (separate executables)", "GPL v3 — ffmpeg.org",
         "ffmpeg et ffprobe (exécutables à part)", "GPL v3 — ffmpeg.org"},
        {"Vulkan loader (vulkan-1.dll)", "Apache-2.0 and MIT — Khronos, LunarG",
         "Chargeur Vulkan (vulkan-1.dll)", "Apache-2.0 et MIT — Khronos, LunarG"},
        {"Built in: GCC, MinGW-w64, nlohmann/json", "GPL v3 + GCC exception, ZPL 2.1, MIT",
         "Intégrés : GCC, MinGW-w64, nlohmann/json", "GPL v3 + exception GCC, ZPL 2.1, MIT"},
    }};
    for (const bool french : {false, true}) {
        store_language(french ? Language::French : Language::English);
        const auto shown = about::licence_rows();
        EXPECT_EQ(shown[0].left, "Ondrel");
        EXPECT_EQ(shown[0].right, tr(about::ownership));
        for (std::size_t i = 0; i < licence_rows.size(); ++i) {
            EXPECT_EQ(shown[i + 1].left, licence_rows[i][french ? 2 : 0]) << i;
            EXPECT_EQ(shown[i + 1].right, licence_rows[i][french ? 3 : 1]) << i;
        }
    }
}

} // namespace
} // namespace ondrel
