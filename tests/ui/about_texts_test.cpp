#include "ui/about_texts.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

namespace about = texts::about;

struct LanguageScope {
    Language saved = current_language();
    explicit LanguageScope(Language language) { store_language(language); }
    ~LanguageScope() { store_language(saved); }
};

TEST(AboutTexts, LicenceRowsNameTheHostsAndTheOwnerInEachLanguage) {
    struct Case {
        Language language;
        std::array<std::pair<std::string, std::string>, 5> rows;
    } cases[] = {
        {Language::English,
         {{{"Ondrel", "© 2026 the Ondrel authors"},
           {"libmpv (mpv 0.41, built-in FFmpeg)", "GPL v2 or later — mpv.io"},
           {"ffmpeg and ffprobe (separate executables)", "GPL v3 — ffmpeg.org"},
           {"Vulkan loader (vulkan-1.dll)", "Apache-2.0 and MIT — Khronos, LunarG"},
           {"Built in: GCC, MinGW-w64, nlohmann/json", "GPL v3 + GCC exception, ZPL 2.1, MIT"}}}},
        {Language::French,
         {{{"Ondrel", "© 2026 les auteurs d'Ondrel"},
           {"libmpv (mpv 0.41, FFmpeg intégré)", "GPL v2 ou ultérieure — mpv.io"},
           {"ffmpeg et ffprobe (exécutables à part)", "GPL v3 — ffmpeg.org"},
           {"Chargeur Vulkan (vulkan-1.dll)", "Apache-2.0 et MIT — Khronos, LunarG"},
           {"Intégrés : GCC, MinGW-w64, nlohmann/json", "GPL v3 + exception GCC, ZPL 2.1, MIT"}}}},
    };
    for (const Case& c : cases) {
        const LanguageScope scope(c.language);
        const auto rows = about::licence_rows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].left, c.rows[i].first) << i;
            EXPECT_EQ(rows[i].right, c.rows[i].second) << i;
        }
    }
}

} // namespace
} // namespace ondrel
