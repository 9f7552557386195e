#include "support/language_guard.hpp"
#include "ui/help_content.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

TEST(HelpRows, EighteenRowsInOrderWithTheirIcons) {
    LanguageGuard english(Language::English);
    const std::vector<HelpRow> rows = help_rows(false);
    const char16_t icons[] = {0xE8E5, 0xE768, 0xEB9E, 0xEB9D, 0, 0xE995, 0, 0xE8D6, 0xE7F0,
                              0xE740, 0xE897, 0,      0,      0, 0xE718, 0, 0,      0};
    ASSERT_EQ(rows.size(), std::size(icons));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].icon, icons[i]) << i;
    }
    EXPECT_EQ(rows.front(),
              (HelpRow{0xE8E5, "Open a file", "Ctrl+O · drag and drop · right-click"}));
    EXPECT_EQ(rows[2].keys, "← 5 s · Shift+← 1 s · Ctrl+← 60 s");
    EXPECT_EQ(rows.back(), (HelpRow{0, "About", "right-click"}));
}

TEST(HelpRows, MultiInstanceStateInBothLanguages) {
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
        LanguageGuard guard(c.language);
        const std::vector<HelpRow> rows = help_rows(c.on);
        EXPECT_EQ(rows[13].label, "Multi-instance");
        EXPECT_EQ(rows[13].keys, c.keys);
    }
}

TEST(HelpTexts, TitleNamesTheProgramAndItsVersion) {
    LanguageGuard english(Language::English);
    EXPECT_EQ(help_title(), "Help — Ondrel 1.8.0");
    LanguageGuard french(Language::French);
    EXPECT_EQ(help_title(), "Aide — Ondrel 1.8.0");
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
