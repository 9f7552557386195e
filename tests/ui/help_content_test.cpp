#include "support/scoped_language.hpp"
#include "ui/help_content.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::ScopedLanguage;

TEST(HelpRows, EighteenRowsInOrderWithTheirIcons) {
    ScopedLanguage english(Language::English);
    const std::vector<HelpRow> rows = help_rows(false);
    const char16_t icons[] = {0xE8E5, 0xE768, 0xEB9E, 0xEB9D, 0, 0,      0, 0xE8D6, 0xE7F0,
                              0xE740, 0xE897, 0,      0,      0, 0xE718, 0, 0,      0};
    ASSERT_EQ(rows.size(), std::size(icons));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].icon, i == 5 ? char16_t{0xE995} : icons[i]) << i;
    }
    EXPECT_EQ(rows.front(),
              (HelpRow{0xE8E5, "Open a file", "Ctrl+O · drag and drop · right-click"}));
    EXPECT_EQ(rows[2].keys, "← 5 s · Shift+← 1 s · Ctrl+← 60 s");
    EXPECT_EQ(rows.back(), (HelpRow{0, "About", "right-click"}));
}

TEST(HelpRows, FrenchTextsAndTheMultiInstanceState) {
    struct Case {
        Language language;
        bool on;
        const char* keys;
    };
    const Case cases[] = {
        {Language::English, false, "I  (currently: off)"},
        {Language::English, true, "I  (currently: on)"},
        {Language::French, false, "I  (actuellement : désactivé)"},
        {Language::French, true, "I  (actuellement : activé)"},
    };
    for (const Case& c : cases) {
        ScopedLanguage guard(c.language);
        const std::vector<HelpRow> rows = help_rows(c.on);
        EXPECT_EQ(rows[13].label, "Multi-instance");
        EXPECT_EQ(rows[13].keys, c.keys);
    }
    ScopedLanguage french(Language::French);
    const std::vector<HelpRow> rows = help_rows(false);
    EXPECT_EQ(rows[2], (HelpRow{0xEB9E, "Reculer de 10 s", "← 5 s · Maj+← 1 s · Ctrl+← 60 s"}));
    EXPECT_EQ(rows[16].keys, "clic droit → Langue / Language");
}

TEST(HelpTexts, TitleAndFootersInBothLanguages) {
    {
        ScopedLanguage english(Language::English);
        EXPECT_EQ(help_title(), "Help — Ondrel 1.8.0");
        EXPECT_EQ(help_footer_remembered(),
                  "Each video's playback position and the volume are remembered automatically.");
        EXPECT_EQ(help_footer_close(), "Esc, F1 or click to close");
    }
    ScopedLanguage french(Language::French);
    EXPECT_EQ(help_title(), "Aide — Ondrel 1.8.0");
    EXPECT_EQ(help_footer_remembered(), "La position de lecture de chaque vidéo et le volume sont "
                                        "mémorisés automatiquement.");
    EXPECT_EQ(help_footer_close(), "Échap, F1 ou clic pour fermer");
}

TEST(HelpGeometry, CentredWithHalvesTowardZero) {
    EXPECT_EQ(help_overlay_rect(120, HelpRect{0, 0, 0, 0}), (HelpRect{-437, -436, 438, 436}));
}

// The pieces at 96 DPI are checked by their pixels on screen; here at 144 DPI.
TEST(HelpGeometry, PiecesAt144Dpi) {
    const HelpLayout large = help_layout(144, 1048, 18);
    EXPECT_EQ(large.title, (HelpRect{33, 21, 1015, 72}));
    EXPECT_EQ(large.label_left, 33 + 54);
    EXPECT_EQ(large.keys_left, 33 + 375);
    EXPECT_EQ(large.separator, (HelpRect{33, 84 + 45 * 18 + 18, 1015, 84 + 45 * 18 + 19}));
    EXPECT_EQ(large.second_footer.bottom, 84 + 45 * 18 + 18 + 15 + 90);
}

} // namespace
} // namespace ondrel
